#pragma once

#include "platform/gui/NotifyIcon.h"
#include "platform/gui/PopupMenu.h"
#include "tray/ImageList.h"

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace quorvex {

class TSimpleTimer;
class TTrayIcon;
class TTrayIconHandler;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The keys held and the button of a mouse event.
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
};
using TShiftState = unsigned;

using TTrayIconEvent = std::function<void(TTrayIcon& sender)>;
// Positions are screen coordinates.
using TMouseEvent =
    std::function<void(TTrayIcon& sender, TMouseButton button, TShiftState shift, QPoint pos)>;
using TMouseMoveEvent = std::function<void(TTrayIcon& sender, TShiftState shift, QPoint pos)>;
using TCycleEvent = std::function<void(TTrayIcon& sender, int nextIndex)>;
using TStartupEvent = std::function<void(TTrayIcon& sender, bool& showMainForm)>;

// An icon with a tooltip in the desktop's notification area: it turns the mouse actions on
// the icon into events, opens a popup menu at the pointer, can cycle through a list of icons
// and hides its owner's window to the tray when that is minimized. Where the desktop has no
// notification area it never hides the window, which could then not be brought back.
class TTrayIcon : public QObject {
public:
    // `owner` is a window or a control in one; its window is the main window the icon hides
    // and shows. Without an owner the window operations do nothing.
    explicit TTrayIcon(QWidget* owner);
    ~TTrayIcon() override;

    // To be called once the owner has set the properties: raises OnStartup and applies
    // IconVisible, CycleIcons and WatchEnterExit.
    void Loaded();
    // False when OnStartup asked to start hidden and the window can go to the tray.
    bool ShowMainForm() const { return showMainForm_; }

    // Kept for a visual designer's preview only; it changes nothing here.
    bool DesignPreview() const { return designPreview_; }
    void SetDesignPreview(bool preview) { designPreview_ = preview; }
    TImageList* IconList() const { return iconList_; }
    void SetIconList(TImageList* list);
    bool CycleIcons() const { return cycleIcons_; }
    void SetCycleIcons(bool cycle);
    unsigned CycleInterval() const { return cycleInterval_; }
    void SetCycleInterval(unsigned interval);
    // When false every mouse notification is ignored.
    bool Enabled = true;
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    const QIcon& Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool visible);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int index);
    QPointer<platform::TPopupMenu> PopupMenu;
    // The menu opens on the left button too, and a double-click no longer clicks its default.
    bool LeftPopup = false;
    bool WatchEnterExit() const { return watchEnterExit_; }
    void SetWatchEnterExit(bool watch);
    bool MinimizeToTray = false;
    // Whether a right click is reported by the context-menu notifications rather than the
    // button-up one.
    bool ModernNotifications = false;

    TTrayIconEvent OnClick;
    TTrayIconEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TTrayIconEvent OnMouseEnter;
    TTrayIconEvent OnMouseExit;
    TCycleEvent OnCycle;
    TTrayIconEvent OnBalloonHintShow;
    TTrayIconEvent OnBalloonHintHide;
    TTrayIconEvent OnBalloonHintTimeout;
    TTrayIconEvent OnBalloonHintClick;
    TTrayIconEvent OnMinimizeToTray;
    TStartupEvent OnStartup;

    // Restores the main window, shows it and brings it to the front.
    void ShowMainWindow();
    // Hides the main window and its taskbar entry; refused while there is no notification
    // area to bring it back from.
    void HideMainWindow();
    // Keeps the main window out of the taskbar; refused while there is no notification area.
    void HideTaskbarButton();
    // Whether the desktop has a notification area now.
    bool TrayAvailable() const;

    // Each returns whether the notification area took the request.
    virtual bool AddTrayIcon();
    virtual bool RemoveTrayIcon();
    virtual bool UpdateTrayIcon();

    // The notification area reports `notification` on this icon, which happened at `pos`
    // (where the pointer is, unless given).
    void Notify(unsigned notification);
    void Notify(unsigned notification, QPoint pos);
    // What the next request to the notification area carries.
    platform::TNotifyIconData IconData() const;

protected:
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoCycle(int nextIndex);
    virtual void DoMouseDown(TMouseButton button);
    virtual void DoMouseUp(TMouseButton button);
    virtual void DoMouseMove();
    virtual void DoMouseEnter();
    virtual void DoMouseExit();
    virtual void SendToTray();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TTrayIconHandler;
    QWidget* MainWindow() const;
    void TrayHostChanged(bool available);
    void LeftButtonDown();
    void LeftButtonUp();
    void LeftDoubleClick();
    void ShowPopupMenu();
    void ClickTimerStep();
    void CycleStep();
    void ExitCheck();
    void Minimized();
    void IconListDestroyed();

    TTrayIconHandler& handler_;
    QWidget* owner_;
    platform::TNotifyIcon notifyIcon_;
    bool designPreview_ = false;
    QPointer<TImageList> iconList_;
    bool cycleIcons_ = false;
    unsigned cycleInterval_ = 0;
    std::string hint_;
    bool showHint_ = true;
    QIcon icon_;
    bool iconVisible_ = false;
    int iconIndex_ = 0;
    bool watchEnterExit_ = false;
    bool showMainForm_ = true;

    std::unique_ptr<TSimpleTimer> clickTimer_;
    std::unique_ptr<TSimpleTimer> cycleTimer_;
    std::unique_ptr<TSimpleTimer> exitTimer_;
    bool clickStarted_ = false;
    bool clickPending_ = false;
    bool doubleClicked_ = false;
    // Where the notification being handled happened.
    QPoint notifyPos_;
    QPoint lastMovePos_;
    bool mouseExited_ = true;
    // The window was hidden to the tray (and must come back should the tray go away), and
    // its taskbar entry is meant to be hidden (once there is a tray to stand in for it).
    bool mainHiddenToTray_ = false;
    bool taskbarButtonHidden_ = false;
};

} // namespace quorvex
