#include "translate/Dictionary.h"

#include "http/PercentEncoding.h"
#include "platform/SystemError.h"
#include "platform/TextCodec.h"
#include "translate/MessagePump.h"
#include "translate/ServiceHosts.h"
#include "translate/WebClient.h"

#include <array>
#include <memory>
#include <string_view>

namespace quorvex {

namespace {

inline constexpr std::string_view kEntryMarker = "以上结果由";
inline constexpr std::string_view kEntryStartMarker = "<ol>";
inline constexpr std::string_view kEntryEndMarker = "<br>以上结果由";
inline constexpr std::string_view kNoEntryMarker = "未找到和您的关键词";
// Without "<ol>" the cut begins at the page's fourth character.
inline constexpr std::size_t kCharactersBeforeMissingStart = 3;

inline constexpr std::array<std::string_view, 22> kHeaderLines = {
    R"(<style type="text/css">)",
    "body{margin:1px 0 0 0;background-color:#fff;color:#000;}",
    "body,td,.p1,.p2,.i{font-family:arial}",
    ".ptitle {margin-top:3px; font-weight:bold}",
    ".pcixin {margin - top : 3px; color = #FF0000}",
    ".pexplain {margin-top:3px; margin-left:20px}",
    ".pnewword {margin-top:3px; margin-right:10px; font-size:12; color:#9d0006; "
    "font-weight:bold}",
    ".peng {margin-top:3px; margin-left:40px; font-size:16; color:#0000A0; font-weight:bold}",
    ".pchi {margin-top:3px; margin-left:40px; font-size:16; color:#800040}",
    "font.engi {color:#FF00FF; font-style:italic}",
    "font.chinese {font-weight:normal; font-size:24; color:#008080}",
    "#ft{clear:both;line-height:20px;background:#E6E6E6;text-align:center}",
    "#ft,#ft *{color:#77C;font-size:12px;font-family:Arial}",
    "#ft span{color:#666}",
    "body{margin-bottom:0}",
    "</style>",
    R"(<script language="javascript">)",
    "function ToggleDisplay(imgid,cnt)",
    "{",
    R"( showid = document.all("dropdownid");)",
    "}",
    "</script><body topmargin=0>",
};

// The byte offset just after the first `count` UTF-8 characters of `text`.
std::size_t SkipCharacters(std::string_view text, std::size_t count) {
    std::size_t offset = 0;
    while (count > 0 && offset < text.size()) {
        ++offset;
        while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
            ++offset;
        --count;
    }
    return offset;
}

std::string CutEntry(std::string_view page) {
    const std::size_t start = page.find(kEntryStartMarker);
    std::string_view rest = start == std::string_view::npos
                                ? page.substr(SkipCharacters(page, kCharactersBeforeMissingStart))
                                : page.substr(start + kEntryStartMarker.size());
    const std::size_t end = rest.find(kEntryEndMarker);
    return end == std::string_view::npos ? std::string() : std::string(rest.substr(0, end));
}

// The system's text for a socket failure. Other failures carry no system error, and the error
// number some unrelated call left behind would name a wrong cause: they tell their own.
std::string FailureText(const std::exception& failure) {
    if (const auto* socketFailure = dynamic_cast<const platform::ESocketError*>(&failure))
        return platform::SystemErrorText(socketFailure->Code());
    return failure.what();
}

} // namespace

std::string DictionaryQueryUrl(const std::string& searchHost, const std::string& word) {
    return "http://" + searchHost + "/s?ie=gb2312&wd=" + PercentEncode(platform::Utf8ToGbk(word)) +
           "&ct=1048576";
}

std::string DictionaryPageHeader(const std::string& searchHost) {
    std::string header = "<base href=http://" + searchHost + ">\r\n";
    for (std::string_view line : kHeaderLines) {
        header += line;
        header += "\r\n";
    }
    return header;
}

TDictionaryEntry CutDictionaryEntry(const std::string& page) {
    if (page.find(kEntryMarker) != std::string::npos)
        return {TDictionaryEntry::dkEntry, CutEntry(page)};
    if (page.find(kNoEntryMarker) != std::string::npos)
        return {TDictionaryEntry::dkNoEntry, kNoEntryText};
    return {TDictionaryEntry::dkError, kErrorText};
}

TDictionaryEntry FetchDictionaryEntry(const std::string& searchHost, const std::string& word) {
    auto client = std::make_unique<TWebClient>();
    auto pump = std::make_unique<TMessagePump>();
    pump->OnlyWhenIdle = false;
    const std::string url = DictionaryQueryUrl(searchHost, word);
    client->Request.Referer = url;
    client->Request.UserAgent = kUserAgentMSIE6;
    return CutDictionaryEntry(platform::GbkToUtf8(client->Get(url)));
}

std::string DictionaryPage(const std::string& searchHost, const std::string& text) {
    return DictionaryPageHeader(searchHost) + text;
}

TDictionaryEntry::TKind ShowDictionaryEntry(const std::string& searchHost, const std::string& word,
                                            TDictionaryPanel& panel) {
    TDictionaryEntry entry;
    try {
        entry = FetchDictionaryEntry(searchHost, word);
    } catch (const std::exception& failure) {
        entry = {TDictionaryEntry::dkFailure, kErrorText};
        panel.ShowMessage(FailureText(failure));
    }
    if (!entry.Text.empty())
        panel.ShowHtmlInPanel(platform::Utf8ToGbk(DictionaryPage(searchHost, entry.Text)));
    return entry.Kind;
}

void LookupDictionary(const std::string& word, TDictionaryPanel& panel) {
    ShowDictionaryEntry(ServiceHosts().Search, word, panel);
}

} // namespace quorvex
