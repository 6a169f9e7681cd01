#pragma once

#include "services/ClassicService.h"
#include "services/HttpTransport.h"
#include "services/TranslationService.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex::services {

// The names of the services of the chain, in its default order.
const std::vector<std::string>& ServiceNames();

// A new service of that name (one of ServiceNames(), or kClassicService) reaching the web
// through `transport`; ServiceFailure naming the known ones for any other name.
std::unique_ptr<TranslationService> CreateService(const std::string& name,
                                                  HttpTransport& transport);
// The same through the process's DefaultTransport().
std::unique_ptr<TranslationService> CreateService(const std::string& name);

} // namespace quorvex::services
