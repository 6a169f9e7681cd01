#include "platform/gui/WebBrowser.h"

#include "platform/Exception.h"
#include "platform/gui/Installation.h"
#include "platform/gui/WebView.h"
#include "platform/gui/WebViewLoader.h"

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
// The web view module's factory, loaded at the first use.
CreateWebViewFunction WebViewFactory() {
    static const CreateWebViewFunction create = LoadWebViewModule(WebViewModulePath());
    return create;
}
} // namespace

TWebBrowser::TWebBrowser(QWidget* parent)
    : QObject(parent)
    , standIn_(CreateStandIn(parent)) {}

TWebBrowser::~TWebBrowser() {
    // The view may outlive this object among its parent's children.
    if (view_)
        webView_->OnLoadFinished = nullptr;
}

QWidget& TWebBrowser::Widget() {
    return view_ ? *view_ : *standIn_;
}

TWebView& TWebBrowser::WebView() {
    if (webView_ != nullptr)
        return *webView_;
    AddProcessModelFlags();
    webView_ = WebViewFactory()(standIn_->parentWidget());
    view_ = &webView_->Widget();
    view_->setGeometry(standIn_->geometry());
    view_->stackUnder(standIn_);
    view_->setVisible(!standIn_->isHidden());
    webView_->OnLoadFinished = [this] {
        hasDocument_ = true;
        if (OnDocumentComplete)
            OnDocumentComplete(*this, webView_->Url().toString());
    };
    delete standIn_;
    standIn_ = nullptr;
    return *webView_;
}

QWebEngineView& TWebBrowser::View() {
    // Only named here: the view was made by the module.
    return static_cast<QWebEngineView&>(WebView().Widget());
}

void TWebBrowser::Navigate(const QString& url) {
    WebView().Load(QUrl(url));
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
        throw Exception("网页面板在 " + std::to_string(kBlankDocumentTimeoutMs / 1000) +
                        " 秒内没有打开空白页。");
}

void TWebBrowser::LoadDocument(const std::string& html, const QString& charset) {
    if (!hasDocument_)
        WaitForDocument();
    WebView().SetContent(QByteArray(html.data(), static_cast<qsizetype>(html.size())),
                         "text/html;charset=" + charset);
}

} // namespace quorvex::platform
