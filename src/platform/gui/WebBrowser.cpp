#include "platform/gui/WebBrowser.h"

#include "platform/Exception.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <qpa/qplatformbackingstore.h>

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

// Qt re-creates a window made for plain painting once a view that renders through OpenGL
// joins it, which a user sees as the window vanishing and coming back. So the window's native
// window is made OpenGL-capable before it is first mapped; it paints without OpenGL until the
// view comes. Called when the window is polished on its first show: its native window exists
// then and is not mapped yet, and the widget still counts as hidden, so the native window can
// go without hiding the widget.
void MakeWindowReadyForView(QWidget& window) {
    QWindow* handle = window.windowHandle();
    if (handle == nullptr || handle->isVisible() ||
        handle->surfaceType() == QSurface::OpenGLSurface)
        return;
    handle->destroy(); // never mapped: nothing shows; mapping creates the new one
    handle->setSurfaceType(QSurface::OpenGLSurface);
}

} // namespace

TWebBrowser::TWebBrowser(QWidget* parent)
    : QObject(parent)
    , standIn_(CreateStandIn(parent)) {
    parent->window()->installEventFilter(this);
}

bool TWebBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Polish && watched == Widget().window())
        MakeWindowReadyForView(*Widget().window());
    return false;
}

QWidget& TWebBrowser::Widget() {
    return view_ != nullptr ? *static_cast<QWidget*>(view_) : *standIn_;
}

QWebEngineView& TWebBrowser::View() {
    if (view_ != nullptr)
        return *view_;
    // The window composites through OpenGL from now on; with its native window ready for it
    // (MakeWindowReadyForView), the view joins it without re-creating it.
    // A window not created yet picks that itself when it is created.
    if (QBackingStore* store = standIn_->window()->backingStore()) {
        store->handle()->setRhiConfig(
            QPlatformBackingStoreRhiConfig(QPlatformBackingStoreRhiConfig::OpenGL));
    }
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
