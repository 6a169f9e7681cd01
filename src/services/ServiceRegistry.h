#pragma once

#include "services/HttpTransport.h"
#include "services/TranslationService.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex::services {

// The names of the services CreateService makes, in the chain's default order.
const std::vector<std::string>& ServiceNames();

// A new service of that name reaching the web through `transport`; ServiceFailure naming the
// known ones for any other name.
std::unique_ptr<TranslationService> CreateService(const std::string& name,
                                                  HttpTransport& transport);
// The same through the process's DefaultTransport().
std::unique_ptr<TranslationService> CreateService(const std::string& name);

} // namespace quorvex::services
