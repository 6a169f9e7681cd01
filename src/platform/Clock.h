#pragma once

#include <cstdint>

namespace quorvex::platform {

// Milliseconds since boot, wrapping at 2^32 like the tick count the components measure with.
std::uint32_t GetTickCount();

// Universal time minus local time, in minutes, as it stands now (daylight saving included).
int LocalTimeBiasMinutes();

} // namespace quorvex::platform
