#include "tray/TrayIcon.h"

#include "platform/gui/TrayHostWatch.h"
#include "platform/gui/X11Window.h"
#include "tray/ImageList.h"
#include "tray/SimpleTimer.h"
#include "tray/TrayIconHandler.h"
#include "tray/TrayTip.h"

#include <QAction>
#include <QEvent>
#include <QWidget>

namespace quorvex {

namespace {

inline constexpr int kExitWatchInterval = 20;

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

void Raise(const TTrayIconEvent& event, TTrayIcon& sender) {
    if (event)
        event(sender);
}

} // namespace

TTrayIcon::TTrayIcon(QWidget* owner)
    : QObject(owner)
    , handler_(TTrayIconHandler::Register(*this))
    , owner_(owner)
    , notifyIcon_(handler_.HostWatch()) {
    notifyIcon_.OnNotify = [this](unsigned notification, QPoint pos) { Notify(notification, pos); };
    cycleTimer_ = TSimpleTimer::CreateWithEvent(TSimpleTimer::kDefaultInterval,
                                                [this](TSimpleTimer&) { CycleStep(); });
    clickTimer_ = TSimpleTimer::CreateWithEvent(TSimpleTimer::kDefaultInterval,
                                                [this](TSimpleTimer&) { ClickTimerStep(); });
    exitTimer_ =
        TSimpleTimer::CreateWithEvent(kExitWatchInterval, [this](TSimpleTimer&) { ExitCheck(); });
    if (QWidget* window = MainWindow())
        window->installEventFilter(this);
}

TTrayIcon::~TTrayIcon() {
    SetIconVisible(false);
    TTrayIconHandler::Unregister(*this);
}

QWidget* TTrayIcon::MainWindow() const {
    return owner_ ? owner_->window() : nullptr;
}

void TTrayIcon::Loaded() {
    if (owner_ != nullptr && OnStartup) {
        bool show = true;
        OnStartup(*this, show);
        if (!show && TrayAvailable()) {
            showMainForm_ = false;
            HideMainWindow();
        }
    }
    UpdateTrayIcon();
    SetIconVisible(iconVisible_);
    SetCycleIcons(cycleIcons_);
    SetWatchEnterExit(watchEnterExit_);
}

void TTrayIcon::SetIconList(TImageList* list) {
    if (iconList_)
        disconnect(iconList_, &QObject::destroyed, this, nullptr);
    iconList_ = list;
    if (list != nullptr)
        connect(list, &QObject::destroyed, this, &TTrayIcon::IconListDestroyed);
    SetIconIndex(0);
}

void TTrayIcon::IconListDestroyed() {
    iconList_ = nullptr;
    SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool cycle) {
    cycleIcons_ = cycle;
    if (!cycle) {
        cycleTimer_->Stop(true);
        return;
    }
    SetIconIndex(0);
    cycleTimer_->SetInterval(static_cast<int>(cycleInterval_));
    cycleTimer_->Start();
}

void TTrayIcon::SetCycleInterval(unsigned interval) {
    cycleInterval_ = interval;
    SetCycleIcons(cycleIcons_);
}

void TTrayIcon::SetHint(const std::string& hint) {
    hint_ = hint;
    UpdateTrayIcon();
}

void TTrayIcon::SetShowHint(bool show) {
    showHint_ = show;
    UpdateTrayIcon();
}

void TTrayIcon::SetIcon(const QIcon& icon) {
    icon_ = icon;
    UpdateTrayIcon();
}

void TTrayIcon::SetIconVisible(bool visible) {
    if (visible)
        AddTrayIcon();
    else
        RemoveTrayIcon();
}

void TTrayIcon::SetIconIndex(int index) {
    if (!iconList_) {
        iconIndex_ = 0;
    } else {
        iconIndex_ = index < iconList_->Count() ? index : iconList_->Count() - 1;
        if (iconIndex_ >= 0)
            icon_ = iconList_->Icons[iconIndex_];
    }
    UpdateTrayIcon();
}

void TTrayIcon::SetWatchEnterExit(bool watch) {
    watchEnterExit_ = watch;
    exitTimer_->SetEnabled(watch);
}

platform::TNotifyIconData TTrayIcon::IconData() const {
    return {icon_, QString::fromStdString(TrayTip(hint_, showHint_))};
}

bool TTrayIcon::AddTrayIcon() {
    iconVisible_ = true;
    return notifyIcon_.Add(IconData());
}

bool TTrayIcon::RemoveTrayIcon() {
    iconVisible_ = false;
    return notifyIcon_.Delete();
}

bool TTrayIcon::UpdateTrayIcon() {
    return notifyIcon_.Modify(IconData());
}

bool TTrayIcon::TrayAvailable() const {
    return handler_.HostWatch().Available();
}

void TTrayIcon::TrayHostChanged(bool available) {
    QWidget* window = MainWindow();
    if (available) {
        // The notification area came (back): it holds no icon of ours yet.
        if (iconVisible_)
            AddTrayIcon();
        if (taskbarButtonHidden_)
            HideTaskbarButton();
        // A window minimized while there was no tray would be left without its taskbar entry.
        if (window != nullptr && MinimizeToTray)
            Minimized();
        return;
    }
    notifyIcon_.Forget();
    if (window != nullptr)
        platform::SetSkipTaskbar(*window, false);
    if (mainHiddenToTray_)
        ShowMainWindow();
}

void TTrayIcon::ShowMainWindow() {
    QWidget* window = MainWindow();
    if (window == nullptr)
        return;
    mainHiddenToTray_ = false;
    window->showNormal();
    window->raise();
    window->activateWindow();
}

void TTrayIcon::HideMainWindow() {
    QWidget* window = MainWindow();
    if (window == nullptr || !TrayAvailable())
        return;
    mainHiddenToTray_ = true;
    window->hide();
    HideTaskbarButton();
}

void TTrayIcon::HideTaskbarButton() {
    QWidget* window = MainWindow();
    if (window == nullptr)
        return;
    taskbarButtonHidden_ = true;
    if (TrayAvailable() && !platform::SkipsTaskbar(*window))
        platform::SetSkipTaskbar(*window, true);
}

void TTrayIcon::SendToTray() {
    HideMainWindow();
    SetIconVisible(true);
}

bool TTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MainWindow() && event->type() == QEvent::WindowStateChange &&
        MainWindow()->isMinimized() && MinimizeToTray && TrayAvailable())
        // Hidden once the window manager has finished minimizing it.
        QMetaObject::invokeMethod(this, &TTrayIcon::Minimized, Qt::QueuedConnection);
    return false;
}

void TTrayIcon::Minimized() {
    // One minimize can report its state change more than once.
    QWidget* window = MainWindow();
    if (!window->isMinimized() || !window->isVisible())
        return;
    Raise(OnMinimizeToTray, *this);
    SendToTray();
}

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

void TTrayIcon::CycleStep() {
    if (!iconList_)
        return;
    if (iconIndex_ >= 0 && iconIndex_ < iconList_->Count())
        icon_ = iconList_->Icons[iconIndex_];
    const int next = iconIndex_ < iconList_->Count() - 1 ? iconIndex_ + 1 : 0;
    DoCycle(next);
    SetIconIndex(next);
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

void TTrayIcon::DoCycle(int nextIndex) {
    if (OnCycle)
        OnCycle(*this, nextIndex);
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
