#include "platform/gui/WebBrowser.h"

#include "platform/Exception.h"

#include <QEventLoop>
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
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(view_, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
    Navigate("about:blank");
    timeout.start(kBlankDocumentTimeoutMs);
    while (!hasDocument_ && timeout.isActive())
        loop.exec();
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
