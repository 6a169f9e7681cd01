#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

namespace quorvex::platform {

class TStatusNotifierItem;
class TTrayHostWatch;

// The mouse notifications an icon in the notification area reports, numbered as the tray
// component's dispatch table knows them.
namespace notify {
inline constexpr unsigned kContextMenu = 123;
inline constexpr unsigned kMouseMove = 512;
inline constexpr unsigned kLeftButtonDown = 513;
inline constexpr unsigned kLeftButtonUp = 514;
inline constexpr unsigned kLeftDoubleClick = 515;
inline constexpr unsigned kRightButtonDown = 516;
inline constexpr unsigned kRightButtonUp = 517;
inline constexpr unsigned kMiddleButtonDown = 519;
inline constexpr unsigned kMiddleButtonUp = 520;
inline constexpr unsigned kSelect = 1024;
inline constexpr unsigned kKeySelect = 1025;
inline constexpr unsigned kBalloonShow = 1026;
inline constexpr unsigned kBalloonHide = 1027;
inline constexpr unsigned kBalloonTimeout = 1028;
inline constexpr unsigned kBalloonUserClick = 1029;
} // namespace notify

// What an icon shows: the image and its tooltip.
struct TNotifyIconData {
    QIcon Icon;
    QString Tip;
};

// One icon in the desktop's notification area, shown through Qt's tray or, where only a
// StatusNotifierItem tray that appeared after Qt looked is there, through an item of our own.
// Both report activations only; each is turned into the button notifications a click gives,
// at the position the tray gives (the cursor's where Qt gives none). A StatusNotifierItem tray
// never reports a double-click, so a second activation within the double-click time counts as
// one.
class TNotifyIcon : public QObject {
public:
    explicit TNotifyIcon(const TTrayHostWatch& host);
    ~TNotifyIcon() override;

    std::function<void(unsigned notification, QPoint pos)> OnNotify;

    // Puts the icon into the notification area; false when it is there already or there is
    // no notification area.
    bool Add(const TNotifyIconData& data);
    // Changes the icon that is shown; false when it is not shown.
    bool Modify(const TNotifyIconData& data);
    // Takes the icon out; false when it is not shown.
    bool Delete();
    bool Present() const { return icon_ != nullptr || item_ != nullptr; }
    // The notification area went away and took the icon with it.
    void Forget();

    // The notifications one activation stands for.
    std::vector<unsigned> Notifications(QSystemTrayIcon::ActivationReason reason);

private:
    bool AddOwnItem();
    void AddQtIcon();
    void Activated(QSystemTrayIcon::ActivationReason reason, QPoint pos);
    void Raise(unsigned notification, QPoint pos);

    const TTrayHostWatch& host_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<TStatusNotifierItem> item_;
    QElapsedTimer sinceLastTrigger_;
};

} // namespace quorvex::platform
