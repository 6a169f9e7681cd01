#pragma once

#include "services/WebService.h"

namespace quorvex::services {

inline constexpr const char* kBaiduDefaultUrl = "https://fanyi-api.baidu.com";

// The sign of a Baidu Fanyi request: the lower-case hex MD5 of appid, text, salt and key
// written one after the other, over the text before it is URL-encoded.
std::string BaiduSign(const std::string& appId, const std::string& text, const std::string& salt,
                      const std::string& key);

// The official Baidu Fanyi general translation API, reachable from mainland China. Settings:
// Baidu/Url, Baidu/AppId, Baidu/Key.
class BaiduService : public WebService {
public:
    explicit BaiduService(HttpTransport& transport = DefaultTransport());

    std::string Name() const override { return "baidu"; }
    std::string DisplayName() const override { return "百度翻译"; }
    bool Configured() const override;
    std::string Translate(const TLanguagePair& pair, const std::string& text) override;
};

} // namespace quorvex::services
