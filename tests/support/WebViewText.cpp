#include "support/WebViewText.h"

#include "support/Pumping.h"

#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

namespace quorvex::test_support {

QString WebViewText(QWebEngineView& view) {
    // Shared with the callback, which may still come after a wait that gave up.
    struct Answer {
        QString text;
        bool done = false;
    };
    const auto answer = std::make_shared<Answer>();
    view.page()->toPlainText([answer](const QString& result) {
        answer->text = result;
        answer->done = true;
    });
    PumpUntil([&] { return answer->done; }, kWebEngineWaitLimit);
    return answer->text;
}

} // namespace quorvex::test_support
