#pragma once

#include "platform/Exception.h"

#include <string>

namespace quorvex::platform {

class EBrowserError : public Exception {
public:
    using Exception::Exception;
};

// Opens url in a new window of the user's default browser: the default handler of http URLs
// from the XDG mimeapps.list files, started from its desktop entry's Exec line with an argument
// vector (never through a shell), else xdg-open. EBrowserError when neither can be started.
void OpenInNewBrowserWindow(const std::string& url);

} // namespace quorvex::platform
