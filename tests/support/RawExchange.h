#pragma once

#include <cstdint>
#include <string>

namespace quorvex::test_support {

// Sends `request` as it is to 127.0.0.1:`port` and returns all the server sends until it closes.
std::string ExchangeRaw(uint16_t port, const std::string& request);

} // namespace quorvex::test_support
