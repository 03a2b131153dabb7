#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace {
constexpr int kConnectTimeoutMs = 1000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
}  // namespace

SingleInstance::SingleInstance(const QString& socketFolder, QObject* parent) : QObject(parent) {
    const QString folder = socketFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                               : socketFolder;
    m_socketPath = QDir(folder).filePath(QStringLiteral("quillon.socket"));
    // Only this user may connect: the socket file itself is private.
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server.nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains(kActivate)) emit activationRequested();
                client->disconnectFromServer();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::acquire() {
    // Two copies started at once must not both remove and recreate the socket.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    lock.tryLock(5000);
    if (askRunningCopy()) return false;
    // Remove a leftover socket only now that nobody answered on it.
    QLocalServer::removeServer(m_socketPath);
    // A clock that cannot listen still runs; it just cannot be called forward.
    m_server.listen(m_socketPath);
    return true;
}

bool SingleInstance::askRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}
