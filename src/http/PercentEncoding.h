#pragma once

#include <string>
#include <string_view>

namespace quorvex {

// The transfer component's encoding of a URL's extra information: control bytes, bytes from
// 128 on and space # % * + < > become %XX (upper-case digits); every other byte stays as it is.
// Unlike the form encoding, "?", "=", "&" and "/" pass, so a whole query can go through it.
std::string PercentEncode(std::string_view Text);

// A path as CrackURL decoded it, escaped again for the request line: every byte a URL path
// cannot carry as it stands (blanks, "%", "?", "#", bytes from 128 on, ...) becomes %XX.
std::string EncodeURLPath(std::string_view Path);

} // namespace quorvex
