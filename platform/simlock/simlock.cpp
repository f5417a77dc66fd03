#include "simlock.h"

#include "simtracker.h"

namespace simlock {

class SIMLockPrivate
{
public:
    QSharedPointer<OfonoSim::SimTracker> tracker;
};

SIMLock::SIMLock(QObject *parent)
    : QObject(parent)
    , d(new SIMLockPrivate)
{
    // Consumers connect by signature strings and queue the answers: the
    // argument types must be known under the names the signatures spell.
    qRegisterMetaType<SIMLock::SIMLockStatus>("SIMLock::SIMLockStatus");
    qRegisterMetaType<SIMLock::SIMLockError>("SIMLock::SIMLockError");

    d->tracker = OfonoSim::SimTracker::shared();
}

SIMLock::~SIMLock() = default;

void SIMLock::simLockStatus()
{
    d->tracker->whenSettled(this, [this](const OfonoSim::Snapshot &snapshot) {
        const OfonoSim::Readings readings = OfonoSim::readSnapshot(snapshot);
        Q_EMIT simLockStatusComplete(readings.simLockStatus, readings.simLockError);
    });
}

} // namespace simlock
