#include "simsnapshot.h"

#include "ofononames.h"

#include <QStringList>

#include <algorithm>

using Cellular::SIM::SIMError;
using Cellular::SIM::SIMSecurity;
using Cellular::SIM::SIMStatus;
using simlock::SIMLock;

namespace OfonoSim {

namespace {

const QLatin1String NoCode("none");
const QLatin1String PinCode("pin");
const QLatin1String PukCode("puk");
const QLatin1String Pin2Code("pin2");
const QLatin1String Puk2Code("puk2");
const QLatin1String PukSuffix("puk");

bool isCount(const QVariant &value)
{
    const int type = value.userType();
    return type == QMetaType::Int || type == QMetaType::UInt || type == QMetaType::UChar;
}

QString wrongType(const QString &name, const QVariant &value, const char *expected)
{
    const char *held = value.isValid() ? value.typeName() : "an unreadable value";
    return QStringLiteral("%1 holds %2 instead of %3")
        .arg(name, QLatin1String(held), QLatin1String(expected));
}

SIMStatus::Status statusForRequired(const QString &required, const QVariantMap &retries)
{
    if (required == NoCode || required == Pin2Code || required == Puk2Code)
        return SIMStatus::Ok; // the card works; only some services want PIN2
    if (required == PinCode)
        return SIMStatus::PINRequired;
    if (required == PukCode) {
        const auto left = retries.constFind(PukCode);
        const bool noneLeft = left != retries.constEnd() && left->toInt() <= 0;
        return noneLeft ? SIMStatus::PermanentlyBlocked : SIMStatus::PUKRequired;
    }
    if (isPersonalisationLock(required))
        return SIMStatus::SIMLockRejected;
    return SIMStatus::Rejected;
}

} // namespace

bool isPersonalisationLock(const QString &pinType)
{
    static const QStringList locks { QStringLiteral("phone"), QStringLiteral("firstphone"),
        QStringLiteral("network"), QStringLiteral("netsub"), QStringLiteral("service"),
        QStringLiteral("corp") };
    QString base = pinType;
    if (base.endsWith(PukSuffix))
        base.chop(PukSuffix.size());
    return locks.contains(base);
}

bool isKnownPinType(const QString &pinType)
{
    return pinType == NoCode || pinType == PinCode || pinType == PukCode || pinType == Pin2Code
        || pinType == Puk2Code || isPersonalisationLock(pinType);
}

QString propertyProblem(const QString &name, const QVariant &value)
{
    if (name == PresentProperty && value.userType() != QMetaType::Bool)
        return wrongType(name, value, "a boolean");
    if ((name == PinRequiredProperty || name == SubscriberIdentityProperty)
        && value.userType() != QMetaType::QString)
        return wrongType(name, value, "a string");
    if (name == LockedPinsProperty && value.userType() != QMetaType::QStringList)
        return wrongType(name, value, "a list of strings");
    if (name == RetriesProperty) {
        const QVariantMap retries = value.toMap();
        if (value.userType() != QMetaType::QVariantMap
            || !std::all_of(retries.cbegin(), retries.cend(), isCount))
            return wrongType(name, value, "counts by code type");
    }
    return QString();
}

QString propertiesProblem(const QVariantMap &properties)
{
    if (!properties.contains(PresentProperty))
        return QStringLiteral("no ") + PresentProperty;
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        const QString problem = propertyProblem(it.key(), it.value());
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

Readings readSnapshot(const Snapshot &snapshot, SIMSecurity::PINType pinType)
{
    Readings r { SIMStatus::UnknownStatus, Cellular::SIM::NoError, SIMSecurity::UnknownQuery,
        Cellular::SIM::NoError, SIMLock::SIMLockStatusUnknown, SIMLock::NoError };

    switch (snapshot.source) {
    case Snapshot::ServiceAbsent:
        r.statusError = r.pinQueryError = Cellular::SIM::ServiceUnavailable;
        r.simLockError = SIMLock::ServiceUnavailable;
        return r;
    case Snapshot::ServiceFailed:
        r.statusError = r.pinQueryError = Cellular::SIM::ServiceFailed;
        r.simLockError = SIMLock::ServiceFailed;
        return r;
    case Snapshot::NoModem:
        r.status = SIMStatus::NoSIM;
        r.pinQueryError = Cellular::SIM::SIMAbsent;
        r.simLockStatus = SIMLock::SIMLockNotActive;
        return r;
    case Snapshot::SimManager:
        break;
    }

    const QVariantMap &p = snapshot.properties;
    const QStringList locked = p.value(LockedPinsProperty).toStringList();
    const bool haveRequired = p.contains(PinRequiredProperty);
    const QString required = p.value(PinRequiredProperty).toString();

    const bool lockRequired = haveRequired && isPersonalisationLock(required);
    const bool lockLocked = std::any_of(locked.cbegin(), locked.cend(), isPersonalisationLock);
    r.simLockStatus
        = (lockRequired || lockLocked) ? SIMLock::SIMLockActive : SIMLock::SIMLockNotActive;

    if (!p.contains(PresentProperty)) {
        r.status = SIMStatus::NotReady;
        r.pinQueryError = Cellular::SIM::SIMNotReady;
        return r;
    }
    if (!p.value(PresentProperty).toBool()) {
        r.status = SIMStatus::NoSIM;
        r.pinQueryError = Cellular::SIM::SIMAbsent;
        return r;
    }
    // The service says "none" from the moment a card is found until it has
    // asked the card for its PIN state, with LockedPins and Retries empty all
    // the while. It reads the subscriber identity only once that state is
    // known and no PIN is pending: only then does "none" mean a ready card.
    const bool pinStateKnown
        = required != NoCode || !p.value(SubscriberIdentityProperty).toString().isEmpty();
    if (!haveRequired || !pinStateKnown) {
        r.status = SIMStatus::NotReady;
        r.pinQueryError = Cellular::SIM::SIMNotReady;
        return r;
    }

    r.status = statusForRequired(required, p.value(RetriesProperty).toMap());

    if (lockRequired) {
        r.pinQueryError = Cellular::SIM::SIMLockActive;
    } else if (!p.contains(LockedPinsProperty)) {
        r.pinQueryError = Cellular::SIM::SIMNotReady;
    } else if (pinType == SIMSecurity::PIN || pinType == SIMSecurity::PIN2) {
        const QString name = pinType == SIMSecurity::PIN ? QString(PinCode) : QString(Pin2Code);
        r.pinQuery = locked.contains(name) ? SIMSecurity::Enabled : SIMSecurity::Disabled;
    } else {
        r.pinQueryError = Cellular::SIM::InvalidPINType;
    }
    return r;
}

} // namespace OfonoSim
