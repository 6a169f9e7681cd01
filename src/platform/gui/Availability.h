#pragma once

#include <functional>

namespace quorvex::platform {

// Stores whether something is available now and, when that differs from before, tells
// `onChange`.
inline void SetAvailability(bool& available, bool now, const std::function<void(bool)>& onChange) {
    if (now == available)
        return;
    available = now;
    if (onChange)
        onChange(now);
}

} // namespace quorvex::platform
