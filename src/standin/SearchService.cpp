#include "standin/SearchService.h"

#include "http/FormDecoding.h"
#include "platform/TextCodec.h"
#include "standin/Glossary.h"

#include <algorithm>
#include <cctype>

namespace quorvex {
namespace {

inline constexpr const char* kSearchPath = "/s";
inline constexpr const char* kPageStart =
    "<html><head><title>Quorvex stand-in search</title></head><body>";
inline constexpr const char* kPageEnd = "</body></html>\n";

bool IsAsciiLetterOrSpace(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == ' ';
}

bool IsNonAscii(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// A text of letters and spaces only, so it goes into the page without escaping.
bool IsPlainEnglish(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiLetterOrSpace);
}

bool IsPlainChinese(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsNonAscii);
}

// The meaning of `word` when every piece of it is in the glossary; empty otherwise.
std::string Meaning(const std::string& word) {
    if (IsPlainEnglish(word)) {
        const std::string chinese = EnglishToChinese(word);
        return std::all_of(chinese.begin(), chinese.end(),
                           [](char c) { return IsNonAscii(c) || c == ' '; })
                   ? chinese
                   : std::string();
    }
    if (IsPlainChinese(word)) {
        const std::string english = ChineseToEnglish(word);
        return IsPlainEnglish(english) ? english : std::string();
    }
    return {};
}

THttpResponse SearchRequest(const THttpRequest& request) {
    const auto fields = DecodeForm(request.Query());
    const auto word = fields.find("wd");
    if (word == fields.end())
        throw EBadRequest("the query has no wd key");
    THttpResponse response;
    response.ContentType = "text/html; charset=gb2312";
    response.Body = platform::Utf8ToGbk(SearchPage(platform::GbkToUtf8(word->second)));
    return response;
}

} // namespace

std::string SearchPage(const std::string& word) {
    const std::string meaning = Meaning(word);
    if (meaning.empty())
        return std::string(kPageStart) + "<p>未找到和您的关键词 " +
               (IsPlainEnglish(word) ? word : "") + " 相匹配的词典解释</p>" + kPageEnd;
    return std::string(kPageStart) + "<p>以上结果由 Quorvex 替身词典提供</p><ol>" +
           "<div class=ptitle>" + word + "</div><div class=pexplain>" + meaning + "</div>" +
           "<br>以上结果由 Quorvex 替身词典提供" + kPageEnd;
}

void AddSearchService(TRouter& router) {
    router.Add("GET", kSearchPath, SearchRequest);
}

} // namespace quorvex
