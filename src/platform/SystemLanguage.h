#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex::platform {

// A language as Windows numbers it: the primary language in the low 10 bits, the
// sub-language (the country or script) above them.
using TLangID = std::uint16_t;

inline constexpr TLangID MakeLangID(unsigned primary, unsigned sub) {
    return static_cast<TLangID>(primary | (sub << 10));
}

// The locale that decides the language of messages: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty; "C" when none is.
std::string MessagesLocaleName();

// The Windows language id of a locale name such as "zh_CN.UTF-8" or "pt_BR@euro". Chinese
// written in the simplified script (China, Singapore) is sub-language 2, in the traditional
// one sub-language 1 or the region's own; "C", "POSIX" and unknown languages give 0.
TLangID LangIDFromLocaleName(std::string_view name);

// The language id of the user's messages locale.
TLangID SystemDefaultLangID();

} // namespace quorvex::platform
