// The tray icon's mouse: the notification area's reports turned into clicks, moves and the
// popup menu.
#include "platform/gui/X11Window.h"
#include "tray/SimpleTimer.h"
#include "tray/TrayIcon.h"
#include "tray/TrayIconEvent.h"

#include <QAction>

namespace quorvex {
namespace {

TShiftState ShiftState(TShiftState button) {
    const Qt::KeyboardModifiers keys = platform::KeyboardState();
    TShiftState shift = button;
    if (keys.testFlag(Qt::ShiftModifier))
        shift |= ssShift;
    if (keys.testFlag(Qt::AltModifier))
        shift |= ssAlt;
    if (keys.testFlag(Qt::ControlModifier))
        shift |= ssCtrl;
    return shift;
}

TShiftState ButtonFlag(TMouseButton button) {
    switch (button) {
    case TMouseButton::mbLeft:
        return ssLeft;
    case TMouseButton::mbRight:
        return ssRight;
    case TMouseButton::mbMiddle:
        return ssMiddle;
    }
    return 0;
}

} // namespace

void TTrayIcon::Notify(unsigned notification) {
    Notify(notification, platform::CursorPos());
}

void TTrayIcon::Notify(unsigned notification, QPoint pos) {
    notifyPos_ = pos;
    namespace notify = platform::notify;
    const bool balloon =
        notification >= notify::kBalloonShow && notification <= notify::kBalloonUserClick;
    if (!Enabled && !balloon)
        return;
    switch (notification) {
    case notify::kMouseMove:
        DoMouseMove();
        break;
    case notify::kLeftButtonDown:
        LeftButtonDown();
        break;
    case notify::kLeftButtonUp:
        LeftButtonUp();
        break;
    case notify::kLeftDoubleClick:
        LeftDoubleClick();
        break;
    case notify::kRightButtonDown:
        DoMouseDown(TMouseButton::mbRight);
        ShowPopupMenu();
        break;
    case notify::kRightButtonUp:
        if (!ModernNotifications)
            DoMouseUp(TMouseButton::mbRight);
        break;
    case notify::kContextMenu:
    case notify::kSelect:
    case notify::kKeySelect:
        if (ModernNotifications)
            DoMouseUp(TMouseButton::mbRight);
        break;
    case notify::kMiddleButtonDown:
        DoMouseDown(TMouseButton::mbMiddle);
        break;
    case notify::kMiddleButtonUp:
        DoMouseUp(TMouseButton::mbMiddle);
        break;
    case notify::kBalloonShow:
        Raise(OnBalloonHintShow, *this);
        break;
    case notify::kBalloonHide:
        Raise(OnBalloonHintHide, *this);
        break;
    case notify::kBalloonTimeout:
        Raise(OnBalloonHintTimeout, *this);
        break;
    case notify::kBalloonUserClick:
        Raise(OnBalloonHintClick, *this);
        break;
    default:
        break;
    }
}

void TTrayIcon::LeftButtonDown() {
    if (OnDblClick) {
        // The double-click time as it stands at this press.
        clickTimer_->SetInterval(platform::DoubleClickTime());
        clickTimer_->Start();
    }
    DoMouseDown(TMouseButton::mbLeft);
    clickStarted_ = true;
    if (LeftPopup)
        ShowPopupMenu();
}

void TTrayIcon::LeftButtonUp() {
    if (clickStarted_) {
        clickPending_ = true;
        if (!clickTimer_->Enabled()) {
            clickStarted_ = false;
            clickPending_ = false;
            DoClick();
        }
    }
    clickStarted_ = false;
    DoMouseUp(TMouseButton::mbLeft);
}

void TTrayIcon::LeftDoubleClick() {
    clickPending_ = false;
    doubleClicked_ = true;
    DoDblClick();
    if (PopupMenu && PopupMenu->AutoPopup && !LeftPopup)
        if (QAction* defaultItem = PopupMenu->defaultAction())
            defaultItem->trigger();
}

void TTrayIcon::ClickTimerStep() {
    clickTimer_->Stop(true);
    if (!doubleClicked_ && clickPending_) {
        clickPending_ = false;
        DoClick();
    }
    doubleClicked_ = false;
}

void TTrayIcon::ShowPopupMenu() {
    if (PopupMenu && PopupMenu->AutoPopup)
        PopupMenu->popup(notifyPos_);
}

void TTrayIcon::ExitCheck() {
    if (!mouseExited_ && platform::CursorPos() != lastMovePos_) {
        mouseExited_ = true;
        DoMouseExit();
    }
}

void TTrayIcon::DoClick() {
    Raise(OnClick, *this);
}

void TTrayIcon::DoDblClick() {
    Raise(OnDblClick, *this);
}

void TTrayIcon::DoMouseDown(TMouseButton button) {
    if (OnMouseDown)
        OnMouseDown(*this, button, ShiftState(ButtonFlag(button)), notifyPos_);
}

void TTrayIcon::DoMouseUp(TMouseButton button) {
    if (OnMouseUp)
        OnMouseUp(*this, button, ShiftState(ButtonFlag(button)), notifyPos_);
}

void TTrayIcon::DoMouseMove() {
    if (watchEnterExit_ && mouseExited_) {
        DoMouseEnter();
        mouseExited_ = false;
    }
    const QPoint pos = platform::CursorPos();
    if (OnMouseMove)
        OnMouseMove(*this, ShiftState(0), pos);
    lastMovePos_ = pos;
}

void TTrayIcon::DoMouseEnter() {
    Raise(OnMouseEnter, *this);
}

void TTrayIcon::DoMouseExit() {
    Raise(OnMouseExit, *this);
}

} // namespace quorvex
