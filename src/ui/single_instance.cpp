#include "single_instance.h"

#include "system/paths.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

namespace kesto {

namespace {
// "raise" alone, or "raise " and the script's path (its file-name bytes, base64) on one line.
const QByteArray RaiseRequest = QByteArrayLiteral("raise");
constexpr int ConnectWaitMs = 1000;
constexpr qint64 LongestRequest = 64 * 1024;
} // namespace

LocalSingleInstance::LocalSingleInstance(QString serverName, QObject *parent)
    : QObject(parent), serverName(std::move(serverName))
{
}

LocalSingleInstance::~LocalSingleInstance()
{
    close();
}

QString LocalSingleInstance::defaultServerName()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!QDir::isAbsolutePath(dir))
        dir = paths::systemDir();
    return paths::join(dir, QStringLiteral("kesto32.instance"));
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

void LocalSingleInstance::activateOther(const QString &scriptPath)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(ConnectWaitMs))
        return;
    QByteArray request = RaiseRequest;
    if (!scriptPath.isEmpty())
        request += ' ' + QFile::encodeName(scriptPath).toBase64();
    socket.write(request + '\n');
    socket.waitForBytesWritten(ConnectWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(ConnectWaitMs);
}

void LocalSingleInstance::close()
{
    if (server)
        server->close(); // removes the socket file
}

void LocalSingleInstance::serveConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readRequest = [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine(LongestRequest).trimmed();
                const qsizetype blank = line.indexOf(' ');
                if (line.left(blank < 0 ? line.size() : blank) != RaiseRequest || !onActivate)
                    continue;
                const QByteArray path =
                    blank < 0 ? QByteArray() : QByteArray::fromBase64(line.mid(blank + 1));
                onActivate(QFile::decodeName(path));
            }
            // A line that never ends is no request.
            if (socket->bytesAvailable() > LongestRequest)
                socket->abort();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        // The request may have arrived together with the connection.
        readRequest();
    }
}

} // namespace kesto
