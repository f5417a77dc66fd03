#include "simstatus.h"

#include "simtracker.h"

namespace Cellular {
namespace SIM {

class SIMStatusPrivate
{
public:
    OfonoSim::SimTracker *tracker = nullptr;
    bool reported = false;
    SIMStatus::Status last = SIMStatus::UnknownStatus;
};

SIMStatus::SIMStatus(QObject *parent)
    : QObject(parent)
    , d(new SIMStatusPrivate)
{
    // Consumers connect by signature strings and queue the answers: the
    // argument types must be known under the names the signatures spell.
    qRegisterMetaType<SIMStatus::Status>("SIMStatus::Status");
    qRegisterMetaType<SIMError>("SIMError");

    d->tracker = new OfonoSim::SimTracker(this);
    connect(d->tracker, &OfonoSim::SimTracker::snapshotChanged, this,
        [this](const OfonoSim::Snapshot &snapshot) {
            const Status now = OfonoSim::readSnapshot(snapshot).status;
            // The first settled state is what status() answers; only moves
            // from there on are changes.
            const bool moved = d->reported && now != d->last;
            d->reported = true;
            d->last = now;
            if (moved)
                Q_EMIT statusChanged(now);
        });
}

SIMStatus::~SIMStatus() = default;

void SIMStatus::status()
{
    d->tracker->whenSettled(this, [this](const OfonoSim::Snapshot &snapshot) {
        const OfonoSim::Readings readings = OfonoSim::readSnapshot(snapshot);
        Q_EMIT statusComplete(readings.status, readings.statusError);
    });
}

} // namespace SIM
} // namespace Cellular
