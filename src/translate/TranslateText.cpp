#include "translate/TranslateText.h"

#include "translate/LanguagePairs.h"
#include "translate/MessagePump.h"
#include "translate/ServiceHosts.h"
#include "translate/WebClient.h"

#include <vector>

namespace quorvex {
namespace {

// Length of the UTF-8 sequence a lead byte starts; 0 for a byte that cannot lead one.
size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC0 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    return 0;
}

bool IsContinuationByte(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

std::string PostTranslationForm(const std::string& pairCaption, const std::string& sourceText) {
    std::vector<std::string> lines{
        "langpair=" + LanguageCodeForCaption(pairCaption),
        "text=" + sourceText,
        "hl=zh-CN",
        "ie=UTF8",
        "complete=1",
        "ewwindow=1",
        "oe=UTF8",
    };
    TMessagePump pump;
    pump.OnlyWhenIdle = false;
    TWebClient client; // released before the pump
    client.Request.ContentType = "application/x-www-form-urlencoded";
    client.Request.AcceptEncoding.clear();
    return client.Post("http://" + ServiceHosts().Translate + std::string(kTranslatePath), lines);
}

} // namespace

std::string DecodeUtf8Page(const std::string& body) {
    constexpr char kDefaultCharacter = '?';
    std::string text;
    text.reserve(body.size());
    for (size_t i = 0; i < body.size();) {
        size_t length = Utf8SequenceLength(static_cast<unsigned char>(body[i]));
        if (length == 0) {
            // A stray byte that starts nothing has no character; it becomes the default one.
            text += kDefaultCharacter;
            ++i;
            continue;
        }
        if (i + length > body.size())
            return {};
        for (size_t k = 1; k < length; ++k) {
            if (!IsContinuationByte(static_cast<unsigned char>(body[i + k])))
                return {};
        }
        text.append(body, i, length);
        i += length;
    }
    return text;
}

std::string ExtractTranslation(const std::string& page) {
    // 1-based positions, 0 for "not found", as the cut rule is written.
    const size_t startFound = page.find(kResultStartMarker);
    const size_t endFound = page.find(kResultEndMarker);
    const long long start =
        (startFound == std::string::npos ? 0 : static_cast<long long>(startFound) + 1) +
        static_cast<long long>(kResultStartMarker.size());
    const long long end = endFound == std::string::npos ? 0 : static_cast<long long>(endFound) + 1;
    const long long length = end - start;
    if (start > static_cast<long long>(page.size()) || length <= 0)
        return {};
    return page.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length));
}

void TranslateText(const std::string& pairCaption, const std::string& sourceText,
                   TStrings& resultLines) {
    try {
        std::string translation =
            ExtractTranslation(DecodeUtf8Page(PostTranslationForm(pairCaption, sourceText)));
        resultLines.Clear();
        resultLines.Add(translation);
    } catch (...) {
        // Every failure of the request ends as the line "Error" alone: an older translation left
        // above it would read as the answer to the new text.
        resultLines.Clear();
        resultLines.Add(std::string(kErrorLine));
    }
}

} // namespace quorvex
