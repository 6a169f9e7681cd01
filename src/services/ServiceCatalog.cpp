#include "services/ServiceCatalog.h"

#include "services/ClassicService.h"

#include <algorithm>

namespace quorvex::services {
namespace {

template <typename Service> std::unique_ptr<TranslationService> Make() {
    return std::make_unique<Service>();
}

} // namespace

const std::vector<ServiceEntry>& ServiceCatalog() {
    static const std::vector<ServiceEntry> catalog{
        {"classic", "经典网页翻译", Make<ClassicService>},
    };
    return catalog;
}

const ServiceEntry* FindService(std::string_view name) {
    const auto& catalog = ServiceCatalog();
    const auto found = std::find_if(catalog.begin(), catalog.end(),
                                    [&](const ServiceEntry& entry) { return entry.Name == name; });
    return found == catalog.end() ? nullptr : &*found;
}

std::string ServiceTitle(std::string_view name) {
    const ServiceEntry* entry = FindService(name);
    return std::string(entry != nullptr ? entry->Title : name);
}

} // namespace quorvex::services
