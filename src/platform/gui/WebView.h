#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace quorvex::platform {

// The web view as the web panel's browser uses it. It comes from the web view module, the only
// part that links the web engine: the module is loaded when the panel first needs a page, so
// a start with nothing to show neither loads nor relocates the engine's libraries.
class TWebView {
public:
    virtual ~TWebView() = default;

    // The view itself (a QWebEngineView), owned by its parent widget; this object goes with it.
    virtual QWidget& Widget() = 0;
    virtual void Load(const QUrl& url) = 0;
    virtual void SetContent(const QByteArray& data, const QString& mimeType) = 0;
    virtual QUrl Url() const = 0;

    // Raised when a load ends, successfully or not.
    std::function<void()> OnLoadFinished;
};

// The module's one entry: a new view, a child of `parent`.
using CreateWebViewFunction = TWebView* (*)(QWidget* parent);
inline constexpr const char* kCreateWebViewSymbol = "QuorvexCreateWebView";
// The version of the release the module belongs to: a module is used only by the program of the
// same version (an upgrade cut short must not pair a new program with an old module).
using WebViewVersionFunction = const char* (*)();
inline constexpr const char* kWebViewVersionSymbol = "QuorvexWebViewVersion";
// The module's file, beside the program.
inline constexpr const char* kWebViewModuleFile = "quorvex-webview.so";

} // namespace quorvex::platform
