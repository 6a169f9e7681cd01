#pragma once

#include <string>
#include <string_view>

namespace quorvex::platform {

// Inflates one raw deflate stream piece (no zlib or gzip wrapper), such as one chunk of a
// dictzip file, whose output is at most `maximumSize` bytes. Throws Exception when the bytes are
// not deflate data.
std::string InflateRaw(std::string_view compressed, std::size_t maximumSize);

} // namespace quorvex::platform
