#include "cli/ServiceCommands.h"

#include "cli/TranslateCommand.h"
#include "services/ServiceCatalog.h"

#include <iomanip>
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
    for (const services::ServiceEntry& entry : services::ServiceCatalog()) {
        const auto service = entry.Create();
        out << std::left << std::setw(kNameColumn) << entry.Name << std::setw(kStateColumn)
            << (service->Configured() ? "configured" : "not configured") << entry.Title << "  "
            << ServedPairs(*service) << "\n";
    }
}

int TranslateWithService(const std::string& name, const std::string& caption,
                         const std::string& text, std::ostream& out, std::ostream& err) {
    const services::ServiceEntry* entry = services::FindService(name);
    if (entry == nullptr) {
        err << "quorvex-translate: there is no service '" << name
            << "'; 'quorvex-translate --services' lists them\n";
        return kExitBadUsage;
    }
    const auto service = entry->Create();
    const TLanguagePair* pair = PairForCaption(caption);
    if (pair == nullptr || !service->Serves(*pair) || !service->Configured()) {
        err << "quorvex-translate: " << name << " cannot be asked: " << Why(*service, pair) << "\n";
        return kExitError;
    }
    try {
        out << service->Translate(*pair, text) << "\n";
        return kExitTranslated;
    } catch (const services::ServiceFailure& failure) {
        err << "quorvex-translate: " << entry->Title << "：" << failure.what() << "\n";
        return kExitError;
    }
}

} // namespace quorvex
