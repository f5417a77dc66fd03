#include "simsecurity.h"

#include "simtracker.h"

namespace Cellular {
namespace SIM {

class SIMSecurityPrivate
{
public:
    QSharedPointer<OfonoSim::SimTracker> tracker;
};

SIMSecurity::SIMSecurity(QObject *parent)
    : QObject(parent)
    , d(new SIMSecurityPrivate)
{
    // Consumers connect by signature strings and queue the answers: the
    // argument types must be known under the names the signatures spell.
    qRegisterMetaType<SIMSecurity::PINQuery>("SIMSecurity::PINQuery");
    qRegisterMetaType<SIMSecurity::PINType>("SIMSecurity::PINType");
    qRegisterMetaType<SIMError>("SIMError");

    d->tracker = OfonoSim::SimTracker::shared();
}

SIMSecurity::~SIMSecurity() = default;

void SIMSecurity::pinQueryState(SIMSecurity::PINType type)
{
    d->tracker->whenSettled(this, [this, type](const OfonoSim::Snapshot &snapshot) {
        const OfonoSim::Readings readings = OfonoSim::readSnapshot(snapshot, type);
        Q_EMIT pinQueryStateComplete(readings.pinQuery, readings.pinQueryError);
    });
}

} // namespace SIM
} // namespace Cellular
