#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>

class CallLog;
class FaultInjector;
class ModeState;
class OxaSignal;

// The daemon's request object "/com/tavik/oxa/request". Every reply goes
// through the fault injector, so the values returned here are never used.
class OxaRequest : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    static const QStringList Methods;

    OxaRequest(ModeState *state, OxaSignal *signal, CallLog *log, FaultInjector *faults,
        QObject *parent = nullptr);

public Q_SLOTS:
    uint get_radio_states();
    QString get_call_state(QString &emergency);
    void req_radio_states_change(uint states, uint mask);

private:
    ModeState *m_state;
    OxaSignal *m_signal;
    CallLog *m_log;
    FaultInjector *m_faults;
};
