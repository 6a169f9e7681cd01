#pragma once

#include "app/TranslationServices.h"
#include "translate/Dictionary.h"
#include "upgrader/upUpdater.h"

#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QEnterEvent;
class QMenu;
class QMoveEvent;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QToolButton;

namespace quorvex {

namespace platform {
class TClipboardWatch;
class TInstanceLock;
class TPopupMenu;
class TWebBrowser;
} // namespace platform

class TDockStrip;
class TSlideUp;
class TTrayIcon;

inline constexpr const char* kApplicationTitle = "Virovedezori";
inline constexpr const char* kInstanceName = "Quorvex";
// The longest a translation or a lookup may wait before it ends as "Error", so that a person can
// always go on. The reply pages are a few dozen kilobytes, seconds even over a dial-up line;
// whoever has waited half a minute has given up on the answer and wants the window back.
inline constexpr std::chrono::milliseconds kRequestTimeLimit{30000};

// A timer with the integer tag its handlers keep their count in.
class TTimer : public QTimer {
public:
    using QTimer::QTimer;
    int Tag = 0;
};

// The main window: the source and result boxes, the language pairs, the translate button and
// the web panel. It translates on a click, on Enter and on every text copied to the clipboard.
class TForm1 : public QWidget, public TDictionaryPanel {
    Q_OBJECT
public:
    // A start with command-line arguments always runs, even beside a running instance.
    TForm1(TTranslationServices& services, bool startedWithArguments);
    ~TForm1() override;

    // True when FormCreate found another instance: the program must end at once.
    bool SecondInstance() const { return secondInstance_; }

    // Where the dictionary lookup's plain message boxes go; a real box unless replaced.
    std::function<void(const std::string& text)> OnMessageBox;

    void ShowHtmlInPanel(const std::string& html) override;
    void ShowMessage(const std::string& text) override;

    // Handlers, named after the control and the event.
    void Button1Click();
    void CheckBox1Click();
    void Memo1Change();
    bool Memo1KeyPress(const QKeyEvent& key);
    void Memo1DblClick();
    void Memo2DblClick();
    void Memo1MouseMove();
    void Memo2MouseMove();
    void TmrInputingTimer();
    void Timer2Timer();
    void WMDrawClipboard();
    void FormDeactivate();
    void SpeedButtonUPClick();
    void SpeedButtonDownClick();
    void N1Click();
    void TrackBar1Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void tmrMouseOutTimer();
    void MouseLeaveProc();
    void MouseEnterProc();
    void FormPaint();
    void N2Click();
    void TrayIcon1DblClick();
    // The window moving handler: where a proposed outer rectangle may go (never above the
    // screen's top edge).
    QRect WMMoving(QRect proposed) const;

    // The outer window's top edge on the screen.
    int Top() const;
    void SetTop(int top);
    // The edge the window docks at: the top of its screen's work area (below a top panel).
    int DockTop() const;

    // External links and the usage report (Unit1Links.cpp).
    void Label2Click();
    void Label3Click();
    void Label4Click();
    void N3Click();
    void Timer1Timer();
    void WebBrowser1DocumentComplete();
    // The maker's web site ("host" or "host:port"); empty: there is none, so nothing is
    // reported, checked or opened there.
    std::string SiteHost;
    // Keeps the program up to date from the maker's site (Unit1Updater.cpp).
    std::unique_ptr<TupUpdater> Updater1;

    // The typing state: while it lasts, clipboard changes are not taken into the source box.
    bool Inputing = false;
    // How long each request of the window may wait for its answer.
    std::chrono::milliseconds RequestTimeLimit = kRequestTimeLimit;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QPushButton* Button1;
    QCheckBox* CheckBox1;
    QSlider* TrackBar1;
    QGroupBox* GroupBox2;
    QPlainTextEdit* Memo1;
    QGroupBox* GroupBox3;
    QPlainTextEdit* Memo2;
    QToolButton* SpeedButtonUP;
    QToolButton* SpeedButtonDown;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label3;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QFrame* Panel1;
    platform::TWebBrowser* WebBrowser1;
    TTimer* Timer1;
    TTimer* Timer2;
    TTimer* tmrMouseOut;
    TTimer* TmrInputing;
    platform::TPopupMenu* PopupMenu1;
    QAction* N2;
    QAction* N3;
    QAction* N4;
    QAction* N1;
    platform::TClipboardWatch* ClipboardWatch;
    TTrayIcon* TrayIcon1;
    TSlideUp* SlideUp;
    TDockStrip* DockStrip;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateWindowFrame();
    void CreateSettingsGroup();
    void CreateTextGroups();
    void CreateBottomRow();
    void CreateWebPanel();
    void CreateTimers();
    void CreatePopupMenu();
    void WireEvents();
    void CreateTrayIcon();
    void WireWindowBehaviours();
    void WireLinks();
    void CreateUpdater();
    std::string SitePage(const std::string& path) const;
    void FormCreate(bool startedWithArguments);
    void PlaceWindow();
    void SetClientHeight(int height);
    void HideUnlessSlidAway();
    void RunTranslation();
    void RunLimited(const std::function<void()>& request) const;
    void AbandonRequests();
    void LeaveClipboardWatch();
    void TakeClipboardText(const std::string& text);
    std::string SourceText() const;

    TTranslationServices& services_;
    std::unique_ptr<platform::TInstanceLock> instanceLock_;
    bool secondInstance_ = false;
    bool translating_ = false;
    bool triggerPending_ = false;
    bool programWrite_ = false;
    bool closing_ = false;
};

// The program's own icon, for the window and the tray.
QIcon ProgramIcon();

// Opens url in a new window of the user's default browser. Such a window is always shown, so
// visible has no counterpart; a failure goes to the caller.
void OpenInInternetExplorer(const std::string& url, bool visible);

// The usage report's address on the maker's site: version and tick count, neither encoded.
std::string ReportURL(const std::string& siteHost, const std::string& version,
                      std::uint32_t tickCount);

// True when any byte of `text` is 127 or more; false for an empty text.
bool HasNonAsciiChar(const std::string& text);

// The length of `text` in the ANSI code page (GBK): a Chinese character counts 2.
std::size_t AnsiLength(const std::string& text);

// The left edge that centres a window of `outerWidth` on a desktop of `desktopWidth`.
int CentredLeft(int desktopWidth, int outerWidth);

// Where a window of `outerWidth` starts: centred near the top of a screen's `workArea`.
QPoint TopCentre(const QRect& workArea, int outerWidth);

} // namespace quorvex
