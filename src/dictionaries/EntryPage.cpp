#include "dictionaries/EntryPage.h"

#include "translate/Dictionary.h"
#include "translate/ServiceHosts.h"

#include <algorithm>

namespace quorvex::dictionaries {
namespace {

constexpr std::size_t kMostExamples = 3;

// The classic page header names no character set and the panel's pages are UTF-8 now: the
// declaration lies within the first 1024 bytes, where a browser looks for it. Latin text takes a
// font with every tone mark (WenQuanYi Micro Hei draws ǐ and ǎ blank); Chinese falls through to
// a Chinese one.
constexpr std::string_view kPageStart = R"(<meta charset="utf-8">
<style>
.qv{font-family:"DejaVu Sans","WenQuanYi Micro Hei","Noto Sans CJK SC",sans-serif;font-size:14px;margin:4px 8px;overflow-wrap:anywhere}
.qv-entry{margin-bottom:8px}
.qv-head{font-size:20px;font-weight:bold;color:#008080}
.qv-pron{margin-left:8px;font-size:15px;font-weight:normal;color:#800040}
.qv-pos{margin-top:3px;color:#9d0006;font-style:italic}
.qv-senses{margin:2px 0 0 0;padding-left:24px}
.qv-example{margin:2px 0 0 20px;color:#0000A0}
.qv-failures{margin:6px 0 0 0;padding-left:20px;color:#666}
</style>
<div class=qv>
)";

std::string Element(std::string_view tag, std::string_view htmlClass, std::string_view html) {
    return "<" + std::string(tag) + " class=" + std::string(htmlClass) + ">" + std::string(html) +
           "</" + std::string(tag) + ">";
}

std::string EntryHtml(const Entry& entry) {
    std::string head = HtmlEscaped(entry.Headword);
    if (!entry.Pronunciation.empty())
        head += Element("span", "qv-pron", HtmlEscaped(entry.Pronunciation));
    std::string html = Element("div", "qv-head", head);
    for (const SenseGroup& group : entry.Senses) {
        if (!group.PartOfSpeech.empty())
            html += Element("div", "qv-pos", HtmlEscaped(group.PartOfSpeech));
        std::string items;
        for (const std::string& meaning : group.Meanings)
            items += "<li>" + HtmlEscaped(meaning) + "</li>";
        if (!items.empty())
            html += Element("ol", "qv-senses", items);
    }
    const std::size_t examples = std::min(entry.Examples.size(), kMostExamples);
    for (std::size_t i = 0; i < examples; ++i)
        html += Element("div", "qv-example", HtmlEscaped(entry.Examples[i]));
    return Element("div", "qv-entry", html) + "\n";
}

std::string SourcesFooter(const std::vector<Entry>& entries) {
    std::vector<std::string> names;
    for (const Entry& entry : entries) {
        if (std::find(names.begin(), names.end(), entry.Source) == names.end())
            names.push_back(entry.Source);
    }
    std::string footer;
    for (const std::string& name : names)
        footer += (footer.empty() ? "" : " · ") + HtmlEscaped(name);
    return "<div id=ft>" + footer + "</div>\n";
}

std::string PageStart() {
    return DictionaryPageHeader(ServiceHosts().Search) + std::string(kPageStart);
}

} // namespace

std::string HtmlEscaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string EntriesPage(const std::vector<Entry>& entries) {
    std::string page = PageStart();
    for (const Entry& entry : entries)
        page += EntryHtml(entry);
    return page + "</div>\n" + SourcesFooter(entries);
}

std::string NoEntryPage(const std::vector<FailedSource>& failures) {
    std::string page = PageStart() + kNoEntryText + "\n";
    std::string items;
    for (const FailedSource& failure : failures)
        items +=
            "<li>" + HtmlEscaped(failure.Source) + ": " + HtmlEscaped(failure.Reason) + "</li>";
    if (!items.empty())
        page += Element("ul", "qv-failures", items) + "\n";
    return page + "</div>\n";
}

} // namespace quorvex::dictionaries
