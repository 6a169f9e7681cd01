// The tray icon's part in hiding its owner's window to the tray and bringing it back.
#include "platform/gui/X11Window.h"
#include "tray/TrayIcon.h"
#include "tray/TrayIconEvent.h"

#include <QEvent>
#include <QWidget>

namespace quorvex {

QWidget* TTrayIcon::MainWindow() const {
    return owner_ ? owner_->window() : nullptr;
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

} // namespace quorvex
