#include "logcapture.h"
#include "oxaif.h"
#include "peerprocess.h"

#include <QDBusConnection>
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

    void control(const QString &interface, const QString &method, const QVariantList &arguments)
    {
        QVERIFY(PeerProcess::succeeded(m_daemon.control(interface, method, arguments)));
    }
    void setRadioStates(uint states) { control(ModeInterface, "SetRadioStates", { states }); }
    void setCallState(const QString &call, const QString &emergency = QString())
    {
        control(ModeInterface, "SetCallState", { call, emergency });
    }
    void emitRadioStates(uint states, uint count = 1)
    {
        control(ModeInterface, "EmitRadioStates", { states, count });
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
        if (!m_daemon.isRunning()) {
            QVERIFY2(m_daemon.start(), qPrintable(m_daemon.lastError()));
        }
        QVERIFY2(m_daemon.reset(), qPrintable(m_daemon.lastError()));
        QVERIFY(m_daemon.waitForName(true));
    }

    void constructionSubscribesWithoutQuerying()
    {
        LogCapture log;
        OxaIf oxa;
        QCOMPARE(log.debugLines(),
            QStringList({ "OxaIf::OxaIf(QObject*):", "void OxaIf::initIf():",
                "void OxaIf::initIf(): Offline connected: true",
                "void OxaIf::initIf(): Calling connected: true" }));
        QVERIFY(log.warningLines().isEmpty());
        QVERIFY(m_daemon.calls().isEmpty());
    }

    void firstIsOfflineQueriesOnceAndReadsBitZero_data()
    {
        QTest::addColumn<uint>("states");
        QTest::addColumn<bool>("offline");
        QTest::newRow("bit 0 alone") << 0x1u << false;
        QTest::newRow("bit 0 with every other bit") << 0xffffffffu << false;
        QTest::newRow("other bits without bit 0") << 0xfffffffeu << true;
        QTest::newRow("no bit") << 0x0u << true;
    }
    void firstIsOfflineQueriesOnceAndReadsBitZero()
    {
        QFETCH(uint, states);
        QFETCH(bool, offline);
        // Set before the client subscribes, so only the query can tell it.
        setRadioStates(states);
        OxaIf oxa;
        QSignalSpy spy(&oxa, SIGNAL(offlineChanged(bool)));
        LogCapture log;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(oxa.isOffline(), offline);
        }
        const QString value = offline ? "1" : "0";
        QCOMPARE(log.debugLines(),
            QStringList({ "void OxaIf::checkOffline():", "void OxaIf::initIf():",
                "bool OxaIf::isOffline(): " + value, "bool OxaIf::isOffline(): " + value,
                "bool OxaIf::isOffline(): " + value }));
        QCOMPARE(countCalls("get_radio_states"), 1);
        const PeerProcess::Call call = m_daemon.calls().constFirst();
        QCOMPARE(call.signature, QString());
        QCOMPARE(call.sender, QDBusConnection::systemBus().baseService());
        QCOMPARE(spy.count(), 0);
    }

    void radioStatesSignal_data()
    {
        QTest::addColumn<uint>("states");
        QTest::addColumn<bool>("offline");
        QTest::addColumn<int>("cached");
        QTest::newRow("bit 0 set") << 0x5u << false << 0;
        QTest::newRow("bit 0 clear") << 0x6u << true << 1;
    }
    void radioStatesSignal()
    {
        QFETCH(uint, states);
        QFETCH(bool, offline);
        QFETCH(int, cached);
        OxaIf oxa;
        QSignalSpy spy(&oxa, SIGNAL(offlineChanged(bool)));
        LogCapture log;
        // Equal signals are passed on each time.
        emitRadioStates(states, 2);
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.constLast().constFirst().toBool(), offline);
        const QString line
            = QStringLiteral("void OxaIf::doOfflineChanged(uint): Bit mask: %1 m_offline: %2")
                  .arg(states);
        QCOMPARE(log.debugLines(), QStringList({ line.arg(cached), line.arg(offline ? 1 : 0) }));
        // The signal filled the cache: asking costs no call.
        QCOMPARE(oxa.isOffline(), offline);
        QCOMPARE(countCalls("get_radio_states"), 0);
    }

    void callStateQuery_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("calling");
        QTest::newRow("none") << "none" << false;
        QTest::newRow("active") << "active" << true;
        // The comparison is exact and case-sensitive.
        QTest::newRow("None") << "None" << true;
    }
    void callStateQuery()
    {
        QFETCH(QString, call);
        QFETCH(bool, calling);
        setCallState(call, QStringLiteral("ignored"));
        OxaIf oxa;
        LogCapture log;
        QCOMPARE(oxa.isCalling(), calling);
        QCOMPARE(oxa.isCalling(), calling);
        QCOMPARE(countCalls("get_call_state"), 1);
        QCOMPARE(log.count(QtDebugMsg,
                     QStringLiteral("bool OxaIf::isCalling(): %1").arg(calling ? 1 : 0)),
            2);
    }

    void callStateSignal_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("emergency");
        QTest::addColumn<bool>("calling");
        QTest::newRow("none, whatever the second string") << "none"
                                                          << "EMERGENCY" << false;
        QTest::newRow("active") << "active"
                                << "" << true;
        QTest::newRow("NONE") << "NONE"
                              << "none" << true;
    }
    void callStateSignal()
    {
        QFETCH(QString, call);
        QFETCH(QString, emergency);
        QFETCH(bool, calling);
        OxaIf oxa;
        QSignalSpy spy(&oxa, SIGNAL(callingChanged(bool)));
        LogCapture log;
        setCallState(call, emergency);
        QVERIFY(spy.wait());
        QCOMPARE(spy.constFirst().constFirst().toBool(), calling);
        QCOMPARE(log.debugLines(),
            QStringList({ QStringLiteral("void OxaIf::doCallingChanged(const QString&, const "
                                         "QString&): \"%1\" \"%2\" m_calling: %3")
                              .arg(call, emergency)
                              .arg(calling ? 1 : 0) }));
        QCOMPARE(oxa.isCalling(), calling);
        QCOMPARE(countCalls("get_call_state"), 0);
    }

    void setOnlineWaitsForTheSignal()
    {
        setRadioStates(0x2);
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
        QCOMPARE(request.signature, QStringLiteral("uu"));
        QCOMPARE(request.arguments, QStringLiteral("1, 1"));
        QVERIFY(spy.wait());
        QCOMPARE(spy.constFirst().constFirst().toBool(), false);
        QVERIFY(!oxa.isOffline());
        // Only bit 0 was asked for: the daemon's other bits stay as they were.
        QCOMPARE(m_daemon.control(ModeInterface, QStringLiteral("GetRadioStates")).arguments(),
            QVariantList({ 0x3u }));
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

    void queryFaults_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QString>("debugLine");

        // The daemon is online and has no call; faults show as the designed
        // fallbacks: online for the radio, a call in progress for the call.
        const QString offlineFunction = QStringLiteral("void OxaIf::checkOffline(): ");
        const QString callingFunction = QStringLiteral("void OxaIf::checkCalling(): ");
        QTest::newRow("radio: error reply")
            << "get_radio_states"
            << "error" << false
            << QStringList(offlineFunction + "Can't get offline status! Error: " + InjectedError
                   + " \"get_radio_states failed on request\"")
            << QString();
        QTest::newRow("radio: reply without arguments")
            << "get_radio_states"
            << "noargs" << false << QStringList() << offlineFunction + "reply type: 2";
        // A string does not convert to a number, so it reads as 0: offline.
        QTest::newRow("radio: string instead of a number")
            << "get_radio_states"
            << "wrongtype" << true << QStringList() << QString();
        QTest::newRow("radio: late reply") << "get_radio_states"
                                           << "late" << false << QStringList() << QString();
        QTest::newRow("call: error reply")
            << "get_call_state"
            << "error" << true
            << QStringList(callingFunction + "Can't get call status! Error: " + InjectedError
                   + " \"get_call_state failed on request\"")
            << QString();
        QTest::newRow("call: reply without arguments")
            << "get_call_state"
            << "noargs" << true << QStringList() << callingFunction + "reply type: 2";
        QTest::newRow("call: number instead of a string")
            << "get_call_state"
            << "wrongtype" << true << QStringList() << QString();
        QTest::newRow("call: late reply") << "get_call_state"
                                          << "late" << false << QStringList() << QString();
    }
    void queryFaults()
    {
        QFETCH(QString, method);
        QFETCH(QString, fault);
        QFETCH(bool, result);
        QFETCH(QStringList, warnings);
        QFETCH(QString, debugLine);
        const uint lateMs = 300;
        QVERIFY(m_daemon.setFault(method, fault, lateMs));
        OxaIf oxa;
        LogCapture log;
        QElapsedTimer clock;
        clock.start();
        const bool radio = method == QLatin1String("get_radio_states");
        QCOMPARE(radio ? oxa.isOffline() : oxa.isCalling(), result);
        if (fault == QLatin1String("late")) {
            QVERIFY(clock.elapsed() >= lateMs);
        }
        QCOMPARE(log.warningLines(), warnings);
        if (!debugLine.isEmpty()) {
            QCOMPARE(log.count(QtDebugMsg, debugLine), 1);
        }
        QCOMPARE(countCalls(method), 1);
        // The fallback is cached like a real answer.
        QCOMPARE(radio ? oxa.isOffline() : oxa.isCalling(), result);
        QCOMPARE(countCalls(method), 1);
    }

    void daemonAbsentThenBack()
    {
        control(PeerProcess::PeerControlInterface, "LeaveBus", { "release", 0u });
        QVERIFY(m_daemon.waitForName(false));
        QVERIFY(m_daemon.calls().isEmpty());

        OxaIf oxa;
        QSignalSpy spy(&oxa, SIGNAL(offlineChanged(bool)));
        LogCapture log;
        QCOMPARE(oxa.isOffline(), false);
        QCOMPARE(oxa.isCalling(), true);
        const QString unknown = QStringLiteral(
            "\"org.freedesktop.DBus.Error.ServiceUnknown\" \"The name com.tavik.oxa was not "
            "provided by any .service files\"");
        QCOMPARE(log.warningLines(),
            QStringList({ "void OxaIf::checkOffline(): Can't get offline status! Error: " + unknown,
                "void OxaIf::checkCalling(): Can't get call status! Error: " + unknown }));

        // The daemon comes back offline: the next explicit query finds it,
        // and its signals reach the client subscribed while it was away.
        setRadioStates(0x2);
        control(PeerProcess::PeerControlInterface, "RejoinBus", {});
        QVERIFY(m_daemon.waitForName(true));
        log.clear();
        oxa.checkOffline();
        QVERIFY(log.warningLines().isEmpty());
        QCOMPARE(oxa.isOffline(), true);
        QCOMPARE(countCalls("get_radio_states"), 1);
        QSignalSpy callingSpy(&oxa, SIGNAL(callingChanged(bool)));
        emitRadioStates(0x1);
        // Each query while the daemon was away subscribed again; still, every
        // signal arrives once. The call-state signal after it tells when all
        // copies would have arrived.
        setCallState(QStringLiteral("active"));
        QTRY_VERIFY(callingSpy.count() >= 1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.constFirst().constFirst().toBool(), false);
        QCOMPARE(callingSpy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestOxaIf)
#include "tst_oxaif.moc"
