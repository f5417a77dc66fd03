#include "simsnapshot.h"

#include <QtTest>

using Cellular::SIM::SIMSecurity;
using OfonoSim::Snapshot;

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

        QTest::newRow("service absent")
            << source(Snapshot::ServiceAbsent) << -1 << 1 << 2 << 1 << 0 << 1;
        QTest::newRow("service failing")
            << source(Snapshot::ServiceFailed) << -1 << 2 << 2 << 2 << 0 << 2;
        QTest::newRow("no modem with a SIM manager")
            << source(Snapshot::NoModem) << 1 << 0 << 2 << 4 << 1 << 0;
        QTest::newRow("nothing known yet") << sim({}) << 3 << 0 << 2 << 3 << 1 << 0;
        QTest::newRow("card absent") << sim({ { "Present", false } }) << 1 << 0 << 2 << 4 << 1 << 0;
        // a stale PinRequired from an earlier card must not win over Present
        QTest::newRow("card absent, stale pin")
            << sim({ { "Present", false }, { "PinRequired", "pin" } }) << 1 << 0 << 2 << 4 << 1
            << 0;
        QTest::newRow("present, not ready")
            << sim({ { "Present", true } }) << 3 << 0 << 2 << 3 << 1 << 0;
        QTest::newRow("ready, request off") << sim(ready("none")) << 0 << 0 << 1 << 0 << 1 << 0;
        QTest::newRow("ready, request on")
            << sim(ready("none", { "pin" })) << 0 << 0 << 0 << 0 << 1 << 0;
        QTest::newRow("ready, locked pins unknown")
            << sim({ { "Present", true }, { "PinRequired", "none" },
                   { "SubscriberIdentity", "001010123456789" } })
            << 0 << 0 << 2 << 3 << 1 << 0;
        // the service's "none" before it has read the card's PIN state
        QTest::newRow("card being read")
            << sim({ { "Present", true }, { "PinRequired", "none" }, { "LockedPins", QStringList() },
                   { "Retries", QVariantMap() } })
            << 3 << 0 << 2 << 3 << 1 << 0;
        QTest::newRow("pin required") << sim(ready("pin", { "pin" })) << 4 << 0 << 0 << 0 << 1 << 0;
        QTest::newRow("puk required")
            << sim(ready("puk", { "pin" }, 1)) << 5 << 0 << 0 << 0 << 1 << 0;
        QTest::newRow("puk, no attempt left")
            << sim(ready("puk", { "pin" }, 0)) << 2 << 0 << 0 << 0 << 1 << 0;
        // without a Retries entry the card may still take a PUK
        QTest::newRow("puk, retries unknown")
            << sim({ { "Present", true }, { "PinRequired", "puk" } }) << 5 << 0 << 2 << 3 << 1 << 0;
        QTest::newRow("pin2 required") << sim(ready("pin2")) << 0 << 0 << 1 << 0 << 1 << 0;
        QTest::newRow("network lock required")
            << sim(ready("network", { "pin", "network" })) << 7 << 0 << 2 << 5 << 2 << 0;
        QTest::newRow("network puk required")
            << sim(ready("networkpuk")) << 7 << 0 << 2 << 5 << 2 << 0;
        QTest::newRow("corp puk required") << sim(ready("corppuk")) << 7 << 0 << 2 << 5 << 2 << 0;
        QTest::newRow("lock set, not required")
            << sim(ready("none", { "corp" })) << 0 << 0 << 1 << 0 << 2 << 0;
        QTest::newRow("unknown requirement")
            << sim(ready("sim-exploded")) << 6 << 0 << 1 << 0 << 1 << 0;
        QTest::newRow("lookalike of a lock")
            << sim(ready("networks")) << 6 << 0 << 1 << 0 << 1 << 0;
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
