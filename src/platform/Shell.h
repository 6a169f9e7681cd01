#pragma once

#include <string>

namespace quorvex::platform {

// The command line (the desktop entry's Exec line) of the default application for files with
// this extension (".html"), found through the MIME type and the XDG mimeapps.list files;
// empty when there is none.
std::string DefaultOpenCommand(const std::string& extension);

// Starts program with one argument, detached; false when it cannot be started.
bool StartProgram(const std::string& program, const std::string& argument);

// Hands url to the desktop's opener (xdg-open); false when it cannot be started.
bool OpenWithDesktop(const std::string& url);

// Whether a network interface that is up and not loopback has an address.
bool HasNonLoopbackAddress();

} // namespace quorvex::platform
