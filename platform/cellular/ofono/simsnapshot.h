#pragma once

#include "simlock.h"
#include "simsecurity.h"
#include "simstatus.h"

#include <QVariantMap>

namespace OfonoSim {

// What the clients know of the telephony service at one moment.
struct Snapshot
{
    enum Source { ServiceAbsent, ServiceFailed, NoModem, SimManager };
    Source source = ServiceAbsent;
    // The SIM manager's properties of the modem in use (source SimManager only),
    // D-Bus containers already unpacked: LockedPins a QStringList, Retries a
    // QVariantMap of ints.
    QVariantMap properties;
};

// The numbers the client libraries report for one snapshot.
struct Readings
{
    Cellular::SIM::SIMStatus::Status status;
    Cellular::SIM::SIMError statusError;
    Cellular::SIM::SIMSecurity::PINQuery pinQuery;
    Cellular::SIM::SIMError pinQueryError;
    simlock::SIMLock::SIMLockStatus simLockStatus;
    simlock::SIMLock::SIMLockError simLockError;
};

// The one place where the service's SIM properties become the libraries' numbers.
Readings readSnapshot(const Snapshot &snapshot,
    Cellular::SIM::SIMSecurity::PINType pinType = Cellular::SIM::SIMSecurity::PIN);

// Whether a PinRequired or LockedPins entry names a personalisation lock.
bool isPersonalisationLock(const QString &pinType);
// Whether PinRequired holds one of the code types the service documents.
bool isKnownPinType(const QString &pinType);

// What is wrong with a SIM manager property as unpacked from the bus, in
// words for a warning; empty when nothing is. Properties the clients do not
// read pass.
QString propertyProblem(const QString &name, const QVariant &value);
// The same for the whole answer of a read, which must also say whether a
// card is present.
QString propertiesProblem(const QVariantMap &properties);

} // namespace OfonoSim

Q_DECLARE_METATYPE(OfonoSim::Snapshot)
