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
    // changes. They are taken from the snapshot as it is when the queued
    // signal arrives: changes that came together, such as a card's PIN state
    // and its identity, make one move rather than pass through a state.
    if (d->tracker->isSettled()) {
        d->reported = true;
        d->last = OfonoSim::readSnapshot(d->tracker->snapshot()).status;
    }
    connect(
        d->tracker.data(), &OfonoSim::SimTracker::snapshotChanged, this,
        [this](const OfonoSim::Snapshot &settled) {
            if (!d->reported) {
                d->reported = true;
                d->last = OfonoSim::readSnapshot(settled).status;
            }
            const Status now = OfonoSim::readSnapshot(d->tracker->snapshot()).status;
            if (now == d->last)
                return;
            d->last = now;
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
