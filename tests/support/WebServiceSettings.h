#pragma once

#include "support/ScopedEnvironment.h"
#include "support/TestCertificates.h"

#include <QTemporaryDir>

namespace quorvex::test_support {

// For one scope, every web translation service at `baseUrl` (Baidu with `baiduAppId` and
// `baiduKey`, LibreTranslate without a key), the test authority trusted, and an empty settings
// file of its own underneath.
class WebServiceSettings {
public:
    WebServiceSettings(const std::string& baseUrl, const std::string& baiduAppId,
                       const std::string& baiduKey)
        : google_("QUORVEX_GOOGLE_URL", baseUrl)
        , libreTranslate_("QUORVEX_LIBRETRANSLATE_URL", baseUrl)
        , baidu_("QUORVEX_BAIDU_URL", baseUrl)
        , baiduAppId_("QUORVEX_BAIDU_APPID", baiduAppId)
        , baiduKey_("QUORVEX_BAIDU_KEY", baiduKey) {}

private:
    QTemporaryDir home_;
    ScopedEnvironment config_{"XDG_CONFIG_HOME", home_.path().toStdString()};
    ScopedEnvironment trust_{"SSL_CERT_FILE", TestCertificateFiles().AuthorityFile};
    ScopedEnvironment libreTranslateKey_{"QUORVEX_LIBRETRANSLATE_KEY", std::nullopt};
    ScopedEnvironment google_;
    ScopedEnvironment libreTranslate_;
    ScopedEnvironment baidu_;
    ScopedEnvironment baiduAppId_;
    ScopedEnvironment baiduKey_;
};

} // namespace quorvex::test_support
