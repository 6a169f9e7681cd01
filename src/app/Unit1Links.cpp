// The main window's external links and its usage report.
#include "app/LinkLabel.h"
#include "app/Unit1.h"
#include "platform/Browser.h"
#include "platform/Clock.h"
#include "platform/Exception.h"
#include "platform/gui/WebBrowser.h"
#include "translate/ServiceHosts.h"

#include <QAction>

namespace quorvex {

namespace {

inline constexpr const char* kHelpPath = "/Quorvex/help.html";
inline constexpr const char* kReportPath = "/Quorvex/Quorvex.asp";
inline constexpr int kReportTickInterval = 1000;

} // namespace

void OpenInInternetExplorer(const std::string& url, bool /*visible*/) {
    platform::OpenInNewBrowserWindow(url);
}

std::string ReportURL(const std::string& siteHost, const std::string& version,
                      std::uint32_t tickCount) {
    return "http://" + siteHost + kReportPath + "?ver=" + version +
           "&r=" + std::to_string(tickCount);
}

void TForm1::WireLinks() {
    Label2->OnClick = [this] { Label2Click(); };
    Label3->OnClick = [this] { Label3Click(); };
    Label4->OnClick = [this] { Label4Click(); };
    connect(N3, &QAction::triggered, this, &TForm1::N3Click);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    WebBrowser1->OnDocumentComplete = [this](platform::TWebBrowser&, const QString&) {
        WebBrowser1DocumentComplete();
    };
}

std::string TForm1::SitePage(const std::string& path) const {
    if (SiteHost.empty())
        throw Exception("Quorvex 没有设置维护者网站（QUORVEX_SITE_HOST 为空），无法打开网页 "
                        "http://<网站>" +
                        path + "。");
    return "http://" + SiteHost + path;
}

void TForm1::Label2Click() {
    OpenInInternetExplorer("http://" + ServiceHosts().Translate + "/translate_t?hl=zh-CN", true);
}

void TForm1::Label3Click() {
    OpenInInternetExplorer(SitePage(kHelpPath), true);
}

void TForm1::Label4Click() {
    OpenInInternetExplorer("http://" + ServiceHosts().Dict + "/", true);
}

void TForm1::N3Click() {
    OpenInInternetExplorer(SitePage(kHelpPath), true);
}

void TForm1::Timer1Timer() {
    if (Timer1->Tag > kReportAgainAfter || Timer1->Tag == kFirstReportCount) {
        // Without a site there is nobody to report to; the count goes on all the same.
        if (!SiteHost.empty())
            WebBrowser1->Navigate(QString::fromStdString(
                ReportURL(SiteHost, Updater1->VersionNumber, platform::GetTickCount())));
        Timer1->Tag = 0;
    }
    Timer1->setInterval(kReportTickInterval);
    ++Timer1->Tag;
}

void TForm1::WebBrowser1DocumentComplete() {
    Timer1->Tag = 0;
}

} // namespace quorvex
