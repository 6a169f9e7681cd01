#include "services/GoogleService.h"

#include "http/FormEncoding.h"
#include "services/TextPieces.h"

#include <QJsonArray>

namespace quorvex::services {
namespace {

constexpr long kTooManyRequests = 429;
constexpr long kServiceUnavailable = 503;

// The endpoint answers 429 or 503, or an HTML page (a "sorry" page with a captcha), when it
// refuses this machine for a while.
void CheckRefusal(const HttpReply& reply) {
    if (reply.Status == kTooManyRequests || reply.Status == kServiceUnavailable ||
        reply.Body.starts_with('<'))
        throw ServiceFailure("暂时拒绝本机的请求（" + StatusText(reply.Status) +
                             "），请过一段时间再试，或换用其他服务");
    if (reply.Status != kHttpOk)
        throw ServiceFailure("回答了错误 " + StatusText(reply.Status));
}

// Element 0 of the reply is the list of segments; a segment's element 0 is its translation,
// or null for the transliteration segment.
std::string TranslationOf(const HttpReply& reply) {
    const QJsonDocument document = JsonOf(reply);
    const QJsonValue segments = document.array().at(0);
    if (!document.isArray() || !(segments.isArray() || segments.isNull()))
        throw ServiceFailure("回答无法识别：没有译文的段落");
    std::string translation;
    for (const QJsonValue segment : segments.toArray())
        if (const QJsonValue text = segment.toArray().at(0); text.isString())
            translation += text.toString().toStdString();
    return translation;
}

} // namespace

GoogleService::GoogleService(HttpTransport& transport)
    : WebService(transport, CodeSet::Google) {}

std::string GoogleService::Translate(const TLanguagePair& pair, const std::string& text) {
    const ServiceLanguages languages = Languages(pair);
    const std::string endpoint =
        BaseUrl("Google/Url", "QUORVEX_GOOGLE_URL", kGoogleDefaultUrl) + "/translate_a/single";
    std::string translation;
    for (const std::string& piece : SplitText(text, kGooglePieceCharacters))
        translation += TranslatePiece(endpoint, languages, piece);
    return translation;
}

std::string GoogleService::TranslatePiece(const std::string& endpoint,
                                          const ServiceLanguages& languages,
                                          const std::string& piece) {
    const std::string query = "client=gtx&sl=" + EncodeFormValue(languages.Source) +
                              "&tl=" + EncodeFormValue(languages.Target) +
                              "&dt=t&ie=UTF-8&oe=UTF-8&q=" + EncodeFormValue(piece);
    const HttpReply reply =
        query.size() > kGoogleLongestGetQuery
            ? transport_.Post(endpoint, "application/x-www-form-urlencoded", query)
            : transport_.Get(endpoint + "?" + query);
    CheckRefusal(reply);
    return TranslationOf(reply);
}

} // namespace quorvex::services
