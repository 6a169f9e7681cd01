#pragma once

#include "support/Reply.h"

#include <QString>

class QWebEngineView;

namespace quorvex::test_support {

// How long a GUI test waits for the web engine (generous: it starts slowly on a busy machine).
inline constexpr Milliseconds kWebEngineWaitLimit{60000};

// The text the view's current page shows, read back from the web engine.
QString WebViewText(QWebEngineView& view);

} // namespace quorvex::test_support
