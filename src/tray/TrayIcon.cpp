#include "tray/TrayIcon.h"

#include "platform/gui/TrayHostWatch.h"
#include "tray/ImageList.h"
#include "tray/SimpleTimer.h"
#include "tray/TrayIconHandler.h"
#include "tray/TrayTip.h"

#include <QWidget>

namespace quorvex {
namespace {

inline constexpr int kExitWatchInterval = 20;

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

void TTrayIcon::CycleStep() {
    if (!iconList_)
        return;
    if (iconIndex_ >= 0 && iconIndex_ < iconList_->Count())
        icon_ = iconList_->Icons[iconIndex_];
    const int next = iconIndex_ < iconList_->Count() - 1 ? iconIndex_ + 1 : 0;
    DoCycle(next);
    SetIconIndex(next);
}

void TTrayIcon::DoCycle(int nextIndex) {
    if (OnCycle)
        OnCycle(*this, nextIndex);
}

} // namespace quorvex
