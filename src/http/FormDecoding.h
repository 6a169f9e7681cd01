#pragma once

#include <map>
#include <string>
#include <string_view>

namespace quorvex {

// The fields of a URL-encoded form ("a=1&b=x+y"): "+" is a space, "%HH" a byte; a later field
// of the same name wins. Raises EBadRequest for a broken "%" sequence.
std::map<std::string, std::string> DecodeForm(std::string_view body);

// One decoded form value.
std::string DecodeFormValue(std::string_view value);

} // namespace quorvex
