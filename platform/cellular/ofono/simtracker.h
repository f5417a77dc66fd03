#pragma once

#include "simsnapshot.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QTimer>
#include <QVector>

#include <functional>

class QDBusMessage;

namespace OfonoSim {

// Follows the telephony service on the system bus: the service coming and
// going, its modems, and the SIM manager properties of the first modem that
// has one. Every read is asynchronous; a read in flight is dropped when a
// newer one starts, so the snapshot is never older than the latest
// notification. A read that fails is retried with a growing pause, and at
// once on the next sign of life from the SIM manager.
class SimTracker : public QObject
{
    Q_OBJECT

public:
    using Answer = std::function<void(const Snapshot &)>;

    // The tracker all SIM clients of this process share, made for the first
    // client that asks and destroyed with the last reference, so a page opened
    // later reads the service afresh.
    static QSharedPointer<SimTracker> shared();

    explicit SimTracker(QObject *parent = nullptr);
    ~SimTracker() override;

    // Calls answer once, from the event loop, with the first settled snapshot:
    // the current one when no read runs, else the one the running read
    // yields. Nothing is called once context is gone.
    void whenSettled(QObject *context, Answer answer);

    bool isSettled() const { return m_settled; }
    Snapshot snapshot() const { return m_snapshot; }
    // The object path of the modem in use, empty while none is.
    QString modemPath() const { return m_modemPath; }

Q_SIGNALS:
    // A read ended or a property changed. Connect with a queued connection
    // where the receiver may destroy the last client of a shared tracker.
    void snapshotChanged(const OfonoSim::Snapshot &snapshot);

private Q_SLOTS:
    void onOwnerChanged(const QString &service, const QString &oldOwner, const QString &newOwner);
    void onModemsChanged(const QDBusMessage &message);
    void onModemPropertyChanged(const QDBusMessage &message);
    void onSimPropertyChanged(const QDBusMessage &message);

private:
    enum class Answers { Wait, KeepGiving };

    // Reads from the top: the modem list, then the chosen modem's SIM
    // manager. With Answers::Wait, queries wait for the read's outcome.
    void readAll(Answers answers);
    void readSim(Answers answers);
    void fetch(const QDBusMessage &call, void (SimTracker::*handler)(const QDBusMessage &));
    void onModemsReply(const QDBusMessage &reply);
    void onPropertiesReply(const QDBusMessage &reply);
    void learnOwner(const QDBusMessage &reply);
    bool fromService(const QDBusMessage &message) const;
    // Warns of the first problem in a run of them, until a read succeeds.
    void warnOnce(const QString &problem);
    // A read went wrong: answer with the failure and read again after a pause.
    void failed(const QString &problem);
    // A change came that cannot be taken in: read the card again.
    void rejected(const QString &problem);
    void settle(Snapshot::Source source, const QVariantMap &properties = QVariantMap());

    struct Waiting
    {
        QPointer<QObject> context;
        Answer answer;
    };

    QDBusConnection m_bus;
    // The unique name of the service's owner; signals from anyone else are
    // not the service's.
    QString m_owner;
    quint64 m_generation = 0;
    bool m_settled = false;
    bool m_reading = false;
    bool m_failing = false;
    int m_retryMs;
    QTimer m_retry;
    QString m_modemPath;
    Snapshot m_snapshot;
    QVector<Waiting> m_waiting;
};

// Unpacks the D-Bus containers of a property value (string arrays, a{sy} and
// a{sv} maps) so that the snapshot holds plain Qt values.
QVariant unpackProperty(const QVariant &value);

} // namespace OfonoSim
