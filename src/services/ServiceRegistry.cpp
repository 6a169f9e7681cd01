#include "services/ServiceRegistry.h"

#include "services/ApertiumService.h"
#include "services/BaiduService.h"
#include "services/ClassicService.h"
#include "services/GoogleService.h"
#include "services/LibreTranslateService.h"
#include "services/OpenccService.h"

namespace quorvex::services {

const std::vector<std::string>& ServiceNames() {
    static const std::vector<std::string> names{"opencc", "google", "libretranslate", "baidu",
                                                "apertium"};
    return names;
}

std::unique_ptr<TranslationService> CreateService(const std::string& name,
                                                  HttpTransport& transport) {
    if (name == "opencc")
        return std::make_unique<OpenccService>();
    if (name == "google")
        return std::make_unique<GoogleService>(transport);
    if (name == "libretranslate")
        return std::make_unique<LibreTranslateService>(transport);
    if (name == "baidu")
        return std::make_unique<BaiduService>(transport);
    if (name == "apertium")
        return std::make_unique<ApertiumService>();
    if (name == kClassicService)
        return std::make_unique<ClassicService>();
    std::string known = kClassicService;
    for (const std::string& each : ServiceNames())
        known += ", " + each;
    throw ServiceFailure("没有名为 " + name + " 的翻译服务（可用的有 " + known + "）");
}

std::unique_ptr<TranslationService> CreateService(const std::string& name) {
    return CreateService(name, DefaultTransport());
}

} // namespace quorvex::services
