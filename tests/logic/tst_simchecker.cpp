// SimChecker against the simulated peers: the cellular statuses a modem cannot
// be made to report, the checker's start and what it relays.

#include "peerprocess.h"
#include "simchecker.h"

#include <QSignalSpy>
#include <QtTest>

#include <climits>

namespace {
const uint RadiosOn = 1;
const uint RadiosOff = 0;

// Reports are sent through the checker's cellular status object, so they
// take the very connections the checker made.
void report(SimChecker &checker, int status)
{
    auto *cellular = checker.findChild<SIMStatus *>();
    QVERIFY(cellular);
    const auto s = SIMStatus::Status(status);
    QVERIFY(QMetaObject::invokeMethod(
        cellular, "statusChanged", QGenericArgument("SIMStatus::Status", &s)));
}
} // namespace

class TestSimChecker : public QObject
{
    Q_OBJECT

public:
    TestSimChecker()
        : m_modeControl(PeerProcess::ModeControl)
        , m_modem(PeerProcess::Modem)
    { }

private:
    bool modeControl(const QString &method, const QVariantList &arguments)
    {
        return PeerProcess::succeeded(
            m_modeControl.control(PeerProcess::ModeControlInterface, method, arguments));
    }

    PeerProcess m_modeControl;
    PeerProcess m_modem;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_modeControl.start(), qPrintable(m_modeControl.lastError()));
        QVERIFY2(m_modem.start({ "--pin-entered", "--start-up-ms", "30" }),
            qPrintable(m_modem.lastError()));
    }

    void init()
    {
        QVERIFY(m_modeControl.reset());
        QVERIFY(m_modem.reset());
    }

    // A mapping table in the product, row for row, and the values around it;
    // being offline wins over a ready card and over one without a SIM.
    void mapping_data()
    {
        QTest::addColumn<int>("cellular");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("offline");

        const struct
        {
            const char *tag;
            int cellular;
            SimChecker::Status expected;
        } rows[] = {
            { "below the table", int(SIMStatus::UnknownStatus) - 1, SimChecker::Error },
            { "UnknownStatus", int(SIMStatus::UnknownStatus), SimChecker::NotReady },
            { "Ok", int(SIMStatus::Ok), SimChecker::Ok },
            { "NoSIM", int(SIMStatus::NoSIM), SimChecker::NoSim },
            { "PermanentlyBlocked", int(SIMStatus::PermanentlyBlocked), SimChecker::Error },
            { "NotReady", int(SIMStatus::NotReady), SimChecker::NotReady },
            { "PINRequired", int(SIMStatus::PINRequired), SimChecker::NotActivated },
            { "PUKRequired", int(SIMStatus::PUKRequired), SimChecker::NotActivated },
            { "Rejected", int(SIMStatus::Rejected), SimChecker::Error },
            { "SIMLockRejected", int(SIMStatus::SIMLockRejected), SimChecker::SimLocked },
            { "above the table", int(SIMStatus::SIMLockRejected) + 1, SimChecker::Error },
            // plus one must not overflow
            { "largest int", INT_MAX, SimChecker::Error },
            { "smallest int", INT_MIN, SimChecker::Error },
            { "Ok while offline", int(SIMStatus::Ok), SimChecker::Offline },
            { "NoSIM while offline", int(SIMStatus::NoSIM), SimChecker::Offline },
        };
        for (const auto &row : rows)
            QTest::newRow(row.tag)
                << row.cellular << int(row.expected) << (row.expected == SimChecker::Offline);
    }

    void mapping()
    {
        QFETCH(int, cellular);
        QFETCH(bool, offline);
        if (offline)
            QVERIFY(modeControl("SetRadioStates", { RadiosOff }));
        SimChecker checker;
        QSignalSpy spy(&checker, SIGNAL(statusChange(SimChecker::Status)));
        QTRY_COMPARE(spy.count(), 1); // the answer to the checker's own query
        report(checker, cellular);
        QTRY_COMPARE(spy.count(), 2);
        QTEST(spy.at(1).at(0).toInt(), "expected");
    }

    // Before the card is read its status is unknown, which is "not ready".
    // Reports are passed on, and so are calls.
    void startAndRelays()
    {
        QVERIFY(m_modem.setFault("GetModems", "never"));
        SimChecker checker;
        QSignalSpy spy(&checker, SIGNAL(statusChange(SimChecker::Status)));
        QSignalSpy calling(&checker, SIGNAL(callingChanged(bool)));
        QVERIFY(modeControl("EmitRadioStates", { RadiosOn, 1u }));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), int(SimChecker::NotReady));
        report(checker, SIMStatus::Ok);
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toInt(), int(SimChecker::Ok));

        QVERIFY(modeControl("SetCallState", { "active", "" }));
        QTRY_COMPARE(calling.count(), 1);
        QCOMPARE(calling.at(0).at(0).toBool(), true);
        QVERIFY(checker.isCalling());
    }
};

QTEST_GUILESS_MAIN(TestSimChecker)
#include "tst_simchecker.moc"
