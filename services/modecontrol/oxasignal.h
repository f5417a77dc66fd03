#pragma once

#include <QObject>
#include <QString>

// The daemon's signal object "/com/tavik/oxa/signal"; its adaptor puts the
// signals on the bus.
class OxaSignal : public QObject
{
    Q_OBJECT

public:
    explicit OxaSignal(QObject *parent = nullptr);

    void emitRadioStates(uint states, uint count = 1);
    void emitCallState(const QString &call, const QString &emergency, uint count = 1);

Q_SIGNALS:
    void radio_states_ind(uint states);
    void sig_call_state_ind(const QString &call, const QString &emergency);
};
