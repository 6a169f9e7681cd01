#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>

class QWebEngineView;
class QWidget;

namespace quorvex::platform {

class TWebView;

// The web panel's browser: a thin wrapper over QWebEngineView offering what the program
// needs of an embedded browser: its current document, navigation, loading a whole page
// from bytes, and the document-complete event.
//
// The web engine (its libraries, a handful of processes and most of the program's memory) is
// loaded and started only when the panel first needs a page. Until then a plain white widget
// stands in the view's place, looking as the empty view does.
class TWebBrowser : public QObject {
    Q_OBJECT
public:
    explicit TWebBrowser(QWidget* parent);
    ~TWebBrowser() override;

    // Raised when a load ends (successfully or not), with the URL that was loaded.
    std::function<void(TWebBrowser& sender, const QString& url)> OnDocumentComplete;

    // True once a first load has produced a document.
    bool HasDocument() const { return hasDocument_; }
    // True once the web engine runs.
    bool Started() const { return webView_ != nullptr; }

    // Starts the web engine if it has not started yet.
    void Navigate(const QString& url);

    // Replaces the current document with `html`, given as bytes in `charset`. Without a
    // document yet, a blank one is loaded first and waited for, so the page is never lost.
    void LoadDocument(const std::string& html, const QString& charset);

    // The panel's widget: the stand-in before the engine starts, then the view, which takes
    // over its geometry, place among its siblings and visibility.
    QWidget& Widget();
    // The view, starting the web engine if it has not started yet.
    QWebEngineView& View();

private:
    TWebView& WebView();
    void WaitForDocument();

    QWidget* standIn_;
    QPointer<QWidget> view_;      // the engine's view, once started, while it lives
    TWebView* webView_ = nullptr; // goes with view_
    bool hasDocument_ = false;
};

} // namespace quorvex::platform
