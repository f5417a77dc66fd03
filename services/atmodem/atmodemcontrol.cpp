#include "atmodemcontrol.h"

#include "simcard.h"

const QString AtModemControl::ServiceName = QStringLiteral("com.tavik.sim.AtModem");
const QString AtModemControl::Path = QStringLiteral("/control");

AtModemControl::AtModemControl(SimCard *card, QObject *parent)
    : QObject(parent)
    , m_card(card)
{ }

bool AtModemControl::SetCard(const QString &state, bool pinLock)
{
    const int index = SimCard::StateNames.indexOf(state);
    if (index < 0 || index == SimCard::Dead) {
        return false;
    }
    m_card->replace(SimCard::State(index), pinLock);
    return true;
}

void AtModemControl::Remove()
{
    m_card->remove();
}

void AtModemControl::Insert()
{
    m_card->insert();
}

QString AtModemControl::State() const
{
    return SimCard::StateNames.at(m_card->state());
}
