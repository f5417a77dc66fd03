#pragma once

#include <QObject>
#include <QString>

// What the daemon knows: which radios are on and whether a call is going on.
class ModeState : public QObject
{
    Q_OBJECT

public:
    // Bit 0: the cellular radios (clear in flight mode); bit 1: WLAN.
    // Clients must only look at bit 0.
    static const uint RadiosOnBit = 0x1;
    static const uint WlanBit = 0x2;
    static const uint AllRadiosOn = RadiosOnBit | WlanBit;
    static const QString NoCall;

    struct Initial
    {
        uint radioStates;
        QString call;
        QString emergency;
    };

    explicit ModeState(const Initial &initial, QObject *parent = nullptr);

    uint radioStates() const { return m_radioStates; }
    QString call() const { return m_call; }
    QString emergency() const { return m_emergency; }

    void setRadioStates(uint states);
    void setCallState(const QString &call, const QString &emergency);
    void reset();

private:
    Initial m_initial;
    uint m_radioStates;
    QString m_call;
    QString m_emergency;
};
