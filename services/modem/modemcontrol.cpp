#include "modemcontrol.h"

#include "modemstate.h"
#include "ofonomanager.h"
#include "ofonosimmanager.h"
#include "simmodel.h"

ModemControl::ModemControl(SimModel *model, ModemState *modem, OfonoManager *manager,
    bool modemPresent, CallLog *log, FaultInjector *faults, QObject *parent)
    : PeerControl(OfonoSimManager::Methods, log, faults, parent)
    , m_model(model)
    , m_modem(modem)
    , m_manager(manager)
    , m_modemPresentAtStart(modemPresent)
{ }

void ModemControl::Insert()
{
    m_model->insert();
}

void ModemControl::Remove()
{
    m_model->remove();
}

void ModemControl::SetReady(bool ready)
{
    m_model->setReady(ready);
}

void ModemControl::SetSimLocked(bool locked)
{
    m_model->setSimLocked(locked);
}

void ModemControl::SetState(const QString &state)
{
    if (!m_model->setState(state))
        refuse(QStringLiteral("no state %1; known: absent starting ready pin puk blocked locked")
                   .arg(state));
}

QString ModemControl::GetState()
{
    return m_model->state();
}

void ModemControl::SetPowered(bool powered)
{
    m_modem->setPowered(powered);
}

void ModemControl::SetModemPresent(bool present)
{
    m_manager->setModemPresent(present);
}

void ModemControl::resetState()
{
    m_model->reset();
    m_modem->reset();
    m_manager->setModemPresent(m_modemPresentAtStart);
}
