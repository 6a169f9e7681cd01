#pragma once

#include <QString>
#include <functional>

class QWebEngineView;

namespace quorvex::testing_support {

inline constexpr int kGuiWaitTimeoutMs = 60000;

// Runs the event loop until `condition` holds; false when it still fails after the timeout.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kGuiWaitTimeoutMs);

// The text the view's current page shows, read back from the web engine.
QString WebViewText(QWebEngineView& view);

} // namespace quorvex::testing_support
