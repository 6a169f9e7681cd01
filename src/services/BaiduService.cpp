#include "services/BaiduService.h"

#include "http/FormEncoding.h"
#include "platform/Crypto.h"
#include "settings/Settings.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QVariant>
#include <array>
#include <random>
#include <string_view>

namespace quorvex::services {
namespace {

// The code Baidu adds to some successful replies.
constexpr std::string_view kSuccessCode = "52000";

struct ErrorHint {
    std::string_view Code;
    std::string_view Hint;
};

// What a person can do about the errors a wrong setting or account causes.
constexpr std::array<ErrorHint, 6> kErrorHints{{
    {"52003", "检查 App ID（Baidu/AppId）"},
    {"54001", "签名不对：检查密钥（Baidu/Key）"},
    {"54003", "请求太频繁，请稍后再试"},
    {"54004", "账户余额不足"},
    {"58000", "本机的 IP 地址不在该账户允许的列表中"},
    {"58001", "不支持这个翻译方向"},
}};

std::string AppId() {
    return settings::Value("Baidu/AppId", "QUORVEX_BAIDU_APPID");
}

std::string Key() {
    return settings::Value("Baidu/Key", "QUORVEX_BAIDU_KEY");
}

std::string NewSalt() {
    std::random_device random;
    return std::to_string(random());
}

[[noreturn]] void FailWithCode(const QJsonObject& answer, long status) {
    // The code comes as a string or as a number, depending on the error.
    const std::string code = answer.value("error_code").toVariant().toString().toStdString();
    std::string reason =
        "回答错误 " + code + "：" + answer.value("error_msg").toString().toStdString();
    for (const ErrorHint& hint : kErrorHints)
        if (hint.Code == code)
            reason += "（" + std::string(hint.Hint) + "）";
    if (status != kHttpOk)
        reason += "（" + StatusText(status) + "）";
    throw ServiceFailure(reason);
}

// One result per line of the text, joined as the lines were.
std::string TranslationOf(const QJsonObject& answer) {
    const QJsonValue results = answer.value("trans_result");
    if (!results.isArray())
        throw ServiceFailure("回答无法识别：没有 trans_result");
    std::string translation;
    for (const QJsonValue result : results.toArray())
        translation += result.toObject().value("dst").toString().toStdString() + "\n";
    if (!translation.empty())
        translation.pop_back();
    return translation;
}

} // namespace

std::string BaiduSign(const std::string& appId, const std::string& text, const std::string& salt,
                      const std::string& key) {
    return platform::Md5Hex(appId + text + salt + key);
}

BaiduService::BaiduService(HttpTransport& transport)
    : WebService(transport, CodeSet::Baidu) {}

bool BaiduService::Configured() const {
    return !AppId().empty() && !Key().empty();
}

std::string BaiduService::Translate(const TLanguagePair& pair, const std::string& text) {
    const std::string appId = AppId();
    const std::string key = Key();
    if (appId.empty() || key.empty())
        throw ServiceFailure("没有设置 App ID 和密钥（Baidu/AppId、Baidu/Key）");
    const ServiceLanguages languages = Languages(pair);
    const std::string salt = NewSalt();
    const std::string form = "q=" + EncodeFormValue(text) + "&from=" + languages.Source +
                             "&to=" + languages.Target + "&appid=" + EncodeFormValue(appId) +
                             "&salt=" + salt + "&sign=" + BaiduSign(appId, text, salt, key);
    const HttpReply reply = transport_.Post(
        BaseUrl("Baidu/Url", "QUORVEX_BAIDU_URL", kBaiduDefaultUrl) + "/api/trans/vip/translate",
        "application/x-www-form-urlencoded", form);
    const QJsonObject answer =
        QJsonDocument::fromJson(QByteArray::fromStdString(reply.Body)).object();
    if (answer.contains("error_code") &&
        answer.value("error_code").toVariant().toString().toStdString() != kSuccessCode)
        FailWithCode(answer, reply.Status);
    if (reply.Status != kHttpOk)
        throw ServiceFailure("回答了错误 " + StatusText(reply.Status));
    return TranslationOf(answer);
}

} // namespace quorvex::services
