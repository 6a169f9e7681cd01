#pragma once

#include "platform/gui/StatusNotifierTypes.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariant>

namespace quorvex::test_support {

// The desktop's StatusNotifierWatcher, on a bus connection of its own: it keeps the items that
// register and, as a panel would, reads them and calls their methods. It may take over from
// another watcher, as a restarted panel's can, and goes away with the object as a watcher
// whose process ended does.
class TestStatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)

public:
    // `address` is the bus's, as DBUS_SESSION_BUS_ADDRESS holds it.
    explicit TestStatusNotifierWatcher(const QString& address, bool hostRegistered = true);
    ~TestStatusNotifierWatcher() override;

    bool IsStatusNotifierHostRegistered() const { return hostRegistered_; }
    int ProtocolVersion() const { return 0; }
    const QStringList& Items() const { return items_; }
    // Waits for an item to register; false when none did within the usual limit.
    bool WaitForItem();
    // The first item that registered.
    const QString& Item() const { return items_.constFirst(); }
    // A panel comes to show the items.
    void RegisterHost();

    // Reads a property of the item.
    QVariant ItemProperty(const QString& name);
    template <typename T> T ItemStructure(const QString& name) {
        T value;
        ItemProperty(name).value<QDBusArgument>() >> value;
        return value;
    }
    // Calls a method of the item and waits for it to be done; false when it failed.
    bool CallItem(const QString& method, const QVariantList& arguments);
    // Records the item's `signal` from now on.
    bool Listen(const QString& signal);
    const QStringList& Signals() const { return signals_; }

public slots:
    void RegisterStatusNotifierItem(const QString& service) { items_.append(service); }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierHostRegistered();

private slots:
    void ItemSignal(const QDBusMessage& message) { signals_.append(message.member()); }

private:
    QDBusMessage Answer(const QDBusMessage& call);

    QDBusConnection bus_;
    bool hostRegistered_;
    QStringList items_;
    QStringList signals_;
};

} // namespace quorvex::test_support
