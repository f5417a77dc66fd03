#include "simlogic.h"

#include "kivsim.h"
#include "pinqueryinterface.h"
#include "simcontainer.h"
#include "zudebug.h"

#include <QDBusConnection>
#include <QDBusInterface>

namespace {
const char *const PinQueryService = "com.tavik.ronwe.pin";
const char *const PinQueryPath = "/com/tavik/ronwe/pin";
const char *const PinQueryInterfaceName = "com.tavik.ronwe.pin.PinCodeQuery";
const char *const NoInterfaceWarning = "No interface to PIN query!";

// Values of the client libraries that the controller tests.
const uint SimLockNotActiveMax = 1;
const int NoError = 0;
const int SimLockedReadError = 5;
const int PinQueryOn = 0;
const int PinQueryOff = 1;
const int PinQueryStateUnknown = -1;
const int PinTypePin = 0;

QString translated(const char *id)
{
    return qtTrId(id, -1);
}
} // namespace

SimLogic::SimLogic(SimContainer *container, QObject *parent)
    : QObject(parent)
    , container(container)
    , simChecker(nullptr)
    , simSecurity(nullptr)
    , simLock(nullptr)
    , pinQuery(nullptr)
    , lastStatus(SimChecker::Unknown)
    , isLocked(false)
    , opening(false)
{
    zuDebugStream(Q_FUNC_INFO);

    connect(container, SIGNAL(activationRequested()), this, SLOT(onActivationRequested()));
    connect(container, SIGNAL(unlockRequested()), this, SLOT(onUnlockRequested()));
    connect(container, SIGNAL(pinRequestToggled(bool)), this, SLOT(onEnablePinRequested(bool)));
    connect(container, SIGNAL(changePinRequested()), this, SLOT(onChangePinRequested()));

    simChecker = new SimChecker(this);
    connect(simChecker, SIGNAL(statusChange(SimChecker::Status)), this,
        SLOT(onSimCheckerStatusChanged(SimChecker::Status)), Qt::UniqueConnection);

    simLock = new simlock::SIMLock(this);
    connect(simLock, SIGNAL(simLockStatusComplete(SIMLock::SIMLockStatus, SIMLock::SIMLockError)),
        this, SLOT(onSimLockStatusComplete(SIMLock::SIMLockStatus, SIMLock::SIMLockError)),
        Qt::QueuedConnection);

    simSecurity = new Cellular::SIM::SIMSecurity(this);
    connect(simSecurity, SIGNAL(pinQueryStateComplete(SIMSecurity::PINQuery, SIMError)), this,
        SLOT(onSimSecurityStatusComplete(SIMSecurity::PINQuery, SIMError)), Qt::QueuedConnection);

    pinQuery = new PinQueryInterface(this);
    connect(pinQuery, SIGNAL(PinQueryEnabled(int)), this, SLOT(onPinQueryEnabled(int)),
        Qt::UniqueConnection);
    connect(
        pinQuery, SIGNAL(SimLockUnlockComplete(bool)), this, SLOT(onSimLockUnlockComplete(bool)));
}

SimLogic::~SimLogic()
{
    zuDebugStream(Q_FUNC_INFO);
}

QString SimLogic::errorText(SimChecker::Status status)
{
    zuDebugStream(Q_FUNC_INFO) << int(status);
    switch (status) {
    case SimChecker::Unknown:
    case SimChecker::Error:
    case SimChecker::NotReady:
        return translated(KivSim::SimErrorText);
    case SimChecker::NoSim:
        return translated(KivSim::SimNotAvailableText);
    case SimChecker::Offline:
        return translated(KivSim::FlightModeText);
    case SimChecker::NotActivated:
    case SimChecker::Ok:
    case SimChecker::SimLocked:
        break;
    }
    return QString();
}

void SimLogic::onSimCheckerStatusChanged(SimChecker::Status status)
{
    zuDebugStream(Q_FUNC_INFO) << int(status);
    // Stored before the list is touched: its show operations run pending
    // events, and a queued answer may look at the status meanwhile.
    lastStatus = status;

    if (status == SimChecker::NotActivated) {
        container->showActivateSimItem(true);
        return;
    }

    container->showActivateSimItem(false);
    switch (status) {
    case SimChecker::Unknown:
    case SimChecker::NoSim:
    case SimChecker::NotReady:
        if (opening) {
            zuDebugStream(Q_FUNC_INFO) << "ignore init errors while opening";
        } else {
            container->showErrorItem(errorText(status));
        }
        break;
    case SimChecker::Ok:
        break;
    case SimChecker::SimLocked:
        container->showErrorItem(QString());
        container->showUnlockSimItem(true);
        break;
    case SimChecker::Error:
    case SimChecker::Offline:
        container->showErrorItem(errorText(status));
        break;
    case SimChecker::NotActivated:
        break;
    }

    if (opening && status != SimChecker::NotReady) {
        opening = false;
        Q_EMIT setSpinner(false);
    }
    simLock->simLockStatus();
}

