#include "standin/TranslateService.h"

#include "http/FormDecoding.h"
#include "standin/Glossary.h"
#include "translate/TranslateText.h"

namespace quorvex {
namespace {

// Escapes what the page's HTML would otherwise read as markup; line breaks become <br>.
std::string ToHtml(const std::string& text) {
    std::string html;
    for (size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '\r':
            break;
        case '\n':
            html += "<br>";
            break;
        default:
            html += text[i];
        }
    }
    return html;
}

std::string Translate(const std::string& langpair, const std::string& text) {
    size_t bar = langpair.find('|');
    if (bar == std::string::npos || bar == 0 || bar + 1 == langpair.size())
        throw EBadRequest("the language pair \"" + langpair +
                          "\" is not of the form source|target");
    return TranslateWithGlossary(langpair.substr(0, bar), langpair.substr(bar + 1), text);
}

THttpResponse TranslateRequest(const THttpRequest& request) {
    const auto fields = DecodeForm(request.Body);
    auto text = fields.find("text");
    if (text == fields.end())
        throw EBadRequest("the form has no text field");
    auto langpair = fields.find("langpair");
    THttpResponse response;
    response.Body = TranslationPage(langpair == fields.end() ? "" : langpair->second, text->second);
    return response;
}

} // namespace

std::string TranslationPage(const std::string& langpair, const std::string& text) {
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
           "<title>Quorvex stand-in translation</title></head><body><table><tr><td>" +
           std::string(kResultStartMarker) + ToHtml(Translate(langpair, text)) +
           std::string(kResultEndMarker) +
           "<input type=submit value=\"Translate\"></td></tr>"
           "</table></body></html>\n";
}

void AddTranslateService(TRouter& router) {
    router.Add("POST", std::string(kTranslatePath), TranslateRequest);
}

} // namespace quorvex
