#pragma once

#include <stdexcept>
#include <string>

namespace quorvex {

// Root of every failure Quorvex raises; the message is meant to be read by a person.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message)
        : std::runtime_error(message) {}
};

} // namespace quorvex
