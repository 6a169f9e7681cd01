#include "services/OpenccService.h"

namespace quorvex::services {
namespace {

struct Direction {
    std::string_view PairCode;
    const char* Configuration;
};

constexpr Direction kToTraditional{"zh-CN|zh-TW", "s2twp.json"};
constexpr Direction kToSimplified{"zh-TW|zh-CN", "tw2sp.json"};

} // namespace

bool OpenccService::Serves(const TLanguagePair& pair) const {
    return pair.Code == kToTraditional.PairCode || pair.Code == kToSimplified.PairCode;
}

bool OpenccService::Configured() const {
    return platform::ChineseScriptConfigurationExists(kToTraditional.Configuration) &&
           platform::ChineseScriptConfigurationExists(kToSimplified.Configuration);
}

std::string OpenccService::Translate(const TLanguagePair& pair, const std::string& text) {
    if (!Serves(pair))
        throw ServiceFailure("只转换简体和繁体中文");
    const bool traditional = pair.Code == kToTraditional.PairCode;
    auto& converter = traditional ? toTraditional_ : toSimplified_;
    try {
        if (!converter)
            converter = std::make_unique<platform::ChineseScriptConverter>(
                (traditional ? kToTraditional : kToSimplified).Configuration);
        return converter->Convert(text);
    } catch (const Exception& failure) {
        throw ServiceFailure(failure.what());
    }
}

} // namespace quorvex::services
