#include "modecontrolcontrol.h"

#include "modestate.h"
#include "oxarequest.h"
#include "oxasignal.h"

ModeControlControl::ModeControlControl(
    ModeState *state, OxaSignal *signal, CallLog *log, FaultInjector *faults, QObject *parent)
    : PeerControl(OxaRequest::Methods, log, faults, parent)
    , m_state(state)
    , m_signal(signal)
{ }

void ModeControlControl::SetRadioStates(uint states)
{
    m_state->setRadioStates(states);
    m_signal->emitRadioStates(states);
}

void ModeControlControl::SetCallState(const QString &call, const QString &emergency)
{
    m_state->setCallState(call, emergency);
    m_signal->emitCallState(call, emergency);
}

uint ModeControlControl::GetRadioStates()
{
    return m_state->radioStates();
}

QString ModeControlControl::GetCallState()
{
    return m_state->call();
}

void ModeControlControl::EmitRadioStates(uint states, uint count)
{
    m_signal->emitRadioStates(states, count);
}

void ModeControlControl::EmitCallState(const QString &call, const QString &emergency, uint count)
{
    m_signal->emitCallState(call, emergency, count);
}

void ModeControlControl::resetState()
{
    m_state->reset();
}
