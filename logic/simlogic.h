#pragma once

#include "simchecker.h"

#include <QObject>

#include "simlock.h"
#include "simsecurity.h"

// The library answers are connected by signature string, so the slots spell
// their parameter types the way the libraries' signals do. Using-declarations
// rather than aliases: the log lines carry the compiler's spelling of the
// types, which must be the libraries' full names.
using Cellular::SIM::SIMError;
using Cellular::SIM::SIMSecurity;
using simlock::SIMLock;

class SimContainer;
class PinQueryInterface;

// Controller of the SIM card page: turns the SIM state, the SIM-lock state,
// the PIN request state and the PIN dialogue outcomes into what the page's
// item list shows, and the list's requests into calls on the PIN query
// service.
class SimLogic : public QObject
{
    Q_OBJECT

public:
    SimLogic(SimContainer *container, QObject *parent);
    ~SimLogic() override;

    QString errorText(SimChecker::Status status);

Q_SIGNALS:
    void setSpinner(bool set);

private Q_SLOTS:
    void onSimCheckerStatusChanged(SimChecker::Status status);
    void onSimLockStatusComplete(SIMLock::SIMLockStatus status, SIMLock::SIMLockError error);
    void onSimSecurityStatusComplete(SIMSecurity::PINQuery secState, SIMError error);
    void onActivationRequested();
    void onUnlockRequested();
    void onEnablePinRequested(bool toggleState);
    void onChangePinRequested();
    void onPinQueryEnabled(int queryState);
    void onSimLockUnlockComplete(bool success);

private:
    SimContainer *container;
    SimChecker *simChecker;
    Cellular::SIM::SIMSecurity *simSecurity;
    simlock::SIMLock *simLock;
    PinQueryInterface *pinQuery;
    SimChecker::Status lastStatus;
    bool isLocked;
    bool opening;
};
