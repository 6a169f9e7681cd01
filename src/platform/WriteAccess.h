#pragma once

#include <string>

namespace quorvex::platform {

enum class WriteAccess {
    Granted, // the file opened for writing
    Busy,    // it is the image of a running program (ETXTBSY)
    Refused, // any other failure: missing, no permission, read-only file system...
};

// Opens the existing file `path` for writing and closes it again at once.
WriteAccess ProbeWriteAccess(const std::string& path);

} // namespace quorvex::platform
