#pragma once

#include <string>

namespace quorvex::platform {

// Whether `path` is a program this machine runs: a whole ELF file of the same class, byte order
// and machine as the running program (its header tables lie inside the file), or a script that
// names its interpreter ("#!"). A text file, an HTML page, a cut-off program or a program for
// another machine is not.
bool IsRunnableHere(const std::string& path);

} // namespace quorvex::platform
