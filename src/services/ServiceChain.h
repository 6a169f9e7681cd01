#pragma once

#include "services/TranslationService.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex::services {

// One service the chain asked, and why it gave no translation.
struct ServiceAttempt {
    std::string Service; // its name
    std::string Title;   // its name for a person
    std::string Reason;
};

// No service of the chain translated: each one asked with its reason, in order (none when no
// service serves the pair and is configured). The message is one line per service, "title：reason".
class EChainFailure : public ServiceFailure {
public:
    explicit EChainFailure(std::vector<ServiceAttempt> attempts);
    const std::vector<ServiceAttempt>& Attempts() const { return attempts_; }

private:
    std::vector<ServiceAttempt> attempts_;
};

// Services in order of preference. A translation asks the first that serves the pair and is
// configured; when it fails, the next; the first translation wins.
class ServiceChain {
public:
    explicit ServiceChain(std::vector<std::unique_ptr<TranslationService>> services);

    // The translation; throws EChainFailure when no service gave one.
    std::string Translate(const TLanguagePair& pair, const std::string& text);

private:
    std::vector<std::unique_ptr<TranslationService>> services_;
};

// The names of Services/Order (QUORVEX_SERVICES overrides), else the default order.
std::vector<std::string> ServiceOrder();

// The chain of ServiceOrder(). A name the program has no service for stays in it as a service
// that always fails saying so, so a mistyped setting shows among the reasons.
ServiceChain ChainFromSettings();

} // namespace quorvex::services
