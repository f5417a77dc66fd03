#include "simsnapshot.h"

#include <QtTest>

using namespace Cellular::SIM;
using OfonoSim::Snapshot;
using simlock::SIMLock;

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
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("statusError");
        QTest::addColumn<int>("pinQuery");
        QTest::addColumn<int>("pinQueryError");
        QTest::addColumn<int>("lock");
        QTest::addColumn<int>("lockError");

        // The numbers of the three libraries, by enumerator name.
        const auto row = [](const char *name, const Snapshot &snapshot, SIMStatus::Status status,
                             SIMError statusError, SIMSecurity::PINQuery pinQuery,
                             SIMError pinQueryError, SIMLock::SIMLockStatus lock,
                             SIMLock::SIMLockError lockError = SIMLock::NoError) {
            QTest::newRow(name) << snapshot << int(status) << int(statusError) << int(pinQuery)
                                << int(pinQueryError) << int(lock) << int(lockError);
        };
        const SIMSecurity::PINQuery Unknown = SIMSecurity::UnknownQuery;
        const SIMLock::SIMLockStatus Unlocked = SIMLock::SIMLockNotActive;
        const SIMLock::SIMLockStatus Locked = SIMLock::SIMLockActive;

        row("service absent", source(Snapshot::ServiceAbsent), SIMStatus::UnknownStatus,
            ServiceUnavailable, Unknown, ServiceUnavailable, SIMLock::SIMLockStatusUnknown,
            SIMLock::ServiceUnavailable);
        row("service failing", source(Snapshot::ServiceFailed), SIMStatus::UnknownStatus,
            ServiceFailed, Unknown, ServiceFailed, SIMLock::SIMLockStatusUnknown,
            SIMLock::ServiceFailed);
        row("no modem with a SIM manager", source(Snapshot::NoModem), SIMStatus::NoSIM, NoError,
            Unknown, SIMAbsent, Unlocked);
        row("nothing known yet", sim({}), SIMStatus::NotReady, NoError, Unknown, SIMNotReady,
            Unlocked);
        row("card absent", sim({ { "Present", false } }), SIMStatus::NoSIM, NoError, Unknown,
            SIMAbsent, Unlocked);
        // a stale PinRequired from an earlier card must not win over Present
        row("card absent, stale pin", sim({ { "Present", false }, { "PinRequired", "pin" } }),
            SIMStatus::NoSIM, NoError, Unknown, SIMAbsent, Unlocked);
        row("present, not ready", sim({ { "Present", true } }), SIMStatus::NotReady, NoError,
            Unknown, SIMNotReady, Unlocked);
        row("ready, request off", sim(ready("none")), SIMStatus::Ok, NoError,
            SIMSecurity::Disabled, NoError, Unlocked);
        row("ready, request on", sim(ready("none", { "pin" })), SIMStatus::Ok, NoError,
            SIMSecurity::Enabled, NoError, Unlocked);
        row("ready, locked pins unknown",
            sim({ { "Present", true }, { "PinRequired", "none" },
                { "SubscriberIdentity", "001010123456789" } }),
            SIMStatus::Ok, NoError, Unknown, SIMNotReady, Unlocked);
        // the service's "none" before it has read the card's PIN state
        row("card being read",
            sim({ { "Present", true }, { "PinRequired", "none" }, { "LockedPins", QStringList() },
                { "Retries", QVariantMap() } }),
            SIMStatus::NotReady, NoError, Unknown, SIMNotReady, Unlocked);
        row("pin required", sim(ready("pin", { "pin" })), SIMStatus::PINRequired, NoError,
            SIMSecurity::Enabled, NoError, Unlocked);
        row("puk required", sim(ready("puk", { "pin" }, 1)), SIMStatus::PUKRequired, NoError,
            SIMSecurity::Enabled, NoError, Unlocked);
        row("puk, no attempt left", sim(ready("puk", { "pin" }, 0)), SIMStatus::PermanentlyBlocked,
            NoError, SIMSecurity::Enabled, NoError, Unlocked);
        // without a Retries entry the card may still take a PUK
        row("puk, retries unknown", sim({ { "Present", true }, { "PinRequired", "puk" } }),
            SIMStatus::PUKRequired, NoError, Unknown, SIMNotReady, Unlocked);
        row("pin2 required", sim(ready("pin2")), SIMStatus::Ok, NoError, SIMSecurity::Disabled,
            NoError, Unlocked);
        row("network lock required", sim(ready("network", { "pin", "network" })),
            SIMStatus::SIMLockRejected, NoError, Unknown, SIMLockActive, Locked);
        row("network puk required", sim(ready("networkpuk")), SIMStatus::SIMLockRejected, NoError,
            Unknown, SIMLockActive, Locked);
        row("corp puk required", sim(ready("corppuk")), SIMStatus::SIMLockRejected, NoError,
            Unknown, SIMLockActive, Locked);
        row("lock set, not required", sim(ready("none", { "corp" })), SIMStatus::Ok, NoError,
            SIMSecurity::Disabled, NoError, Locked);
        row("unknown requirement", sim(ready("sim-exploded")), SIMStatus::Rejected, NoError,
            SIMSecurity::Disabled, NoError, Unlocked);
        row("lookalike of a lock", sim(ready("networks")), SIMStatus::Rejected, NoError,
            SIMSecurity::Disabled, NoError, Unlocked);
    }

    void readSnapshot()
    {
        QFETCH(Snapshot, snapshot);
        QFETCH(int, status);
        QFETCH(int, statusError);
        QFETCH(int, pinQuery);
        QFETCH(int, pinQueryError);
        QFETCH(int, lock);
        QFETCH(int, lockError);
        const OfonoSim::Readings r = OfonoSim::readSnapshot(snapshot);
        QCOMPARE(int(r.status), status);
        QCOMPARE(int(r.statusError), statusError);
        QCOMPARE(int(r.pinQuery), pinQuery);
        QCOMPARE(int(r.pinQueryError), pinQueryError);
        QCOMPARE(int(r.simLockStatus), lock);
        QCOMPARE(int(r.simLockError), lockError);
    }

    void pinTypes_data()
    {
        QTest::addColumn<QStringList>("locked");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("pinQuery");
        QTest::addColumn<int>("error");

        QTest::newRow("pin2 locked") << QStringList { "pin2" } << int(SIMSecurity::PIN2) << 0 << 0;
        QTest::newRow("only pin locked, ask pin2")
            << QStringList { "pin" } << int(SIMSecurity::PIN2) << 1 << 0;
        QTest::newRow("only pin2 locked, ask pin")
            << QStringList { "pin2" } << int(SIMSecurity::PIN) << 1 << 0;
        QTest::newRow("unknown type") << QStringList { "pin" } << 7 << 2 << 6;
    }

    void pinTypes()
    {
        QFETCH(QStringList, locked);
        QFETCH(int, type);
        QFETCH(int, pinQuery);
        QFETCH(int, error);
        const OfonoSim::Readings r
            = OfonoSim::readSnapshot(sim(ready("none", locked)), SIMSecurity::PINType(type));
        QCOMPARE(int(r.pinQuery), pinQuery);
        QCOMPARE(int(r.pinQueryError), error);
    }
};

QTEST_GUILESS_MAIN(TestSimMapping)
#include "tst_simmapping.moc"
