// The web view module: the web engine's view behind the TWebView interface.
#include "platform/gui/WebView.h"
#include "quorvex/Version.h"

#include <QWebEngineView>

namespace quorvex::platform {
namespace {

// Lives as long as its view: a child of it.
class TEngineWebView : public QObject, public TWebView {
public:
    explicit TEngineWebView(QWidget* parent)
        : QObject()
        , view_(new QWebEngineView(parent)) {
        setParent(view_);
        connect(view_, &QWebEngineView::loadFinished, this, [this](bool) {
            if (OnLoadFinished)
                OnLoadFinished();
        });
    }

    QWidget& Widget() override { return *view_; }
    void Load(const QUrl& url) override { view_->load(url); }
    void SetContent(const QByteArray& data, const QString& mimeType) override {
        view_->setContent(data, mimeType);
    }
    QUrl Url() const override { return view_->url(); }

private:
    QWebEngineView* view_;
};

} // namespace
} // namespace quorvex::platform

extern "C" Q_DECL_EXPORT quorvex::platform::TWebView* QuorvexCreateWebView(QWidget* parent) {
    return new quorvex::platform::TEngineWebView(parent);
}

extern "C" Q_DECL_EXPORT const char* QuorvexWebViewVersion() {
    return quorvex::kProgramVersion;
}
