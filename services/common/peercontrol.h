#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>

class BusPresence;
class CallLog;
class FaultInjector;

// The control interface that every reference peer offers at "/control":
// faults per method, the record of received calls, reset, leaving and
// rejoining the bus. Each peer derives from it and adds its own state.
class PeerControl : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    PeerControl(
        const QStringList &methods, CallLog *log, FaultInjector *faults, QObject *parent = nullptr);

    // Set after construction: the presence registers this very object.
    void setPresence(BusPresence *presence) { m_presence = presence; }

public Q_SLOTS:
    void SetFault(const QString &method, const QString &kind, uint delay_ms);
    QString GetCalls();
    void ClearCalls();
    void Reset();
    void LeaveBus(const QString &how, uint rejoin_after_ms);
    void RejoinBus();

protected:
    // Back to the state the peer started with.
    virtual void resetState() = 0;
    void refuse(const QString &text) const;

private:
    QStringList m_methods;
    CallLog *m_log;
    FaultInjector *m_faults;
    BusPresence *m_presence;
};
