#pragma once

#include "peercontrol.h"

class ModeState;
class OxaSignal;

// Control of the reference mode-control daemon (interface
// "com.tavik.sim.ModeControlControl" beside the shared peer control).
class ModeControlControl : public PeerControl
{
    Q_OBJECT

public:
    ModeControlControl(ModeState *state, OxaSignal *signal, CallLog *log, FaultInjector *faults,
        QObject *parent = nullptr);

public Q_SLOTS:
    void SetRadioStates(uint states);
    void SetCallState(const QString &call, const QString &emergency);
    uint GetRadioStates();
    QString GetCallState();
    void EmitRadioStates(uint states, uint count);
    void EmitCallState(const QString &call, const QString &emergency, uint count);

protected:
    void resetState() override;

private:
    ModeState *m_state;
    OxaSignal *m_signal;
};
