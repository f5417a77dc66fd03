#include "logcapture.h"
#include "peerprocess.h"
#include "simchecker.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QtTest>

#include <climits>

namespace {

const uint RadiosOn = 1;
const uint RadiosOff = 0;
// Long enough for a stray emission to arrive over the private bus.
const int NoMoreMs = 100;

// The checker's cellular status object: reports are sent through it, so they
// take the very connections the checker made.
void report(SimChecker &checker, const char *signal, int status, int error = 0)
{
    auto *cellular = checker.findChild<SIMStatus *>();
    QVERIFY(cellular);
    const auto s = SIMStatus::Status(status);
    const auto e = Cellular::SIM::SIMError(error);
    if (qstrcmp(signal, "statusComplete") == 0)
        QVERIFY(QMetaObject::invokeMethod(cellular, signal,
            QGenericArgument("SIMStatus::Status", &s), QGenericArgument("SIMError", &e)));
    else
        QVERIFY(
            QMetaObject::invokeMethod(cellular, signal, QGenericArgument("SIMStatus::Status", &s)));
}

QList<int> values(const QSignalSpy &spy)
{
    QList<int> list;
    for (const QList<QVariant> &args : spy)
        list << args.at(0).toInt();
    return list;
}

QStringList checkerLines(const LogCapture &log)
{
    QStringList lines;
    for (const QString &line : log.debugLines()) {
        if (line.startsWith("SimChecker") || line.startsWith("void SimChecker"))
            lines << line;
    }
    return lines;
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
    bool setRadio(uint states) { return modeControl("SetRadioStates", { states }); }

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
            QTest::newRow(row.tag) << row.cellular << int(row.expected)
                                   << (row.expected == SimChecker::Offline);
    }

    void mapping()
    {
        QFETCH(int, cellular);
        QFETCH(bool, offline);
        if (offline)
            QVERIFY(setRadio(RadiosOff));
        SimChecker checker;
        QSignalSpy spy(&checker, SIGNAL(statusChange(SimChecker::Status)));
        QTRY_COMPARE(spy.count(), 1); // the answer to the checker's own query
        if (offline)
            QCOMPARE(spy.at(0).at(0).toInt(), int(SimChecker::Offline));
        report(checker, "statusChanged", cellular);
        QTRY_COMPARE(spy.count(), 2);
        QTEST(spy.at(1).at(0).toInt(), "expected");
        QCOMPARE(int(checker.simStatus()), spy.at(1).at(0).toInt());
    }

    void nothingBeforeTheEventLoop()
    {
        LogCapture log;
        SimChecker checker;
        QSignalSpy spy(&checker, SIGNAL(statusChange(SimChecker::Status)));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(checkerLines(log), QStringList({ "SimChecker::SimChecker(QObject*):" }));
        QTRY_COMPARE(values(spy), QList<int>({ SimChecker::Ok }));
        QCOMPARE(checkerLines(log).mid(1),
            QStringList(
                { "void SimChecker::statusComplete(Cellular::SIM::SIMStatus::Status): 0 old: -1",
                    "void SimChecker::statusChanged(Cellular::SIM::SIMStatus::Status): 0 old: -1",
                    "SimChecker::Status SimChecker::simStatus(): 0",
                    "SimChecker::Status SimChecker::simStatus(): 2" }));
    }

    void offlineChangeBeforeAnySimReport_data()
    {
        QTest::addColumn<uint>("radio");
        QTest::addColumn<int>("expected");
        QTest::newRow("offline") << RadiosOff << int(SimChecker::Offline);
        // the SIM status is still unknown (-1)
        QTest::newRow("online") << RadiosOn << int(SimChecker::NotReady);
    }

    void offlineChangeBeforeAnySimReport()
    {
        QFETCH(uint, radio);
        QVERIFY(m_modem.setFault("GetModems", "never"));
        LogCapture log;
        SimChecker checker;
        QSignalSpy spy(&checker, SIGNAL(statusChange(SimChecker::Status)));
        QVERIFY(modeControl("EmitRadioStates", { radio, 1u }));
        QTRY_COMPARE(spy.count(), 1);
        QTEST(spy.at(0).at(0).toInt(), "expected");
        QVERIFY(log.contains(QtDebugMsg,
            QString("void SimChecker::offlineChanged(bool): ")
                + (radio == RadiosOff ? "true" : "false")));
        QTest::qWait(NoMoreMs); // proving that one report gives one emission
        QCOMPARE(spy.count(), 1);
    }

    void everyReportEmits()
    {
        SimChecker checker;
        QSignalSpy spy(&checker, SIGNAL(statusChange(SimChecker::Status)));
        QSignalSpy calling(&checker, SIGNAL(callingChanged(bool)));
        QTRY_COMPARE(spy.count(), 1);
        report(checker, "statusChanged", 0);
        report(checker, "statusChanged", 0);
        QTRY_COMPARE(values(spy), QList<int>({ SimChecker::Ok, SimChecker::Ok, SimChecker::Ok }));

        QVERIFY(setRadio(RadiosOff));
        QTRY_COMPARE(values(spy).mid(3), QList<int>({ SimChecker::Offline }));
        QVERIFY(setRadio(RadiosOn));
        QTRY_COMPARE(values(spy).mid(3), QList<int>({ SimChecker::Offline, SimChecker::Ok }));

        // an error alongside a ready SIM does not matter
        report(checker, "statusComplete", 0, Cellular::SIM::ServiceFailed);
        QTRY_COMPARE(values(spy).mid(5), QList<int>({ SimChecker::Ok }));

        QVERIFY(modeControl("SetCallState", { "active", "" }));
        QTRY_COMPARE(calling.count(), 1);
        QCOMPARE(calling.at(0).at(0).toBool(), true);
        QVERIFY(checker.isCalling());
    }
};

QTEST_GUILESS_MAIN(TestSimChecker)
#include "tst_simchecker.moc"
