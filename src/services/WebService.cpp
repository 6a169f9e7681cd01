#include "services/WebService.h"

#include "settings/Settings.h"

#include <QJsonParseError>

namespace quorvex::services {

WebService::WebService(HttpTransport& transport, CodeSet codes)
    : transport_(transport)
    , codes_(codes) {}

bool WebService::Serves(const TLanguagePair& pair) const {
    return LanguagesFor(codes_, pair).has_value();
}

ServiceLanguages WebService::Languages(const TLanguagePair& pair) const {
    std::optional<ServiceLanguages> languages = LanguagesFor(codes_, pair);
    if (!languages)
        throw ServiceFailure("不提供 " + std::string(pair.Caption) + " 的翻译");
    return *languages;
}

std::string WebService::BaseUrl(const std::string& key, const char* override,
                                const std::string& fallback) {
    std::string url = settings::Value(key, override, fallback);
    while (url.ends_with('/'))
        url.pop_back();
    return url;
}

std::string StatusText(long status) {
    return "HTTP " + std::to_string(status);
}

QJsonDocument JsonOf(const HttpReply& reply) {
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(reply.Body), &error);
    if (error.error != QJsonParseError::NoError)
        throw ServiceFailure("回答无法识别（" + StatusText(reply.Status) + "，不是 JSON：" +
                             error.errorString().toStdString() + "）");
    return document;
}

} // namespace quorvex::services
