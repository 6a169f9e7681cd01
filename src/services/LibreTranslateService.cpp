#include "services/LibreTranslateService.h"

#include "settings/Settings.h"

#include <QJsonObject>

namespace quorvex::services {
namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

LibreTranslateService::LibreTranslateService(HttpTransport& transport)
    : WebService(transport, CodeSet::LibreTranslate) {}

bool LibreTranslateService::Configured() const {
    return !BaseUrl("LibreTranslate/Url", "QUORVEX_LIBRETRANSLATE_URL").empty();
}

std::string LibreTranslateService::Translate(const TLanguagePair& pair, const std::string& text) {
    const std::string url = BaseUrl("LibreTranslate/Url", "QUORVEX_LIBRETRANSLATE_URL");
    if (url.empty())
        throw ServiceFailure("没有设置服务器地址（LibreTranslate/Url）");
    const ServiceLanguages languages = Languages(pair);
    QJsonObject request{{"q", Text(text)},
                        {"source", Text(languages.Source)},
                        {"target", Text(languages.Target)},
                        {"format", "text"}};
    if (const std::string key = settings::Value("LibreTranslate/Key", "QUORVEX_LIBRETRANSLATE_KEY");
        !key.empty())
        request.insert("api_key", Text(key));
    const HttpReply reply =
        transport_.Post(url + "/translate", "application/json",
                        QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString());
    // A failing server may answer with no JSON at all (a proxy's error page): the status says it.
    const QJsonObject answer =
        QJsonDocument::fromJson(QByteArray::fromStdString(reply.Body)).object();
    if (const QJsonValue error = answer.value("error"); error.isString())
        throw ServiceFailure("服务器回答：" + error.toString().toStdString() + "（" +
                             StatusText(reply.Status) + "）");
    if (reply.Status != kHttpOk)
        throw ServiceFailure("服务器回答了错误 " + StatusText(reply.Status));
    const QJsonValue translation = answer.value("translatedText");
    if (!translation.isString())
        throw ServiceFailure("服务器的回答无法识别：没有 translatedText");
    return translation.toString().toStdString();
}

} // namespace quorvex::services
