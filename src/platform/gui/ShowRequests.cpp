#include "platform/gui/ShowRequests.h"

#include "platform/Exception.h"
#include "platform/InstanceLock.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace quorvex::platform {

namespace {

inline constexpr char kShowRequest[] = "show\n";

QString SocketPath(const std::string& name) {
    return QString::fromStdString(RuntimeFilePath(name, "socket"));
}

} // namespace

TShowRequests::TShowRequests(const std::string& name, QObject* parent)
    : QObject(parent)
    , server_(new QLocalServer(this)) {
    // Only the first instance listens (the instance lock says which that is), so a socket
    // already there belongs to an instance that died.
    QLocalServer::removeServer(SocketPath(name));
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(SocketPath(name)))
        throw Exception("Cannot listen for later starts at " + SocketPath(name).toStdString() +
                        ": " + server_->errorString().toStdString());
    connect(server_, &QLocalServer::newConnection, this, &TShowRequests::TakeConnection);
}

void TShowRequests::TakeConnection() {
    while (QLocalSocket* connection = server_->nextPendingConnection()) {
        connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
        connect(connection, &QLocalSocket::readyRead, this, [this, connection] {
            if (!connection->canReadLine())
                return;
            if (connection->readLine() == kShowRequest && OnShowRequest)
                OnShowRequest();
            connection->disconnectFromServer();
        });
    }
}

bool TShowRequests::AskToShow(const std::string& name, std::chrono::milliseconds limit) {
    QLocalSocket socket;
    socket.connectToServer(SocketPath(name));
    const int waitMs = static_cast<int>(limit.count());
    if (!socket.waitForConnected(waitMs))
        return false;
    socket.write(kShowRequest);
    // The running instance hangs up once it has read the request.
    return socket.waitForBytesWritten(waitMs) &&
           (socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(waitMs));
}

} // namespace quorvex::platform
