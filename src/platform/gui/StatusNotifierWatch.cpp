#include "platform/gui/StatusNotifierWatch.h"

#include "platform/gui/Availability.h"
#include "platform/gui/StatusNotifierTypes.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace quorvex::platform {

namespace {

QDBusMessage HostRegisteredQuestion() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        status_notifier::kWatcherService, status_notifier::kWatcherPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QString(status_notifier::kWatcherInterface)
         << QStringLiteral("IsStatusNotifierHostRegistered");
    return call;
}

// A watcher that is not there answers with an error: no tray.
bool HostRegistered(const QDBusMessage& answer) {
    return answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty() &&
           answer.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

} // namespace

TStatusNotifierWatch::TStatusNotifierWatch()
    : bus_(QDBusConnection::sessionBus())
    , watcherWatch_(status_notifier::kWatcherService, bus_) {
    connect(&watcherWatch_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (newOwner.isEmpty())
                    WatcherGone();
                else
                    Refresh();
            });
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus_.connect(status_notifier::kWatcherService, status_notifier::kWatcherPath,
                     status_notifier::kWatcherInterface, signal, this, SLOT(Refresh()));
    Refresh();
}

void TStatusNotifierWatch::Refresh() {
    if (!bus_.isConnected())
        return;
    const unsigned question = ++question_;
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(HostRegisteredQuestion()), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, question, answer] {
        answer->deleteLater();
        if (question == question_)
            Set(HostRegistered(answer->reply()));
    });
}

void TStatusNotifierWatch::WatcherGone() {
    ++question_;
    Set(false);
}

void TStatusNotifierWatch::Set(bool available) {
    SetAvailability(available_, available, OnChange);
}

} // namespace quorvex::platform
