#pragma once

#include <QString>

namespace quorvex::platform {

// Where the web view module is: beside the program in the build folder, else in the
// installation's module folder (lib/quorvex/ beside the program's bin/).
QString WebViewModulePath();

// True when the program runs from an installation (`cmake --install`, the Debian package)
// rather than from its build folder. An installation is updated by whoever installed it (the
// package manager), never by the program itself.
bool RunsFromInstallation();

} // namespace quorvex::platform
