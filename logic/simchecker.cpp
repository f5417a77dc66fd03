#include "simchecker.h"

#include "oxaif.h"
#include "zudebug.h"
#include "zuqtcompat.h"

#include <iterator>

namespace {

// Indexed by the cellular status plus one.
const SimChecker::Status StatusTable[] = {
    SimChecker::NotReady, // -1: the library does not know
    SimChecker::Ok,
    SimChecker::NoSim,
    SimChecker::Error, // permanently blocked
    SimChecker::NotReady,
    SimChecker::NotActivated, // PIN
    SimChecker::NotActivated, // PUK
    SimChecker::Error,
    SimChecker::SimLocked,
};

} // namespace

SimChecker::SimChecker(QObject *parent)
    : QObject(parent)
    , oxaIf(nullptr)
    , lastSimStatus(SIMStatus::UnknownStatus)
{
    zuDebugStream(Q_FUNC_INFO);

    ZuQtCompat::registerEnumType<SimChecker::Status, SimChecker::Unknown>("SimChecker::Status");

    SIMStatus *simStatusObject = new SIMStatus(this);
    oxaIf = new OxaIf(this);

    connect(oxaIf, SIGNAL(offlineChanged(bool)), this, SLOT(offlineChanged(bool)));
    connect(oxaIf, SIGNAL(callingChanged(bool)), this, SIGNAL(callingChanged(bool)));
    // Both queued: the first answer must reach us only after our owner has
    // connected to statusChange.
    connect(simStatusObject, SIGNAL(statusComplete(SIMStatus::Status, SIMError)), this,
        SLOT(statusComplete(SIMStatus::Status)), Qt::QueuedConnection);
    simStatusObject->status();
    connect(simStatusObject, SIGNAL(statusChanged(SIMStatus::Status)), this,
        SLOT(statusChanged(SIMStatus::Status)), Qt::QueuedConnection);
}

SimChecker::Status SimChecker::simStatus()
{
    zuDebugStream(Q_FUNC_INFO) << lastSimStatus;
    Status result = Error;
    if (oxaIf->isOffline()) {
        result = Offline;
    } else {
        // Unsigned, so that -1 maps to entry 0 and every number outside the
        // table (also the extremes of int) falls out of range without overflow.
        const unsigned index = unsigned(int(lastSimStatus)) + 1u;
        if (index < std::size(StatusTable))
            result = StatusTable[index];
    }
    zuDebugStream(Q_FUNC_INFO) << result;
    return result;
}

bool SimChecker::isCalling()
{
    return oxaIf->isCalling();
}

// Written in full for the log line (see SimLogic::onSimLockStatusComplete).
void SimChecker::statusComplete(Cellular::SIM::SIMStatus::Status s)
{
    zuDebugStream(Q_FUNC_INFO) << s << "old:" << lastSimStatus;
    statusChanged(s);
}

void SimChecker::statusChanged(Cellular::SIM::SIMStatus::Status s)
{
    zuDebugStream(Q_FUNC_INFO) << s << "old:" << lastSimStatus;
    lastSimStatus = s;
    Q_EMIT statusChange(simStatus());
}

void SimChecker::offlineChanged(bool offline)
{
    zuDebugStream(Q_FUNC_INFO) << offline;
    Q_EMIT statusChange(simStatus());
}