// The parameter types are written in full: one compiler's signature macro
// writes them as the definition does, the other always in full.
void SimLogic::onSimLockStatusComplete(
    simlock::SIMLock::SIMLockStatus status, simlock::SIMLock::SIMLockError error)
{
    zuDebugStream(Q_FUNC_INFO) << int(status) << int(error);
    if (lastStatus == SimChecker::NotActivated) {
        zuDebugStream(Q_FUNC_INFO)
            << "Don't show the unlock button because SIM is not activated -> ronwed won't allow it";
        return;
    }
    if (int(error) != NoError) {
        container->showErrorItem(translated(KivSim::SimErrorText));
        return;
    }
    isLocked = uint(status) > SimLockNotActiveMax;
    container->showUnlockSimItem(isLocked);
    if (lastStatus == SimChecker::Ok || lastStatus == SimChecker::SimLocked) {
        simSecurity->pinQueryState(Cellular::SIM::SIMSecurity::PINType(PinTypePin));
    }
}

void SimLogic::onSimSecurityStatusComplete(
    Cellular::SIM::SIMSecurity::PINQuery secState, Cellular::SIM::SIMError error)
{
    zuDebugStream(Q_FUNC_INFO) << int(secState) << int(error) << "is locked:" << isLocked;
    // The answer to a query of an earlier cycle can arrive after a newer
    // report. Once the SIM is no longer ready it would clear that report's
    // error line, or show the PIN rows beside the activate row.
    if (lastStatus != SimChecker::Ok && lastStatus != SimChecker::SimLocked) {
        return;
    }
    if (int(error) != NoError) {
        // While the SIM lock is on the card cannot be read; that is expected.
        if (isLocked && int(error) == SimLockedReadError) {
            return;
        }
        container->showErrorItem(translated(KivSim::SimErrorText));
        return;
    }

    container->showErrorItem(QString());
    switch (int(secState)) {
    case PinQueryOn:
        container->showPinRequestItem(true);
        container->setPinRequestState(true);
        break;
    case PinQueryOff:
        container->showPinRequestItem(true);
        container->setPinRequestState(false);
        break;
    default:
        container->showErrorItem(translated(KivSim::SimErrorText));
        break;
    }
}

void SimLogic::onActivationRequested()
{
    zuDebugStream(Q_FUNC_INFO);
    QDBusInterface query(QLatin1String(PinQueryService), QLatin1String(PinQueryPath),
        QLatin1String(PinQueryInterfaceName), QDBusConnection::systemBus());
    if (query.isValid()) {
        query.call(QStringLiteral("LaunchPinQuery"), QStringLiteral("PIN"));
    } else {
        qWarning().noquote() << zuSignature(Q_FUNC_INFO) << NoInterfaceWarning;
    }
}

void SimLogic::onUnlockRequested()
{
    zuDebugStream(Q_FUNC_INFO);
    if (pinQuery->isValid()) {
        pinQuery->SimLockUnlock();
    } else {
        qWarning().noquote() << zuSignature(Q_FUNC_INFO) << NoInterfaceWarning;
    }
}

void SimLogic::onEnablePinRequested(bool toggleState)
{
    zuDebugStream(Q_FUNC_INFO) << toggleState;
    // The switch already shows the user's choice; the service's report
    // settles it (onPinQueryEnabled).
    if (pinQuery->isValid()) {
        pinQuery->EnablePinQuery(toggleState);
    } else {
        qWarning().noquote() << zuSignature(Q_FUNC_INFO) << NoInterfaceWarning;
    }
}

void SimLogic::onChangePinRequested()
{
    zuDebugStream(Q_FUNC_INFO);
    if (pinQuery->isValid()) {
        pinQuery->ChangePinCode();
    } else {
        qWarning().noquote() << zuSignature(Q_FUNC_INFO) << NoInterfaceWarning;
    }
}

void SimLogic::onPinQueryEnabled(int queryState)
{
    zuDebugStream(Q_FUNC_INFO) << queryState;
    if (queryState == PinQueryStateUnknown) {
        // Put the switch back where it stood before the user moved it.
        const bool previous = !container->pinSwitchState();
        zuDebugStream(Q_FUNC_INFO) << "state unknown, setting to" << int(previous);
        container->setPinRequestState(previous);
        return;
    }
    container->setPinRequestState(queryState == PinQueryOn);
}

void SimLogic::onSimLockUnlockComplete(bool success)
{
    zuDebugStream(Q_FUNC_INFO) << success;
    opening = success;
    if (success) {
        simLock->simLockStatus();
    }
    Q_EMIT setSpinner(opening);
}
