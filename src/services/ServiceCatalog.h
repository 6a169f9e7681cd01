#pragma once

#include "services/TranslationService.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::services {

// One service the program can build: its name in the settings and on the command line, its
// title for a person (Chinese, as the window speaks), and how to make it.
struct ServiceEntry {
    std::string_view Name;
    std::string_view Title;
    std::unique_ptr<TranslationService> (*Create)();
};

// Every service the program has. Each service adds its entry in ServiceCatalog.cpp.
const std::vector<ServiceEntry>& ServiceCatalog();

// The entry called `name`; nullptr when there is none.
const ServiceEntry* FindService(std::string_view name);

// The title of the service called `name`, or the name itself when the catalog has none.
std::string ServiceTitle(std::string_view name);

} // namespace quorvex::services
