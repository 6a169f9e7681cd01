#include "support/WebViewText.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quorvex::testing_support {

namespace {
inline constexpr int kPollIntervalMs = 10;
} // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPollIntervalMs);
        QThread::msleep(1);
    }
    return true;
}

QString WebViewText(QWebEngineView& view) {
    QString text;
    bool done = false;
    view.page()->toPlainText([&](const QString& result) {
        text = result;
        done = true;
    });
    WaitUntil([&] { return done; });
    return text;
}

} // namespace quorvex::testing_support
