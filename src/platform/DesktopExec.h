#pragma once

#include <string>
#include <vector>

namespace quorvex::platform {

// The argument vector (program first) of a desktop entry's Exec line for one URL: quoted
// arguments and their backslash escapes are read, %u %U %f %F become the URL, %% a percent sign,
// the other field codes go; without a file or URL field code the URL is added at the end.
// Empty for an Exec line that names no program or whose quotes do not close.
std::vector<std::string> ExecArguments(const std::string& execLine, const std::string& url);

} // namespace quorvex::platform
