// A web view module left from another version of the program, as a swap that stopped half-way
// leaves it: it has the module's entry points, and another version.
#include "platform/gui/WebView.h"

extern "C" Q_DECL_EXPORT quorvex::platform::TWebView* QuorvexCreateWebView(QWidget*) {
    return nullptr;
}

extern "C" Q_DECL_EXPORT const char* QuorvexWebViewVersion() {
    return "0.0.0.1";
}
