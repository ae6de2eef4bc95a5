#pragma once
// One running program per user: a later start hands over to the first and ends.
#include "system/platform.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLocalServer;

namespace kesto {

// A local socket named per user. The first instance listens on it; a later one that can
// connect knows it is not alone and sends "raise".
class LocalSingleInstance : public QObject, public SingleInstance {
    Q_OBJECT
public:
    explicit LocalSingleInstance(QString serverName = defaultServerName(),
                                 QObject *parent = nullptr);
    ~LocalSingleInstance() override;

    static QString defaultServerName();

    bool anotherRunning() override;
    void activateOther() override;

    // Called in the first instance when a later one asks it to come to the front.
    std::function<void()> onActivate;

private:
    void serveConnection();

    QString serverName;
    QLocalServer *server = nullptr;
    std::optional<bool> otherFound;
};

} // namespace kesto
