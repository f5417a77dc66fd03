#include "simstatus.h"

#include "simtracker.h"

namespace Cellular {
namespace SIM {

class SIMStatusPrivate
{
public:
    QSharedPointer<OfonoSim::SimTracker> tracker;
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

    d->tracker = OfonoSim::SimTracker::shared();
    // The state settled when this object comes, or else the first one that
    // settles, is what status() answers; only moves from there on are
    // changes.
    if (d->tracker->isSettled()) {
        d->reported = true;
        d->last = OfonoSim::readSnapshot(d->tracker->snapshot()).status;
    }
    connect(
        d->tracker.data(), &OfonoSim::SimTracker::snapshotChanged, this,
        [this](const OfonoSim::Snapshot &snapshot) {
            const Status now = OfonoSim::readSnapshot(snapshot).status;
            const bool moved = d->reported && now != d->last;
            d->reported = true;
            d->last = now;
            if (moved)
                Q_EMIT statusChanged(now);
        },
        Qt::QueuedConnection);
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
