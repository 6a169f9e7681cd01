#pragma once

#include "translate/LanguagePairs.h"

#include <optional>
#include <string>

namespace quorvex::services {

// The web services whose language codes differ from the pair table's.
enum class CodeSet { Google, LibreTranslate, Baidu };

// A pair in one service's codes.
struct ServiceLanguages {
    std::string Source;
    std::string Target;

    bool operator==(const ServiceLanguages&) const = default;
};

// The codes `set` uses for the source and target of `pair`; nothing when the service has no
// code for one of them.
std::optional<ServiceLanguages> LanguagesFor(CodeSet set, const TLanguagePair& pair);

} // namespace quorvex::services
