#pragma once

#include "peercontrol.h"

class ModemState;
class OfonoManager;
class SimModel;

// Control of the simulated modem (interface "com.tavik.sim.ModemControl"
// beside the shared peer control).
class ModemControl : public PeerControl
{
    Q_OBJECT

public:
    ModemControl(SimModel *model, ModemState *modem, OfonoManager *manager, bool modemPresent,
        CallLog *log, FaultInjector *faults, QObject *parent = nullptr);

public Q_SLOTS:
    void Insert();
    void Remove();
    void SetReady(bool ready);
    void SetSimLocked(bool locked);
    void SetState(const QString &state);
    QString GetState();
    void SetPowered(bool powered);
    void SetModemPresent(bool present);

protected:
    void resetState() override;

private:
    SimModel *m_model;
    ModemState *m_modem;
    OfonoManager *m_manager;
    bool m_modemPresentAtStart;
};
