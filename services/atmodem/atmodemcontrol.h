#pragma once

#include <QObject>
#include <QString>

class SimCard;

// The simulator's control object on the system bus, for tests and the demo:
// put in another card, take the card out and back.
class AtModemControl : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tavik.sim.AtModemControl")

public:
    static const QString ServiceName;
    static const QString Path;

    explicit AtModemControl(SimCard *card, QObject *parent = nullptr);

public Q_SLOTS:
    // "pin", "puk", "ready" or "absent"; takes effect when the modem next
    // reads the card (after power-up), with full attempts and the start codes.
    Q_SCRIPTABLE bool SetCard(const QString &state, bool pinLock);
    Q_SCRIPTABLE void Remove();
    Q_SCRIPTABLE void Insert();
    Q_SCRIPTABLE QString State() const;

private:
    SimCard *m_card;
};
