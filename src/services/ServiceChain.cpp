#include "services/ServiceChain.h"

#include "services/ServiceRegistry.h"
#include "settings/Settings.h"
#include "translate/RequestLimit.h"

namespace quorvex::services {
namespace {

// A name in the order that names no service: asked, it says so.
class UnknownService final : public TranslationService {
public:
    UnknownService(std::string name, std::string reason)
        : name_(std::move(name))
        , reason_(std::move(reason)) {}
    std::string Name() const override { return name_; }
    bool Serves(const TLanguagePair&) const override { return true; }
    bool Configured() const override { return true; }
    std::string Translate(const TLanguagePair&, const std::string&) override {
        throw ServiceFailure(reason_);
    }

private:
    std::string name_;
    std::string reason_;
};

std::string Explanation(const std::vector<ServiceAttempt>& attempts) {
    if (attempts.empty())
        return "没有已设置好的翻译服务翻译这个语言对";
    std::string text;
    for (const ServiceAttempt& attempt : attempts)
        text += (text.empty() ? "" : "\n") + attempt.Title + "：" + attempt.Reason;
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
            attempts.push_back({service->Name(), service->DisplayName(), failure.what()});
        }
    }
    throw EChainFailure(std::move(attempts));
}

std::vector<std::string> ServiceOrder() {
    return settings::ListValue("Services/Order", "QUORVEX_SERVICES", ServiceNames());
}

ServiceChain ChainFromSettings() {
    std::vector<std::unique_ptr<TranslationService>> services;
    for (const std::string& name : ServiceOrder()) {
        try {
            services.push_back(CreateService(name));
        } catch (const ServiceFailure& unknown) {
            services.push_back(std::make_unique<UnknownService>(name, unknown.what()));
        }
    }
    return ServiceChain(std::move(services));
}

} // namespace quorvex::services
