#include "buspresence.h"

#include <QDBusConnectionInterface>
#include <QTimer>

#include <cstdio>

namespace {
const QString LocalPath = QStringLiteral("/org/freedesktop/DBus/Local");
const QString LocalInterface = QStringLiteral("org.freedesktop.DBus.Local");
const QString DisconnectedSignal = QStringLiteral("Disconnected");

void complain(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}
} // namespace

BusPresence::BusPresence(
    const QString &publicName, const QString &controlName, Registrar registrar, QObject *parent)
    : QObject(parent)
    , m_publicName(publicName)
    , m_controlName(controlName)
    , m_registrar(std::move(registrar))
    , m_connection(QString())
    , m_generation(0)
    , m_hasPublicName(false)
{ }

BusPresence::~BusPresence()
{
    if (m_connection.isConnected()) {
        watchDisconnect(false);
    }
}

bool BusPresence::join()
{
    const QString connectionName = QStringLiteral("%1-%2").arg(m_publicName).arg(++m_generation);
    m_connection = QDBusConnection::connectToBus(QDBusConnection::SystemBus, connectionName);
    if (!m_connection.isConnected()) {
        complain(QStringLiteral("%1: cannot reach the system bus: %2")
                     .arg(m_publicName, m_connection.lastError().message()));
        return false;
    }
    watchDisconnect(true);
    if (!m_registrar(m_connection)) {
        complain(QStringLiteral("%1: cannot register the objects").arg(m_publicName));
        return false;
    }
    // The control name first: whoever waits for the public name may use the
    // control interface as soon as it sees that name.
    for (const QString &name : { m_controlName, m_publicName }) {
        if (!m_connection.registerService(name)) {
            complain(QStringLiteral("%1: cannot own the name %2: %3")
                         .arg(m_publicName, name, m_connection.lastError().message()));
            return false;
        }
    }
    m_hasPublicName = true;
    return true;
}

bool BusPresence::releasePublicName()
{
    if (m_hasPublicName && m_connection.unregisterService(m_publicName)) {
        m_hasPublicName = false;
    }
    return !m_hasPublicName;
}

bool BusPresence::reclaimPublicName()
{
    if (!m_hasPublicName && m_connection.registerService(m_publicName)) {
        m_hasPublicName = true;
    }
    return m_hasPublicName;
}

void BusPresence::disconnectFor(uint rejoinAfterMs)
{
    watchDisconnect(false);
    const QString name = m_connection.name();
    // Our own reference must go too, or the connection would stay open.
    m_connection = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(name);
    m_hasPublicName = false;
    if (rejoinAfterMs > 0) {
        QTimer::singleShot(int(rejoinAfterMs), this, [this]() {
            if (!join()) {
                Q_EMIT rejoinFailed();
            }
        });
    }
}

void BusPresence::onDisconnected()
{
    complain(QStringLiteral("%1: lost the bus connection").arg(m_publicName));
    Q_EMIT lost();
}

void BusPresence::watchDisconnect(bool watch)
{
    if (watch) {
        m_connection.connect(
            QString(), LocalPath, LocalInterface, DisconnectedSignal, this, SLOT(onDisconnected()));
    } else {
        m_connection.disconnect(
            QString(), LocalPath, LocalInterface, DisconnectedSignal, this, SLOT(onDisconnected()));
    }
}
