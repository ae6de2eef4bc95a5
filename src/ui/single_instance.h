#pragma once
// One running program per user: a later start hands over to the first and ends.
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLocalServer;

namespace kesto {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // Was another instance running when this one started? The answer is kept: asked again
    // later (at shut-down) it does not change.
    virtual bool anotherRunning() = 0;
    // Asks the running instance to restore and raise its window.
    virtual void activateOther() = 0;
};

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
