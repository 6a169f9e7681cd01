#pragma once

#include "platform/gui/WebView.h"

#include <QString>

namespace quorvex::platform {

// Loads the web view module at `path` (it stays loaded) and returns its factory. Throws
// Exception when the module cannot be loaded or was built for another version of the program:
// after an update that stopped half-way, the two halves of the program must not run together.
CreateWebViewFunction LoadWebViewModule(const QString& path);

} // namespace quorvex::platform
