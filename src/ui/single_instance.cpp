#include "single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace kesto {

namespace {
const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
constexpr int ConnectWaitMs = 1000;
} // namespace

LocalSingleInstance::LocalSingleInstance(QString serverName, QObject *parent)
    : QObject(parent), serverName(std::move(serverName))
{
}

LocalSingleInstance::~LocalSingleInstance()
{
    if (server)
        server->close();
}

QString LocalSingleInstance::defaultServerName()
{
    return QStringLiteral("kesto32-") + QString::number(::getuid());
}

bool LocalSingleInstance::anotherRunning()
{
    if (otherFound)
        return *otherFound;

    QLocalSocket probe;
    probe.connectToServer(serverName);
    if (probe.waitForConnected(ConnectWaitMs)) {
        probe.disconnectFromServer();
        otherFound = true;
        return true;
    }

    // Nobody answers: a socket file left by a program that crashed would block listening.
    QLocalServer::removeServer(serverName);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, &LocalSingleInstance::serveConnection);
    server->listen(serverName);
    otherFound = false;
    return false;
}

void LocalSingleInstance::activateOther()
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(ConnectWaitMs))
        return;
    socket.write(RaiseRequest);
    socket.waitForBytesWritten(ConnectWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(ConnectWaitMs);
}

void LocalSingleInstance::serveConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readRequest = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == RaiseRequest && onActivate)
                    onActivate();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        // The request may have arrived together with the connection.
        readRequest();
    }
}

} // namespace kesto
