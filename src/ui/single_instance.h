#pragma once
// One running program per user: a later start hands over to the first and ends.
#include "system/platform.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLocalServer;

namespace kesto {

// A local socket in the user's runtime directory (else the private system directory). The first
// instance listens on it; a later one that can connect knows it is not alone and sends "raise",
// with the absolute path of the script it was given.
class LocalSingleInstance : public QObject, public SingleInstance {
    Q_OBJECT
public:
    explicit LocalSingleInstance(QString serverName = defaultServerName(),
                                 QObject *parent = nullptr);
    ~LocalSingleInstance() override;

    // $XDG_RUNTIME_DIR/kesto32.instance, else the same name in the system directory.
    static QString defaultServerName();

    bool anotherRunning() override;
    void activateOther(const QString &scriptPath) override;
    // Stops listening and removes the socket file; the process may then end without unwinding.
    void close();

private:
    void serveConnection();

    QString serverName;
    QLocalServer *server = nullptr;
    std::optional<bool> otherFound;
};

} // namespace kesto
