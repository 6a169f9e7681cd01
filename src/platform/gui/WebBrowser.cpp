#include "platform/gui/WebBrowser.h"

#include "platform/Exception.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWebEngineView>

namespace quorvex::platform {

namespace {
inline constexpr int kBlankDocumentTimeoutMs = 30000;

// A widget painted as the empty web view is: plain white.
QWidget* CreateStandIn(QWidget* parent) {
    auto* standIn = new QWidget(parent);
    QPalette palette = standIn->palette();
    palette.setColor(QPalette::Window, Qt::white);
    standIn->setPalette(palette);
    standIn->setAutoFillBackground(true);
    return standIn;
}

// Read when the web engine starts. Its zygote processes only serve the sandbox: without the
// sandbox (as when running as root) the renderer is started directly, two processes and some
// 70 MB fewer. Other process-model flags saved nothing here.
void AddProcessModelFlags() {
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const bool sandboxOff = qEnvironmentVariableIntValue("QTWEBENGINE_DISABLE_SANDBOX") != 0 ||
                            flags.contains("--no-sandbox");
    if (sandboxOff && !flags.contains("--no-zygote"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-zygote");
}
} // namespace

TWebBrowser::TWebBrowser(QWidget* parent)
    : QObject(parent)
    , standIn_(CreateStandIn(parent)) {}

QWidget& TWebBrowser::Widget() {
    return view_ != nullptr ? *static_cast<QWidget*>(view_) : *standIn_;
}

QWebEngineView& TWebBrowser::View() {
    if (view_ != nullptr)
        return *view_;
    AddProcessModelFlags();
    view_ = new QWebEngineView(standIn_->parentWidget());
    view_->setGeometry(standIn_->geometry());
    view_->stackUnder(standIn_);
    view_->setVisible(!standIn_->isHidden());
    connect(view_, &QWebEngineView::loadFinished, this, [this](bool) {
        hasDocument_ = true;
        if (OnDocumentComplete)
            OnDocumentComplete(*this, view_->url().toString());
    });
    delete standIn_;
    standIn_ = nullptr;
    return *view_;
}

void TWebBrowser::Navigate(const QString& url) {
    View().load(QUrl(url));
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
    View().setContent(QByteArray(html.data(), static_cast<qsizetype>(html.size())),
                      "text/html;charset=" + charset);
}

} // namespace quorvex::platform
