#include "cli/ServiceCommands.h"

#include "cli/TranslateCommand.h"
#include "services/ServiceRegistry.h"

#include <iomanip>
#include <memory>
#include <ostream>

namespace quorvex {
namespace {

constexpr int kNameColumn = 16;
constexpr int kStateColumn = 16;

std::string ServedPairs(const services::TranslationService& service) {
    std::string codes;
    for (const TLanguagePair& pair : kLanguagePairs) {
        if (service.Serves(pair))
            codes += (codes.empty() ? "" : " ") + std::string(pair.Code);
    }
    return codes.empty() ? "-" : codes;
}

std::string Why(const services::TranslationService& service, const TLanguagePair* pair) {
    if (pair == nullptr)
        return "the pair is not one of the list";
    if (!service.Serves(*pair))
        return "it does not translate " + std::string(pair->Code);
    return "it is not configured or not installed";
}

} // namespace

void ListServices(std::ostream& out) {
    std::vector<std::string> names = services::ServiceNames();
    names.push_back(services::kClassicService);
    for (const std::string& name : names) {
        const auto service = services::CreateService(name);
        out << std::left << std::setw(kNameColumn) << name << std::setw(kStateColumn)
            << (service->Configured() ? "configured" : "not configured") << service->DisplayName()
            << "  " << ServedPairs(*service) << "\n";
    }
}

int TranslateWithService(const std::string& name, const std::string& caption,
                         const std::string& text, std::ostream& out, std::ostream& err) {
    std::unique_ptr<services::TranslationService> service;
    try {
        service = services::CreateService(name);
    } catch (const services::ServiceFailure& unknown) {
        err << "quorvex-translate: " << unknown.what() << "\n";
        return kExitBadUsage;
    }
    const TLanguagePair* pair = PairForCaption(caption);
    if (pair == nullptr || !service->Serves(*pair) || !service->Configured()) {
        err << "quorvex-translate: " << name << " cannot be asked: " << Why(*service, pair) << "\n";
        return kExitError;
    }
    try {
        out << service->Translate(*pair, text) << "\n";
        return kExitTranslated;
    } catch (const services::ServiceFailure& failure) {
        err << "quorvex-translate: " << service->DisplayName() << "：" << failure.what() << "\n";
        return kExitError;
    }
}

} // namespace quorvex
