// The main window's start-up, placement and shutdown.
#include "app/Unit1.h"

#include "platform/InstanceLock.h"
#include "platform/TextCodec.h"
#include "platform/gui/Application.h"
#include "platform/gui/ClipboardWatch.h"
#include "platform/gui/X11Window.h"
#include "translate/ServiceHosts.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

namespace quorvex {

namespace {

inline constexpr int kClientWidth = 480;
inline constexpr int kWindowTop = 10;

} // namespace

bool HasNonAsciiChar(const std::string& text) {
    for (unsigned char byte : text)
        if (byte >= 127)
            return true;
    return false;
}

std::size_t AnsiLength(const std::string& text) {
    return platform::Utf8ToGbk(text).size();
}

int CentredLeft(int desktopWidth, int outerWidth) {
    return (desktopWidth - outerWidth) / 2;
}

TForm1::TForm1(TTranslationServices& services, bool startedWithArguments)
    : OnMessageBox([this](const std::string& text) { platform::ShowPlainMessage(text, this); })
    , SiteHost(ServiceHosts().Site)
    , services_(services) {
    CreateWindowFrame();
    CreateSettingsGroup();
    CreateTextGroups();
    CreateBottomRow();
    CreateWebPanel();
    CreateTimers();
    CreatePopupMenu();
    CreateTrayIcon();
    WireEvents();
    WireWindowBehaviours();
    CreateUpdater();
    WireLinks();
    FormCreate(startedWithArguments);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate(bool startedWithArguments) {
    instanceLock_ = std::make_unique<platform::TInstanceLock>(kInstanceName);
    if (instanceLock_->AlreadyExisted() && !startedWithArguments) {
        secondInstance_ = true;
        return;
    }
    if (!instanceLock_->AlreadyExisted())
        ListenForLaterStarts();
    PlaceWindow();
    SpeedButtonDownClick();
}

void TForm1::PlaceWindow() {
    // On the screen the person works on, not across the seam of two: the one under the
    // pointer, else the primary one; below a panel at its top.
    const QScreen* screen = QGuiApplication::screenAt(platform::CursorPos());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const QRect workArea = screen->availableGeometry();
    move(workArea.left() + CentredLeft(workArea.width(), frameGeometry().width()),
         workArea.top() + kWindowTop);
}

void TForm1::SetClientHeight(int height) {
    setFixedSize(kClientWidth, height);
}

void TForm1::SpeedButtonUPClick() {
    SetClientHeight(kCollapsedClientHeight);
}

void TForm1::SpeedButtonDownClick() {
    SetClientHeight(Panel1->height() + kCollapsedClientHeight + 1);
}

void TForm1::LeaveClipboardWatch() {
    ClipboardWatch->Unregister();
}

void TForm1::N1Click() {
    LeaveClipboardWatch();
    AbandonRequests();
    QCoreApplication::quit();
}

void TForm1::closeEvent(QCloseEvent* event) {
    LeaveClipboardWatch();
    AbandonRequests();
    QWidget::closeEvent(event);
    // A window hidden to the tray is not the last window closed, so the program ends here.
    if (event->isAccepted())
        QCoreApplication::quit();
}

void TForm1::changeEvent(QEvent* event) {
    // Qt reports a deactivation both when another window of this program and when another
    // application takes the focus; both end the typing state.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
    QWidget::changeEvent(event);
}

} // namespace quorvex
