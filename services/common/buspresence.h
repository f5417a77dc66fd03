#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

// A reference peer's place on the system bus: its own connection, its public
// name and a control name that stays while the public name is given up. It
// can leave the bus and come back with a new connection (and so a new unique
// name), registering its objects again.
class BusPresence : public QObject
{
    Q_OBJECT

public:
    // Registers the peer's objects on a fresh connection; false on failure.
    using Registrar = std::function<bool(QDBusConnection &)>;

    BusPresence(const QString &publicName, const QString &controlName, Registrar registrar,
        QObject *parent = nullptr);
    ~BusPresence() override;

    // Connects, registers the objects and owns both names. On failure, says
    // why on stderr and returns false.
    bool join();
    QDBusConnection connection() const { return m_connection; }
    bool hasPublicName() const { return m_hasPublicName; }

    bool releasePublicName();
    bool reclaimPublicName();
    // Drops the connection; with a delay above zero, joins again after it.
    void disconnectFor(uint rejoinAfterMs);

Q_SIGNALS:
    // The bus went away without being asked to: the peer should end.
    void lost();
    void rejoinFailed();

private Q_SLOTS:
    void onDisconnected();

private:
    void watchDisconnect(bool watch);

    QString m_publicName;
    QString m_controlName;
    Registrar m_registrar;
    QDBusConnection m_connection;
    int m_generation;
    bool m_hasPublicName;
};
