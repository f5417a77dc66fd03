#include "oxarequest.h"

#include "calllog.h"
#include "faultinjector.h"
#include "modestate.h"
#include "oxasignal.h"

#include <QStringList>

const QStringList OxaRequest::Methods = { QStringLiteral("get_radio_states"),
    QStringLiteral("get_call_state"), QStringLiteral("req_radio_states_change") };

namespace {
// What a "wrong type" fault answers: a string where a number belongs, and a
// number where a string belongs.
const QString WrongRadioStates = QStringLiteral("radios-on");
const int WrongCallState = 0;
} // namespace

OxaRequest::OxaRequest(
    ModeState *state, OxaSignal *signal, CallLog *log, FaultInjector *faults, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_signal(signal)
    , m_log(log)
    , m_faults(faults)
{ }

uint OxaRequest::get_radio_states()
{
    m_log->record(message());
    setDelayedReply(true);
    m_faults->answer(connection(), message(), { m_state->radioStates() }, WrongRadioStates, [] {});
    return 0;
}

QString OxaRequest::get_call_state(QString &emergency)
{
    m_log->record(message());
    setDelayedReply(true);
    m_faults->answer(
        connection(), message(), { m_state->call(), m_state->emergency() }, WrongCallState, [] {});
    emergency.clear();
    return QString();
}

void OxaRequest::req_radio_states_change(uint states, uint mask)
{
    m_log->record(message());
    setDelayedReply(true);
    // The new state is reported only after the reply, as the clients expect.
    m_faults->answer(connection(), message(), {}, WrongRadioStates,
        [state = m_state, signal = m_signal, states, mask]() {
            state->setRadioStates((state->radioStates() & ~mask) | (states & mask));
            signal->emitRadioStates(state->radioStates());
        });
}
