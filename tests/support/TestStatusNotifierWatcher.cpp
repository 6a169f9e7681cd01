#include "support/TestStatusNotifierWatcher.h"

#include "platform/Exception.h"
#include "support/Pumping.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace quorvex::test_support {

namespace {

namespace status_notifier = platform::status_notifier;

QString NewConnectionName() {
    static int made = 0;
    return QStringLiteral("test-watcher-%1").arg(++made);
}

} // namespace

TestStatusNotifierWatcher::TestStatusNotifierWatcher(const QString& address, bool hostRegistered)
    : bus_(QDBusConnection::connectToBus(address, NewConnectionName()))
    , hostRegistered_(hostRegistered) {
    if (!bus_.registerObject(status_notifier::kWatcherPath, this,
                             QDBusConnection::ExportAllContents) ||
        !bus_.interface()->registerService(status_notifier::kWatcherService,
                                           QDBusConnectionInterface::ReplaceExistingService,
                                           QDBusConnectionInterface::AllowReplacement))
        throw Exception("The test watcher could not go on the bus at " + address.toStdString());
}

TestStatusNotifierWatcher::~TestStatusNotifierWatcher() {
    QDBusConnection::disconnectFromBus(bus_.name());
}

bool TestStatusNotifierWatcher::WaitForItem() {
    return PumpUntil([&] { return !items_.isEmpty(); });
}

void TestStatusNotifierWatcher::RegisterHost() {
    hostRegistered_ = true;
    emit StatusNotifierHostRegistered();
}

QVariant TestStatusNotifierWatcher::ItemProperty(const QString& name) {
    QDBusMessage call = QDBusMessage::createMethodCall(Item(), status_notifier::kItemPath,
                                                       "org.freedesktop.DBus.Properties", "Get");
    call << QString(status_notifier::kItemInterface) << name;
    const QDBusMessage answer = Answer(call);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty())
        return {};
    return answer.arguments().constFirst().value<QDBusVariant>().variant();
}

bool TestStatusNotifierWatcher::CallItem(const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(Item(), status_notifier::kItemPath,
                                                       status_notifier::kItemInterface, method);
    call.setArguments(arguments);
    return Answer(call).type() == QDBusMessage::ReplyMessage;
}

bool TestStatusNotifierWatcher::Listen(const QString& signal) {
    return bus_.connect(Item(), status_notifier::kItemPath, status_notifier::kItemInterface, signal,
                        this, SLOT(ItemSignal(QDBusMessage)));
}

// Asked without blocking: the item may live on this very thread.
QDBusMessage TestStatusNotifierWatcher::Answer(const QDBusMessage& call) {
    QDBusPendingCallWatcher pending(bus_.asyncCall(call));
    PumpUntil([&] { return pending.isFinished(); });
    return pending.reply();
}

} // namespace quorvex::test_support
