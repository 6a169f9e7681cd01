// How the main window behaves on screen: transparency, the web panel's height, docking at the
// top edge of the screen with the slide-up when the pointer leaves, and showing and hiding
// through the tray.
#include "app/DockStrip.h"
#include "app/SlideUp.h"
#include "app/Unit1.h"
#include "platform/gui/WebBrowser.h"
#include "platform/gui/X11Window.h"
#include "tray/TrayIcon.h"

#include <QAction>
#include <QFrame>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSlider>
#include <QTextCursor>
#include <QToolButton>
#include <algorithm>
#include <cstdint>

namespace quorvex {

namespace {

inline constexpr int kPanelStep = 10;
inline constexpr int kExpandedClientHeight = 296;
// Distances below the docking edge. A window whose top is at most this far down is docked
// and slides away.
inline constexpr int kDockedTopLimit = 5;
// Rows left on screen at the end of a slide, as a handle to bring the window back.
inline constexpr int kSlidHandleRows = 3;
inline constexpr int kSlideStartTop = 1;
// Where the tray's show/hide puts a window that has slid away.
inline constexpr int kShownAfterSlideTop = 4;
// How long the window manager gets to answer the slide's last step before the window is
// looked at: where it kept more rows on screen than asked, the window hides behind the strip.
inline constexpr int kWindowManagerAnswerMilliseconds = 300;

void AddToHeight(QWidget& widget, int amount) {
    widget.resize(widget.width(), std::max(widget.height() + amount, 0));
}

} // namespace

void TForm1::WireWindowBehaviours() {
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(tmrMouseOut, &QTimer::timeout, this, &TForm1::tmrMouseOutTimer);
    connect(N2, &QAction::triggered, this, &TForm1::N2Click);
    SlideUp = new TSlideUp(*this);
    SlideUp->OnFinished = [this] {
        QTimer::singleShot(kWindowManagerAnswerMilliseconds, this, &TForm1::HideUnlessSlidAway);
    };
    DockStrip = new TDockStrip(*this);
    DockStrip->OnPointerEnter = [this] {
        SetTop(DockTop());
        show();
        MouseEnterProc();
    };
}

int TForm1::DockTop() const {
    return screen()->availableGeometry().top();
}

int TForm1::Top() const {
    return frameGeometry().top();
}

void TForm1::SetTop(int top) {
    move(frameGeometry().left(), top);
}

void TForm1::TrackBar1Change() {
    const auto alphaBlendValue =
        static_cast<std::uint8_t>(TrackBar1->maximum() + TrackBar1->minimum() - TrackBar1->value());
    setWindowOpacity(alphaBlendValue / 255.0);
}

void TForm1::SpeedButton1Click() {
    // The window never grows taller than the screen's work area.
    const int step =
        std::min(kPanelStep, screen()->availableGeometry().height() - frameGeometry().height());
    if (step <= 0)
        return;
    AddToHeight(*Panel1, step);
    AddToHeight(WebBrowser1->Widget(), step);
    SetClientHeight(height() + step);
}

void TForm1::SpeedButton2Click() {
    if (height() < kExpandedClientHeight)
        return;
    // The panel never gets a negative height; the window shrinks by what the panel lost.
    const int step = std::min(kPanelStep, Panel1->height());
    AddToHeight(*Panel1, -step);
    AddToHeight(WebBrowser1->Widget(), -step);
    SetClientHeight(height() - step);
}

QRect TForm1::WMMoving(QRect proposed) const {
    if (proposed.top() < DockTop())
        proposed.moveTop(DockTop());
    return proposed;
}

void TForm1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // X11 has no message for a window being dragged: a move while the left button is held,
    // other than the slide's own steps, is the user's drag.
    if (SlideUp->Running() || !platform::LeftButtonDown())
        return;
    const QRect clamped = WMMoving(frameGeometry());
    if (clamped != frameGeometry())
        move(clamped.topLeft());
}

void TForm1::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    MouseEnterProc();
}

void TForm1::MouseEnterProc() {
    tmrMouseOut->start();
    KeepTitleBarOnScreen();
}

void TForm1::KeepTitleBarOnScreen() {
    if (Top() < DockTop())
        SetTop(DockTop());
}

void TForm1::tmrMouseOutTimer() {
    MouseLeaveProc();
}

void TForm1::MouseLeaveProc() {
    // With the button down, the user is dragging or clicking: look again next tick.
    if (platform::LeftButtonDown())
        return;
    if (frameGeometry().contains(platform::CursorPos())) {
        // Some window managers end a quick drag above the edge, out of the clamp's reach,
        // with the title bar off screen: the window goes back to the edge.
        KeepTitleBarOnScreen();
        return;
    }
    tmrMouseOut->stop();
    if (Top() > DockTop() + kDockedTopLimit)
        return;
    // The mouse coming back starts the watch again, which ends the slide where it is.
    SlideUp->Start(DockTop() + kSlideStartTop, DockTop(), kSlidHandleRows,
                   [this] { return tmrMouseOut->isActive(); });
}

void TForm1::HideUnlessSlidAway() {
    // The pointer came back meanwhile, or the window manager let the window go.
    const int clientBottom = platform::ClientAreaOnScreen(*this).y() + height();
    if (tmrMouseOut->isActive() || !isVisible() || clientBottom <= DockTop() + kSlidHandleRows)
        return;
    const QRect frame = frameGeometry();
    DockStrip->ShowAt({frame.left(), DockTop(), frame.width(), kSlidHandleRows});
    hide();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    DockStrip->hide();
    // A person who brings the window back goes on typing where the text ends.
    Memo1->moveCursor(QTextCursor::End);
}

void TForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    FormPaint();
}

void TForm1::FormPaint() {
    TrayIcon1->HideTaskbarButton();
    TrayIcon1->SetIconVisible(true);
}

void TForm1::N2Click() {
    const bool slidAway = Top() < DockTop();
    if (slidAway)
        SetTop(DockTop() + kShownAfterSlideTop);
    if (!isVisible())
        TrayIcon1->ShowMainWindow();
    else if (!slidAway)
        TrayIcon1->HideMainWindow();
}

void TForm1::TrayIcon1DblClick() {
    N2->trigger();
}

} // namespace quorvex
