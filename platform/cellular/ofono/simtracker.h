#pragma once

#include "simsnapshot.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QVector>

#include <functional>

class QDBusMessage;
class QDBusVariant;

namespace OfonoSim {

// Follows the telephony service on the system bus: the service coming and
// going, its modems, and the SIM manager properties of the first modem that
// has one. Every change is fetched without blocking; a fetch in flight is
// dropped when a newer one starts, so the snapshot is never older than the
// latest notification.
class SimTracker : public QObject
{
    Q_OBJECT

public:
    using Answer = std::function<void(const Snapshot &)>;

    explicit SimTracker(QObject *parent = nullptr);
    ~SimTracker() override;

    // Calls answer once, from the event loop, with the first settled snapshot:
    // the current one when no fetch runs, else the one the running fetch
    // yields. Nothing is called once context is gone.
    void whenSettled(QObject *context, Answer answer);

    bool isSettled() const { return m_settled; }
    Snapshot snapshot() const { return m_snapshot; }
    // The object path of the modem in use, empty while none is.
    QString modemPath() const { return m_modemPath; }

Q_SIGNALS:
    // A fetch ended or a property changed; not emitted while a fetch runs.
    void snapshotChanged(const OfonoSim::Snapshot &snapshot);

private Q_SLOTS:
    void refresh();
    void onServiceUnregistered();
    void onModemPropertyChanged(const QString &name, const QDBusVariant &value);
    void onSimPropertyChanged(
        const QString &name, const QDBusVariant &value, const QDBusMessage &message);

private:
    void onModemsReply(const QDBusMessage &reply);
    void onPropertiesReply(const QDBusMessage &reply);
    void fetch(const QDBusMessage &call, void (SimTracker::*handler)(const QDBusMessage &));
    void settle(Snapshot::Source source, const QVariantMap &properties = QVariantMap());

    struct Waiting
    {
        QPointer<QObject> context;
        Answer answer;
    };

    QDBusConnection m_bus;
    quint64 m_generation = 0;
    bool m_settled = false;
    QString m_modemPath;
    Snapshot m_snapshot;
    QVector<Waiting> m_waiting;
};

// Unpacks the D-Bus containers of a property value (string arrays, a{sy} and
// a{sv} maps) so that the snapshot holds plain Qt values.
QVariant unpackProperty(const QVariant &value);

} // namespace OfonoSim
