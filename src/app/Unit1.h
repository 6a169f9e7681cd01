#pragma once

#include "app/TranslationServices.h"
#include "translate/Dictionary.h"
#include "upgrader/upUpdater.h"

#include <QPointer>
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
class TLinkLabel;
class TSlideUp;
class TTrayIcon;

inline constexpr const char* kApplicationTitle = "Virovedezori";
inline constexpr const char* kInstanceName = "Quorvex";
// How long a second start waits for the running one to take its request to show the window.
inline constexpr std::chrono::milliseconds kShowRequestLimit{5000};
// The longest a translation or a lookup may wait before it ends as "Error", so that a person can
// always go on. The reply pages are a few dozen kilobytes, seconds even over a dial-up line;
// whoever has waited half a minute has given up on the answer and wants the window back.
inline constexpr std::chrono::milliseconds kRequestTimeLimit{30000};

// The client height with the web panel out of view (collapsed).
inline constexpr int kCollapsedClientHeight = 295;
// Rows of ComboBox1's pairs that typing chooses between.
inline constexpr int kPairEnglishToChinese = 0;
inline constexpr int kPairChineseToEnglish = 1;

// Timer1's Tag counts report ticks (one a second once running): it starts at
// kReportStartCount, the first report goes when it reaches kFirstReportCount (about five seconds
// after start) and every further one once it has passed kReportAgainAfter (about two minutes).
inline constexpr int kReportStartCount = -5;
inline constexpr int kFirstReportCount = -2;
inline constexpr int kReportAgainAfter = 120;

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
    void ShowUtf8HtmlInPanel(const std::string& html) override;
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
    // A window under the pointer is never above the docking edge.
    void KeepTitleBarOnScreen();
    void FormPaint();
    void N2Click();
    void TrayIcon1DblClick();
    // A language pair chosen in the list: the source text is translated again with it.
    void PairChosen();
    // The pause item was ticked or unticked: the clipboard watch pauses or goes on.
    void PauseClipboardClick();
    // Another start of the program asked for the window.
    void ShowOnRequest();
    // Esc: into the tray, when there is one.
    void HideToTray();
    // Opens the settings window, or brings the open one forward (Unit1Settings.cpp).
    void SettingsItemClick();
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

    QGroupBox* GroupBox1;               // "设置": the settings row at the top
    QLabel* Label1;                     // "FROM" before the pair list
    QComboBox* ComboBox1;               // the language pair to translate with
    QPushButton* Button1;               // "翻译/translate": the translate button
    QCheckBox* CheckBox1;               // "置顶": keeps the window above the others
    QSlider* TrackBar1;                 // the window's transparency (top end opaque)
    QGroupBox* GroupBox2;               // "原文" around the source box
    QPlainTextEdit* Memo1;              // the source box: the text to translate
    QGroupBox* GroupBox3;               // "译文" around the result box
    QPlainTextEdit* Memo2;              // the result box: the translation
    QToolButton* SpeedButtonUP;         // "∧": collapses the web panel
    QToolButton* SpeedButtonDown;       // "∨": expands the web panel
    TLinkLabel* Label2;                 // link to the translation service's own page
    TLinkLabel* Label4;                 // link to the dictionary site
    TLinkLabel* Label3;                 // link to the usage instructions on the maker's site
    QToolButton* SpeedButton1;          // "+": makes the web panel taller
    QToolButton* SpeedButton2;          // "-": makes the web panel shorter
    QFrame* Panel1;                     // the web panel below the boxes
    platform::TWebBrowser* WebBrowser1; // the web view in the panel: dictionary entries, report
    TTimer* Timer1;                     // the usage report's timer (Tag counts its ticks)
    TTimer* Timer2;                     // starts the clipboard watch 3 s after start, once
    TTimer* tmrMouseOut;                // watches for the pointer leaving a docked window
    TTimer* TmrInputing;                // counts ticks since the source text last changed
    platform::TPopupMenu* PopupMenu1;   // the tray menu (also the window's context menu)
    QAction* N2;                        // "显示/隐藏": shows or hides the window
    QAction* N3;                        // "检查新版本": the maker's page on new versions
    QAction* SettingsItem;              // "设置…": opens the settings window
    QAction* N4;                        // the menu's separator
    QAction* N1;                        // "退出(Exit)": ends the program
    QAction* PauseClipboardItem;        // "暂停剪贴板翻译": pauses the clipboard watch
    platform::TClipboardWatch* ClipboardWatch; // notices text copied in any program
    TTrayIcon* TrayIcon1;                      // the icon in the notification area
    TSlideUp* SlideUp;                         // slides a docked window up out of sight
    TDockStrip* DockStrip; // stands for a slid window where the window manager keeps it on screen

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
    // Runs a translation, or queues it after the one that waits; `byPerson` when the person
    // asked for it in the window (failures may then interrupt with a box).
    void Trigger(bool byPerson);
    void RunTranslation(bool byPerson);
    // A failure's reason where the window shows its state: the web panel.
    void ShowStatus(const std::string& text);
    void TakeDroppedText(const QString& text);
    void ListenForLaterStarts();
    void RunLimited(const std::function<void()>& request) const;
    void AbandonRequests();
    void LeaveClipboardWatch();
    void TakeClipboardText(const std::string& text);
    std::string SourceText() const;

    QPointer<QWidget> settingsWindow_;

    TTranslationServices& services_;
    std::unique_ptr<platform::TInstanceLock> instanceLock_;
    bool secondInstance_ = false;
    bool translating_ = false;
    bool triggerPending_ = false;
    bool pendingByPerson_ = false;
    bool runningByPerson_ = true;
    // The reason shown in the web panel for the running translation, GBK; empty: none.
    std::string status_;
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

} // namespace quorvex
