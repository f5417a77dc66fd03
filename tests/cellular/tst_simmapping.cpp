#include "simsnapshot.h"

#include <QtTest>

using namespace Cellular::SIM;
using OfonoSim::Readings;
using OfonoSim::Snapshot;
using simlock::SIMLock;

Q_DECLARE_METATYPE(Readings)

namespace {

Snapshot sim(const QVariantMap &properties)
{
    Snapshot s;
    s.source = Snapshot::SimManager;
    s.properties = properties;
    return s;
}

Snapshot source(Snapshot::Source from)
{
    Snapshot s;
    s.source = from;
    return s;
}

// A card the service has read: the subscriber identity is known unless a
// code is still wanted.
QVariantMap ready(const QString &required, const QStringList &locked = {}, int pukLeft = 10)
{
    QVariantMap card { { "Present", true }, { "PinRequired", required }, { "LockedPins", locked },
        { "Retries", QVariantMap { { "pin", 3 }, { "puk", pukLeft } } } };
    if (required == "none")
        card.insert("SubscriberIdentity", "001010123456789");
    return card;
}

} // namespace

// Every row is one property snapshot and the numbers all three client
// libraries report for it.
class TestSimMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readSnapshot_data()
    {
        QTest::addColumn<Snapshot>("snapshot");
        QTest::addColumn<SIMSecurity::PINType>("pinType");
        QTest::addColumn<Readings>("expected");

        // The three libraries' numbers by enumerator name; the errors other
        // than the PIN query's are rare.
        const auto row =
            [](const char *name, const Snapshot &snapshot, SIMStatus::Status status,
                SIMSecurity::PINQuery pinQuery, SIMError pinQueryError, SIMLock::SIMLockStatus lock,
                SIMSecurity::PINType pinType = SIMSecurity::PIN, SIMError statusError = NoError,
                SIMLock::SIMLockError lockError = SIMLock::NoError) {
                QTest::newRow(name)
                    << snapshot << pinType
                    << Readings { status, statusError, pinQuery, pinQueryError, lock, lockError };
            };
        const SIMSecurity::PINQuery Unknown = SIMSecurity::UnknownQuery;
        const SIMLock::SIMLockStatus Unlocked = SIMLock::SIMLockNotActive;
        const SIMLock::SIMLockStatus Locked = SIMLock::SIMLockActive;
        const SIMSecurity::PINType Pin = SIMSecurity::PIN;

        row("service absent", source(Snapshot::ServiceAbsent), SIMStatus::UnknownStatus, Unknown,
            ServiceUnavailable, SIMLock::SIMLockStatusUnknown, Pin, ServiceUnavailable,
            SIMLock::ServiceUnavailable);
        row("service failing", source(Snapshot::ServiceFailed), SIMStatus::UnknownStatus, Unknown,
            ServiceFailed, SIMLock::SIMLockStatusUnknown, Pin, ServiceFailed,
            SIMLock::ServiceFailed);
        row("no modem with a SIM manager", source(Snapshot::NoModem), SIMStatus::NoSIM, Unknown,
            SIMAbsent, Unlocked);
        row("nothing known yet", sim({}), SIMStatus::NotReady, Unknown, SIMNotReady, Unlocked);
        // a stale PinRequired from an earlier card must not win over Present
        row("card absent, stale pin", sim({ { "Present", false }, { "PinRequired", "pin" } }),
            SIMStatus::NoSIM, Unknown, SIMAbsent, Unlocked);
        row("present, not ready", sim({ { "Present", true } }), SIMStatus::NotReady, Unknown,
            SIMNotReady, Unlocked);
        row("ready, locked pins unknown",
            sim({ { "Present", true }, { "PinRequired", "none" },
                { "SubscriberIdentity", "001010123456789" } }),
            SIMStatus::Ok, Unknown, SIMNotReady, Unlocked);
        row("puk required", sim(ready("puk", { "pin" }, 1)), SIMStatus::PUKRequired,
            SIMSecurity::Enabled, NoError, Unlocked);
        row("puk, no attempt left", sim(ready("puk", { "pin" }, 0)), SIMStatus::PermanentlyBlocked,
            SIMSecurity::Enabled, NoError, Unlocked);
        // without a Retries entry the card may still take a PUK
        row("puk, retries unknown", sim({ { "Present", true }, { "PinRequired", "puk" } }),
            SIMStatus::PUKRequired, Unknown, SIMNotReady, Unlocked);
        row("pin2 required", sim(ready("pin2")), SIMStatus::Ok, SIMSecurity::Disabled, NoError,
            Unlocked);
        row("network lock required", sim(ready("network", { "pin", "network" })),
            SIMStatus::SIMLockRejected, Unknown, SIMLockActive, Locked);
        row("corp puk required", sim(ready("corppuk")), SIMStatus::SIMLockRejected, Unknown,
            SIMLockActive, Locked);
        row("lock set, not required", sim(ready("none", { "corp" })), SIMStatus::Ok,
            SIMSecurity::Disabled, NoError, Locked);
        row("lookalike of a lock", sim(ready("networks")), SIMStatus::Rejected,
            SIMSecurity::Disabled, NoError, Unlocked);
        row("pin2 asked, pin2 locked", sim(ready("none", { "pin2" })), SIMStatus::Ok,
            SIMSecurity::Enabled, NoError, Unlocked, SIMSecurity::PIN2);
        row("pin2 asked, only pin locked", sim(ready("none", { "pin" })), SIMStatus::Ok,
            SIMSecurity::Disabled, NoError, Unlocked, SIMSecurity::PIN2);
        row("unknown code type asked", sim(ready("none", { "pin" })), SIMStatus::Ok, Unknown,
            InvalidPINType, Unlocked, SIMSecurity::PINType(7));
    }

    void readSnapshot()
    {
        QFETCH(Snapshot, snapshot);
        QFETCH(SIMSecurity::PINType, pinType);
        QFETCH(Readings, expected);
        const Readings r = OfonoSim::readSnapshot(snapshot, pinType);
        QCOMPARE(int(r.status), int(expected.status));
        QCOMPARE(int(r.statusError), int(expected.statusError));
        QCOMPARE(int(r.pinQuery), int(expected.pinQuery));
        QCOMPARE(int(r.pinQueryError), int(expected.pinQueryError));
        QCOMPARE(int(r.simLockStatus), int(expected.simLockStatus));
        QCOMPARE(int(r.simLockError), int(expected.simLockError));
    }
};

QTEST_GUILESS_MAIN(TestSimMapping)
#include "tst_simmapping.moc"
