#include "services/ServiceChain.h"

#include "services/ServiceCatalog.h"
#include "settings/Settings.h"
#include "translate/RequestLimit.h"

namespace quorvex::services {
namespace {

std::string Explanation(const std::vector<ServiceAttempt>& attempts) {
    if (attempts.empty())
        return "没有已设置好的翻译服务翻译这个语言对";
    std::string text;
    for (const ServiceAttempt& attempt : attempts)
        text += (text.empty() ? "" : "\n") + ServiceTitle(attempt.Service) + "：" + attempt.Reason;
    return text;
}

} // namespace

EChainFailure::EChainFailure(std::vector<ServiceAttempt> attempts)
    : ServiceFailure(Explanation(attempts))
    , attempts_(std::move(attempts)) {}

ServiceChain::ServiceChain(std::vector<std::unique_ptr<TranslationService>> services)
    : services_(std::move(services)) {}

std::string ServiceChain::Translate(const TLanguagePair& pair, const std::string& text) {
    std::vector<ServiceAttempt> attempts;
    for (const auto& service : services_) {
        if (!service->Serves(pair) || !service->Configured())
            continue;
        try {
            return service->Translate(pair, text);
        } catch (const ERequestAbandoned&) {
            throw; // the program ends: no further service is asked
        } catch (const Exception& failure) {
            attempts.push_back({service->Name(), failure.what()});
        }
    }
    throw EChainFailure(std::move(attempts));
}

std::vector<std::string> ServiceOrder() {
    return settings::ListValue("Services/Order", "QUORVEX_SERVICES", kDefaultServiceOrder);
}

ServiceChain ChainFromSettings() {
    std::vector<std::unique_ptr<TranslationService>> services;
    for (const std::string& name : ServiceOrder()) {
        if (const ServiceEntry* entry = FindService(name))
            services.push_back(entry->Create());
    }
    return ServiceChain(std::move(services));
}

} // namespace quorvex::services
