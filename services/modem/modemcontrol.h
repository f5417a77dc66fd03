#pragma once

#include "peercontrol.h"

class OfonoManager;
class SimModel;

// Control of the simulated modem (interface "com.tavik.sim.ModemControl"
// beside the shared peer control).
class ModemControl : public PeerControl
{
    Q_OBJECT

public:
    ModemControl(SimModel *model, OfonoManager *manager, bool modemPresent, CallLog *log,
        FaultInjector *faults, QObject *parent = nullptr);

public Q_SLOTS:
    void Insert();
    void Remove();
    void SetReady(bool ready);
    void SetSimLocked(bool locked);
    void SetState(const QString &state);
    QString GetState();
    void SetModemPresent(bool present);

protected:
    void resetState() override;

private:
    SimModel *m_model;
    OfonoManager *m_manager;
    bool m_modemPresentAtStart;
};
