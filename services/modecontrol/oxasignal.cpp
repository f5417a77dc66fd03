#include "oxasignal.h"

OxaSignal::OxaSignal(QObject *parent)
    : QObject(parent)
{ }

void OxaSignal::emitRadioStates(uint states, uint count)
{
    for (uint i = 0; i < count; ++i) {
        Q_EMIT radio_states_ind(states);
    }
}

void OxaSignal::emitCallState(const QString &call, const QString &emergency, uint count)
{
    for (uint i = 0; i < count; ++i) {
        Q_EMIT sig_call_state_ind(call, emergency);
    }
}
