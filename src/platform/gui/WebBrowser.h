#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QWebEngineView;
class QWidget;

namespace quorvex::platform {

// The web panel's browser: a thin wrapper over QWebEngineView offering what the program
// needs of an embedded browser: its current document, navigation, loading a whole page
// from bytes, and the document-complete event.
class TWebBrowser : public QObject {
    Q_OBJECT
public:
    explicit TWebBrowser(QWidget* parent);

    // Raised when a load ends (successfully or not), with the URL that was loaded.
    std::function<void(TWebBrowser& sender, const QString& url)> OnDocumentComplete;

    // True once a first load has produced a document.
    bool HasDocument() const { return hasDocument_; }

    void Navigate(const QString& url);

    // Replaces the current document with `html`, given as bytes in `charset`. Without a
    // document yet, a blank one is loaded first and waited for, so the page is never lost.
    void LoadDocument(const std::string& html, const QString& charset);

    QWebEngineView& View() { return *view_; }

private:
    void WaitForDocument();

    QWebEngineView* view_;
    bool hasDocument_ = false;
};

} // namespace quorvex::platform
