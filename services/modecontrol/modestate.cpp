#include "modestate.h"

const QString ModeState::NoCall = QStringLiteral("none");

ModeState::ModeState(const Initial &initial, QObject *parent)
    : QObject(parent)
    , m_initial(initial)
{
    reset();
}

void ModeState::setRadioStates(uint states)
{
    m_radioStates = states;
}

void ModeState::setCallState(const QString &call, const QString &emergency)
{
    m_call = call;
    m_emergency = emergency;
}

void ModeState::reset()
{
    m_radioStates = m_initial.radioStates;
    m_call = m_initial.call;
    m_emergency = m_initial.emergency;
}
