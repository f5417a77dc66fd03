#include "logcapture.h"
#include "oxaif.h"
#include "peerprocess.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

// OxaIf against the reference mode-control daemon: what the client returns,
// signals and logs, and what the daemon actually received. The page's tests
// (e2e, faults) cover the radio signal, an absent daemon and signal storms.
class TestOxaIf : public QObject
{
    Q_OBJECT

private:
    const QString &ModeInterface = PeerProcess::ModeControlInterface;
    const QString InjectedError = QStringLiteral("\"com.tavik.sim.Error.Injected\"");
    const QString GetRadioStates = QStringLiteral("get_radio_states");
    PeerProcess m_daemon { PeerProcess::ModeControl };

    void control(const QString &method, const QVariantList &arguments = {})
    {
        QVERIFY(PeerProcess::succeeded(m_daemon.control(ModeInterface, method, arguments)));
    }
    int countCalls(const QString &method)
    {
        const QList<PeerProcess::Call> calls = m_daemon.calls();
        return int(std::count_if(calls.cbegin(), calls.cend(),
            [&method](const PeerProcess::Call &call) { return call.method == method; }));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_daemon.start(), qPrintable(m_daemon.lastError())); }

    void init()
    {
        QVERIFY2(m_daemon.reset(), qPrintable(m_daemon.lastError()));
        QVERIFY(m_daemon.waitForName(true));
    }

    // Only bit 0 tells: the daemon's other bits are set in both radio rows.
    // The comparison with "none" is exact and case-sensitive; the emergency
    // string does not count.
    void signalAndQuery_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<bool>("result");
        QTest::newRow("radio: bit 0 with every other bit")
            << "SetRadioStates" << QVariantList { 0xffffffffu } << false;
        QTest::newRow("radio: other bits without bit 0")
            << "SetRadioStates" << QVariantList { 0xfffffffeu } << true;
        QTest::newRow("call: none")
            << "SetCallState" << QVariantList { "none", "EMERGENCY" } << false;
        QTest::newRow("call: None")
            << "SetCallState" << QVariantList { "None", "EMERGENCY" } << true;
    }
    void signalAndQuery()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(bool, result);
        const bool radio = method == QLatin1String("SetRadioStates");
        const QString query = radio ? GetRadioStates : QStringLiteral("get_call_state");
        const auto read = [radio](OxaIf &oxa) { return radio ? oxa.isOffline() : oxa.isCalling(); };
        OxaIf signalled;
        QSignalSpy spy(
            &signalled, radio ? SIGNAL(offlineChanged(bool)) : SIGNAL(callingChanged(bool)));
        LogCapture log;
        control(method, arguments);
        QVERIFY(spy.wait());
        QCOMPARE(spy.constFirst().constFirst().toBool(), result);
        // The radio's line is checked by the storm tests.
        const QString line = QStringLiteral("void OxaIf::doCallingChanged(const QString&, const "
                                            "QString&): \"%1\" \"EMERGENCY\" m_calling: %2");
        QVERIFY(
            radio || log.contains(QtDebugMsg, line.arg(arguments.value(0).toString()).arg(result)));
        // The signal filled the cache: asking costs no call.
        QCOMPARE(read(signalled), result);
        QCOMPARE(countCalls(query), 0);

        // A client made afterwards asks once, and only when asked.
        OxaIf queried;
        QCOMPARE(countCalls(query), 0);
        QCOMPARE(read(queried), result);
        QCOMPARE(read(queried), result);
        QCOMPARE(countCalls(query), 1);
    }

    void setOnlineWaitsForTheSignal()
    {
        control(QStringLiteral("SetRadioStates"), { 0x2u });
        OxaIf oxa;
        QVERIFY(oxa.isOffline());
        QSignalSpy spy(&oxa, SIGNAL(offlineChanged(bool)));
        LogCapture log;
        oxa.setOnline();
        QVERIFY(
            log.contains(QtDebugMsg, "void OxaIf::setOnline(): Replied. Wait for status change."));
        // The reply came, the signal has not been handled yet.
        QVERIFY(oxa.isOffline());
        const PeerProcess::Call request = m_daemon.calls().constLast();
        QCOMPARE(request.method + ": " + request.arguments, "req_radio_states_change: 1, 1");
        QVERIFY(spy.wait());
        QCOMPARE(spy.constFirst().constFirst().toBool(), false);
        // Only bit 0 was asked for: the daemon's other bits stay as they were.
        QCOMPARE(m_daemon.control(ModeInterface, QStringLiteral("GetRadioStates")).arguments(),
            QVariantList({ 0x3u }));

        // Refused: a warning.
        QVERIFY(m_daemon.setFault(request.method, QStringLiteral("error")));
        log.clear();
        oxa.setOnline();
        QCOMPARE(log.warningLines(),
            QStringList({ "void OxaIf::setOnline(): Can't change offline status! Error: "
                + InjectedError + " \"req_radio_states_change failed on request\"" }));
    }

    // Faults show as the designed fallbacks, cached like real answers: online
    // for the radio, a call in progress for the call.
    void faults_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("line");

        const auto row = [](const char *name, const QString &method, const char *fault, bool result,
                             const QString &line) {
            QTest::newRow(name) << method << QString(fault) << result << line;
        };
        // The radio's error reply is the page's absent daemon (tests/faults).
        row("radio: reply without arguments", GetRadioStates, "noargs", false,
            "void OxaIf::checkOffline(): reply type: 2");
        // A string does not convert to a number, so it reads as 0: offline.
        row("radio: string instead of a number", GetRadioStates, "wrongtype", true, QString());
        const QString callState = QStringLiteral("get_call_state");
        const QString calling = QStringLiteral("void OxaIf::checkCalling(): ");
        row("call: error reply", callState, "error", true,
            calling + "Can't get call status! Error: " + InjectedError
                + " \"get_call_state failed on request\"");
        row("call: reply without arguments", callState, "noargs", true, calling + "reply type: 2");
        row("call: number instead of a string", callState, "wrongtype", true, QString());
    }
    void faults()
    {
        QFETCH(QString, method);
        QFETCH(QString, fault);
        QFETCH(bool, result);
        QFETCH(QString, line);
        QVERIFY(m_daemon.setFault(method, fault));
        OxaIf oxa;
        LogCapture log;
        const bool radio = method == GetRadioStates;
        QCOMPARE(radio ? oxa.isOffline() : oxa.isCalling(), result);
        QCOMPARE(radio ? oxa.isOffline() : oxa.isCalling(), result);
        const bool error = fault == QLatin1String("error");
        QCOMPARE(log.warningLines(), error ? QStringList { line } : QStringList());
        QCOMPARE(log.count(QtDebugMsg, line), !error && !line.isEmpty() ? 1 : 0);
        QCOMPARE(countCalls(method), 1);
    }

    // An absent daemon's fallback is kept until checkOffline() asks again,
    // which finds the daemon back.
    void daemonBack()
    {
        QVERIFY(PeerProcess::succeeded(
            m_daemon.control(PeerProcess::PeerControlInterface, "LeaveBus", { "release", 0u })));
        QVERIFY(m_daemon.waitForName(false));
        OxaIf oxa;
        QCOMPARE(oxa.isOffline(), false);
        control(QStringLiteral("SetRadioStates"), { 0x2u });
        QVERIFY(PeerProcess::succeeded(
            m_daemon.control(PeerProcess::PeerControlInterface, "RejoinBus")));
        QVERIFY(m_daemon.waitForName(true));
        QCOMPARE(oxa.isOffline(), false);
        oxa.checkOffline();
        QCOMPARE(oxa.isOffline(), true);
        QCOMPARE(countCalls(GetRadioStates), 1);
    }
};

QTEST_GUILESS_MAIN(TestOxaIf)
#include "tst_oxaif.moc"
