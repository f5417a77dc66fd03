#include "logcapture.h"
#include "oxaif.h"
#include "peerprocess.h"

#include <QDBusMessage>
#include <QSignalSpy>
#include <QtTest>

// OxaIf against the reference mode-control daemon: what the client returns,
// signals and logs, and what the daemon actually received.
class TestOxaIf : public QObject
{
    Q_OBJECT

private:
    const QString &ModeInterface = PeerProcess::ModeControlInterface;
    const QString InjectedError = QStringLiteral("\"com.tavik.sim.Error.Injected\"");
    PeerProcess m_daemon { PeerProcess::ModeControl };

    void control(const QString &method, const QVariantList &arguments)
    {
        QVERIFY(PeerProcess::succeeded(m_daemon.control(ModeInterface, method, arguments)));
    }
    int countCalls(const QString &method)
    {
        int n = 0;
        for (const PeerProcess::Call &call : m_daemon.calls()) {
            n += call.method == method ? 1 : 0;
        }
        return n;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_daemon.start(), qPrintable(m_daemon.lastError())); }

    void init()
    {
        QVERIFY2(m_daemon.reset(), qPrintable(m_daemon.lastError()));
        QVERIFY(m_daemon.waitForName(true));
    }

    // Only bit 0 tells: the daemon's other bits are set in both rows.
    void firstIsOfflineQueriesOnce_data()
    {
        QTest::addColumn<uint>("states");
        QTest::addColumn<bool>("offline");
        QTest::newRow("bit 0 with every other bit") << 0xffffffffu << false;
        QTest::newRow("other bits without bit 0") << 0xfffffffeu << true;
    }
    void firstIsOfflineQueriesOnce()
    {
        QFETCH(uint, states);
        QFETCH(bool, offline);
        // Set before the client subscribes, so only the query can tell it.
        control(QStringLiteral("SetRadioStates"), { states });
        LogCapture log;
        OxaIf oxa;
        // Construction subscribes and asks nothing.
        QVERIFY(m_daemon.calls().isEmpty());
        QSignalSpy spy(&oxa, SIGNAL(offlineChanged(bool)));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(oxa.isOffline(), offline);
        }
        const QString value = offline ? "1" : "0";
        QCOMPARE(log.debugLines(),
            QStringList({ "OxaIf::OxaIf(QObject*):", "void OxaIf::initIf():",
                "void OxaIf::initIf(): Offline connected: true",
                "void OxaIf::initIf(): Calling connected: true", "void OxaIf::checkOffline():",
                "void OxaIf::initIf():", "bool OxaIf::isOffline(): " + value,
                "bool OxaIf::isOffline(): " + value, "bool OxaIf::isOffline(): " + value }));
        QCOMPARE(m_daemon.calls().size(), 1);
        QCOMPARE(m_daemon.calls().constFirst().signature, QString());
        QCOMPARE(spy.count(), 0);
    }

    void radioStatesSignal_data()
    {
        QTest::addColumn<uint>("states");
        QTest::addColumn<bool>("offline");
        QTest::newRow("bit 0 set") << 0x5u << false;
        QTest::newRow("bit 0 clear") << 0x6u << true;
    }
    void radioStatesSignal()
    {
        QFETCH(uint, states);
        QFETCH(bool, offline);
        OxaIf oxa;
        QSignalSpy spy(&oxa, SIGNAL(offlineChanged(bool)));
        LogCapture log;
        // Equal signals are passed on each time.
        control(QStringLiteral("EmitRadioStates"), { states, 2u });
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.constLast().constFirst().toBool(), offline);
        const QString line
            = QStringLiteral("void OxaIf::doOfflineChanged(uint): Bit mask: %1 m_offline: %2")
                  .arg(states)
                  .arg(offline ? 1 : 0);
        QCOMPARE(log.debugLines(), QStringList({ line, line }));
        // The signal filled the cache: asking costs no call.
        QCOMPARE(oxa.isOffline(), offline);
        QCOMPARE(countCalls("get_radio_states"), 0);
    }

    // The comparison with "none" is exact and case-sensitive; the second
    // string does not count.
    void callState_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("calling");
        QTest::newRow("none") << "none" << false;
        QTest::newRow("None") << "None" << true;
    }
    void callState()
    {
        QFETCH(QString, call);
        QFETCH(bool, calling);
        OxaIf signalled;
        QSignalSpy spy(&signalled, SIGNAL(callingChanged(bool)));
        LogCapture log;
        control(QStringLiteral("SetCallState"), { call, QStringLiteral("EMERGENCY") });
        QVERIFY(spy.wait());
        QCOMPARE(spy.constFirst().constFirst().toBool(), calling);
        QCOMPARE(log.debugLines(),
            QStringList({ QStringLiteral("void OxaIf::doCallingChanged(const QString&, const "
                                         "QString&): \"%1\" \"EMERGENCY\" m_calling: %2")
                              .arg(call)
                              .arg(calling ? 1 : 0) }));
        QCOMPARE(signalled.isCalling(), calling);
        QCOMPARE(countCalls("get_call_state"), 0);

        OxaIf queried;
        QCOMPARE(queried.isCalling(), calling);
        QCOMPARE(queried.isCalling(), calling);
        QCOMPARE(countCalls("get_call_state"), 1);
    }

    void setOnlineWaitsForTheSignal()
    {
        control(QStringLiteral("SetRadioStates"), { 0x2u });
        OxaIf oxa;
        QVERIFY(oxa.isOffline());
        QSignalSpy spy(&oxa, SIGNAL(offlineChanged(bool)));
        LogCapture log;
        oxa.setOnline();
        QCOMPARE(log.debugLines(),
            QStringList({ "void OxaIf::setOnline():",
                "void OxaIf::setOnline(): Replied. Wait for status change." }));
        // The reply came, the signal has not been handled yet.
        QVERIFY(oxa.isOffline());
        const PeerProcess::Call request = m_daemon.calls().constLast();
        QCOMPARE(request.method, QStringLiteral("req_radio_states_change"));
        QCOMPARE(request.arguments, QStringLiteral("1, 1"));
        QVERIFY(spy.wait());
        QCOMPARE(spy.constFirst().constFirst().toBool(), false);
        // Only bit 0 was asked for: the daemon's other bits stay as they were.
        QCOMPARE(m_daemon.control(ModeInterface, QStringLiteral("GetRadioStates")).arguments(),
            QVariantList({ 0x3u }));
    }

    // The daemon is online and has no call; faults show as the designed
    // fallbacks: online for the radio, a call in progress for the call. The
    // fallback is cached like a real answer.
    void faults_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("line");

        const QString offline = QStringLiteral("void OxaIf::checkOffline(): ");
        const QString calling = QStringLiteral("void OxaIf::checkCalling(): ");
        QTest::newRow("radio: error reply")
            << "get_radio_states"
            << "error" << false
            << offline + "Can't get offline status! Error: " + InjectedError
                + " \"get_radio_states failed on request\"";
        QTest::newRow("radio: reply without arguments")
            << "get_radio_states"
            << "noargs" << false << offline + "reply type: 2";
        // A string does not convert to a number, so it reads as 0: offline.
        QTest::newRow("radio: string instead of a number")
            << "get_radio_states"
            << "wrongtype" << true << QString();
        QTest::newRow("call: error reply")
            << "get_call_state"
            << "error" << true
            << calling + "Can't get call status! Error: " + InjectedError
                + " \"get_call_state failed on request\"";
        QTest::newRow("call: reply without arguments")
            << "get_call_state"
            << "noargs" << true << calling + "reply type: 2";
        QTest::newRow("call: number instead of a string")
            << "get_call_state"
            << "wrongtype" << true << QString();
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
        const bool radio = method == QLatin1String("get_radio_states");
        QCOMPARE(radio ? oxa.isOffline() : oxa.isCalling(), result);
        QCOMPARE(radio ? oxa.isOffline() : oxa.isCalling(), result);
        const bool error = fault == QLatin1String("error");
        QCOMPARE(log.warningLines(), error ? QStringList { line } : QStringList());
        QCOMPARE(log.count(QtDebugMsg, line), !error && !line.isEmpty() ? 1 : 0);
        QCOMPARE(countCalls(method), 1);
    }

    void setOnlineRefused()
    {
        QVERIFY(m_daemon.setFault("req_radio_states_change", "error"));
        OxaIf oxa;
        LogCapture log;
        oxa.setOnline();
        QCOMPARE(log.warningLines(),
            QStringList({ "void OxaIf::setOnline(): Can't change offline status! Error: "
                + InjectedError + " \"req_radio_states_change failed on request\"" }));
    }

    // An absent daemon's fallback is kept until checkOffline() asks again,
    // which finds the daemon back.
    void daemonBack()
    {
        QVERIFY(PeerProcess::succeeded(m_daemon.control(
            PeerProcess::PeerControlInterface, "LeaveBus", { "release", 0u })));
        QVERIFY(m_daemon.waitForName(false));
        OxaIf oxa;
        QSignalSpy spy(&oxa, SIGNAL(offlineChanged(bool)));
        QCOMPARE(oxa.isOffline(), false);
        QCOMPARE(oxa.isCalling(), true);

        control(QStringLiteral("SetRadioStates"), { 0x2u });
        QVERIFY(PeerProcess::succeeded(
            m_daemon.control(PeerProcess::PeerControlInterface, "RejoinBus")));
        QVERIFY(m_daemon.waitForName(true));
        oxa.checkOffline();
        QCOMPARE(oxa.isOffline(), true);
        QCOMPARE(countCalls("get_radio_states"), 1);
        // Each query while the daemon was away subscribed again; still, every
        // signal arrives once. The call-state signal after it tells when all
        // copies would have arrived.
        QSignalSpy callingSpy(&oxa, SIGNAL(callingChanged(bool)));
        control(QStringLiteral("EmitRadioStates"), { 0x1u, 1u });
        control(QStringLiteral("SetCallState"), { QStringLiteral("none"), QString() });
        QTRY_VERIFY(callingSpy.count() >= 1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.constFirst().constFirst().toBool(), false);
        QCOMPARE(callingSpy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestOxaIf)
#include "tst_oxaif.moc"
