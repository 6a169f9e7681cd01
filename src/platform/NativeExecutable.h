#pragma once

#include <string>

namespace quorvex::platform {

// Whether `path` is an ELF program this machine runs: the same class, byte order and machine
// as the running program. A text file, an HTML page or a program for another machine is not.
bool IsNativeExecutable(const std::string& path);

} // namespace quorvex::platform
