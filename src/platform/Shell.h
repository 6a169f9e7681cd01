#pragma once

#include <string>
#include <vector>

namespace quorvex::platform {

// The command line (the desktop entry's Exec line) of the default application for files with
// this extension (".html"), found through the MIME type and the XDG mimeapps.list files;
// empty when there is none.
std::string DefaultOpenCommand(const std::string& extension);

// The Exec line of the desktop entry that handles mimeType by default ("x-scheme-handler/http"),
// from the XDG mimeapps.list files; empty when there is none.
std::string DefaultHandlerExec(const std::string& mimeType);

// Starts program with one argument, detached; false when it cannot be started.
bool StartProgram(const std::string& program, const std::string& argument);

// Starts arguments[0] with the rest as its arguments, detached and without a shell; false when
// it cannot be started.
bool StartArguments(const std::vector<std::string>& arguments);

// Hands url to the desktop's opener (xdg-open); false when it cannot be started.
bool OpenWithDesktop(const std::string& url);

// Whether a network interface that is up and not loopback has an address.
bool HasNonLoopbackAddress();

} // namespace quorvex::platform
