#include "support/WebViewText.h"

#include "support/Pumping.h"

#include <QWebEnginePage>
#include <QWebEngineView>

namespace quorvex::test_support {

QString WebViewText(QWebEngineView& view) {
    QString text;
    bool done = false;
    view.page()->toPlainText([&](const QString& result) {
        text = result;
        done = true;
    });
    PumpUntil([&] { return done; }, kWebEngineWaitLimit);
    return text;
}

} // namespace quorvex::test_support
