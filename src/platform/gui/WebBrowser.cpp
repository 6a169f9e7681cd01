#include "platform/gui/WebBrowser.h"

#include "platform/Exception.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWebEngineView>

namespace quorvex::platform {

namespace {
inline constexpr int kBlankDocumentTimeoutMs = 30000;
} // namespace

TWebBrowser::TWebBrowser(QWidget* parent)
    : QObject(parent)
    , view_(new QWebEngineView(parent)) {
    connect(view_, &QWebEngineView::loadFinished, this, [this](bool) {
        hasDocument_ = true;
        if (OnDocumentComplete)
            OnDocumentComplete(*this, view_->url().toString());
    });
}

void TWebBrowser::Navigate(const QString& url) {
    view_->load(QUrl(url));
}

void TWebBrowser::WaitForDocument() {
    bool timedOut = false;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &timeout, [&timedOut] { timedOut = true; });
    Navigate("about:blank");
    timeout.start(kBlankDocumentTimeoutMs);
    // Events are handled here directly: a nested QEventLoop returns at once, without handling
    // anything, once the application has been told to quit, and the wait would never end.
    while (!hasDocument_ && !timedOut)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!hasDocument_)
        throw Exception("The web panel did not open a blank page within " +
                        std::to_string(kBlankDocumentTimeoutMs / 1000) + " seconds");
}

void TWebBrowser::LoadDocument(const std::string& html, const QString& charset) {
    if (!hasDocument_)
        WaitForDocument();
    view_->setContent(QByteArray(html.data(), static_cast<qsizetype>(html.size())),
                      "text/html;charset=" + charset);
}

} // namespace quorvex::platform
