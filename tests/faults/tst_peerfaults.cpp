// The SIM page against peers that are absent, appear late, crash, answer
// wrongly, send signals of the wrong shape, or are spoofed by a connection
// that owns nothing: the page never crashes and shows what it should.

#include "faultfixture.h"
#include "logcapture.h"
#include "pinqueryinterface.h"

#include <QDBusVariant>
#include <QRegularExpression>
#include <QtTest>
#include <zubutton.h>

using namespace Faults;

namespace {
const QString OxaService = QStringLiteral("com.tavik.oxa");
const QString OxaSignalPath = QStringLiteral("/com/tavik/oxa/signal");
const QString OxaSignalInterface = QStringLiteral("com.tavik.oxa.signal");
const QString PinService = QStringLiteral("com.tavik.ronwe.pin");
const QString PinPath = QStringLiteral("/com/tavik/ronwe/pin");
const QString PinInterface = QStringLiteral("com.tavik.ronwe.pin.PinCodeQuery");
const QString SimPath = QStringLiteral("/sim_0");
const QString SimInterface = QStringLiteral("org.ofono.SimManager");
const QString Modem = QStringLiteral("modem");
const QString ModeControlPeer = QStringLiteral("mode control");
const QString PinQueryPeer = QStringLiteral("pin query");

// The switch moved off by the user and left there: the change PIN row stays.
const QString SwitchedOffRows = QStringLiteral("SimPinRequestItem:off SimPinChangeItem");
const QString ReportedOffRows = QStringLiteral("SimPinRequestItem:off");
const QString NoInterface
    = QStringLiteral("void SimLogic::onEnablePinRequested(bool) No interface to PIN query!");
const uint Offline = 0;
const int PinRequestOff = 1;

// Qt's own connect warnings end in " in <file>:<line>" where the connect was
// compiled without QT_NO_DEBUG (a Debug build); the place is not compared.
QStringList withoutPlace(QStringList lines)
{
    static const QRegularExpression place(QStringLiteral(" in \\S.*:[0-9]+$"));
    for (QString &line : lines) {
        if (line.startsWith(QLatin1String("QObject::connect: ")))
            line.remove(place);
    }
    return lines;
}
} // namespace

class TestPeerFaults : public QObject
{
    Q_OBJECT

private:
    PeerProcess *peer(const QString &name)
    {
        if (name == Modem)
            return &m_peers.modem;
        return name == ModeControlPeer ? &m_peers.modeControl : &m_peers.pinQuery;
    }

    bool start(const QString &name)
    {
        if (name == Modem)
            return m_peers.startModem();
        return name == ModeControlPeer ? m_peers.startModeControl() : m_peers.startPinQuery();
    }

    bool startAllBut(const QString &absent)
    {
        for (const QString &name : { Modem, ModeControlPeer, PinQueryPeer }) {
            if (name != absent && !start(name))
                return false;
        }
        return true;
    }

    // What a page shows once the peer is back and asked to act: the mode
    // control goes offline, the PIN query service reports the request off.
    bool actAfterReturn(const QString &name)
    {
        if (name == ModeControlPeer)
            return succeeded(m_peers.modeControl.control(
                ModeControl, QStringLiteral("SetRadioStates"), { Offline }));
        if (name == PinQueryPeer)
            return succeeded(m_peers.pinQuery.control(
                PinControl, QStringLiteral("EmitPinQueryEnabled"), { PinRequestOff, 1u }));
        return true;
    }

    static void toggleOff(SimPage *page)
    {
        ZuButton *pinSwitch = page->pinSwitch();
        QVERIFY(pinSwitch && pinSwitch->isChecked());
        pinSwitch->click();
    }

    Peers m_peers;

private Q_SLOTS:
    void cleanup()
    {
        m_peers.modem.stop();
        m_peers.modeControl.stop();
        m_peers.pinQuery.stop();
    }

    void absentThenAppearing_data();
    void absentThenAppearing();
    void crashAndRestart_data();
    void crashAndRestart();
    void faultyReplies_data();
    void faultyReplies();
    void wrongSignatures_data();
    void wrongSignatures();
    void spoofedSignals();
};

void TestPeerFaults::absentThenAppearing_data()
{
    QTest::addColumn<QString>("absent");
    QTest::addColumn<QString>("rowsWithout");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QString>("rowsAfter");
    // First in the process on purpose: QtDBus keeps what it learnt from a
    // service's introspection for the life of the connection, so a client
    // built after an earlier page saw the service knows its signals anyway.
    // A client built without the service knows none of its signals: Qt says
    // so, and the client stays invalid when the service comes.
    const QString noSignal
        = QStringLiteral("QObject::connect: No such signal QDBusAbstractInterface::");
    QTest::newRow("pin query") << PinQueryPeer << ReadyRows
                               << QStringList { noSignal + "PinQueryEnabled(int)",
                                      noSignal + "SimLockUnlockComplete(bool)" }
                               << FlightRows;
    // A failed offline query counts as online; signals of a daemon that
    // starts later are followed, since they are subscribed by name.
    QTest::newRow("mode control")
        << ModeControlPeer << ReadyRows
        << QStringList { QStringLiteral(
               "void OxaIf::checkOffline(): Can't get offline status! Error: "
               "\"org.freedesktop.DBus.Error.ServiceUnknown\" \"The name com.tavik.oxa was not "
               "provided by any .service files\"") }
        << FlightRows;
    QTest::newRow("modem") << Modem << SimErrorRows << QStringList() << ReadyRows;
}

void TestPeerFaults::absentThenAppearing()
{
    QFETCH(QString, absent);
    QFETCH(QString, rowsWithout);
    QFETCH(QStringList, warnings);
    QFETCH(QString, rowsAfter);
    QVERIFY(startAllBut(absent));
    LogCapture log;
    SimPage page;
    QVERIFY(page.waitForRows(rowsWithout));
    QCOMPARE(withoutPlace(log.warningLines()), warnings);

    QVERIFY(start(absent));
    if (absent == PinQueryPeer) {
        // The client turns valid with the service's owner and sends the
        // switch, but it never learnt the service's signals.
        auto *client = page.widget()->findChild<PinQueryInterface *>();
        QTRY_VERIFY(client->isValid());
        toggleOff(&page);
        QVERIFY(m_peers.pinQuery.waitForCalls(1));
        QVERIFY(succeeded(m_peers.pinQuery.control(
            PinControl, QStringLiteral("EmitPinQueryEnabled"), { 0, 1u })));
        // Sent after the report above: once it shows, the report has arrived.
        QVERIFY(actAfterReturn(ModeControlPeer));
    } else {
        QVERIFY(actAfterReturn(absent));
    }
    QVERIFY(page.waitForRows(rowsAfter));
    QCOMPARE(withoutPlace(log.warningLines()), warnings);
    QCOMPARE(log.linesStartingWith(QtDebugMsg, QStringLiteral("void SimLogic::onPinQueryEnabled")),
        QStringList());
}

void TestPeerFaults::crashAndRestart_data()
{
    QTest::addColumn<QString>("crashing");
    QTest::addColumn<QString>("rowsWithout");
    QTest::addColumn<QString>("rowsAfter");
    QTest::newRow("mode control keeps the last state")
        << ModeControlPeer << ReadyRows << FlightRows;
    QTest::newRow("modem") << Modem << SimErrorRows << ReadyRows;
    QTest::newRow("pin query") << PinQueryPeer << ReadyRows << ReportedOffRows;
}

void TestPeerFaults::crashAndRestart()
{
    QFETCH(QString, crashing);
    QFETCH(QString, rowsWithout);
    QFETCH(QString, rowsAfter);
    QVERIFY(m_peers.startAll());
    SimPage page;
    QVERIFY(page.waitForRows(ReadyRows));

    LogCapture log;
    QVERIFY(Peers::crash(peer(crashing)));
    QVERIFY(page.waitForRows(rowsWithout));
    if (crashing == PinQueryPeer) {
        // The client learns of the loss from the bus, a moment later.
        auto *client = page.widget()->findChild<PinQueryInterface *>();
        QTRY_VERIFY(!client->isValid());
        log.clear();
        toggleOff(&page);
        QCOMPARE(log.warningLines(), QStringList { NoInterface });
        // Nothing will report back: the switch stays where the user put it.
        QCOMPARE(page.rows(), SwitchedOffRows);
        page.pinSwitch()->click(); // back on, again unsent
    }
    QVERIFY(start(crashing));
    QVERIFY(actAfterReturn(crashing));
    QVERIFY(page.waitForRows(rowsAfter));
    QCOMPARE(log.warningLines(),
        QStringList(
            crashing == PinQueryPeer ? QStringList { NoInterface, NoInterface } : QStringList()));
}

// The mode-control daemon's faulty replies are checked on its client.
void TestPeerFaults::faultyReplies_data()
{
    QTest::addColumn<QString>("faulty");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("rows");
    // The SIM clients' own tests cover a reply of the wrong type.
    for (const char *kind : { "error", "noargs" }) {
        QTest::addRow("SIM properties: %s", kind)
            << Modem << "GetProperties" << kind << SimErrorRows;
    }
    // Replies of the PIN query service are dropped unread: the switch stays
    // where the user put it until the service reports.
    QTest::newRow("EnablePinQuery: error")
        << PinQueryPeer << "EnablePinQuery"
        << "error" << SwitchedOffRows;
}

void TestPeerFaults::faultyReplies()
{
    QFETCH(QString, faulty);
    QFETCH(QString, method);
    QFETCH(QString, kind);
    QFETCH(QString, rows);
    QVERIFY(m_peers.startAll());
    QVERIFY(peer(faulty)->setFault(method, kind));
    LogCapture log;
    SimPage page;
    if (faulty == PinQueryPeer) {
        QVERIFY(page.waitForRows(ReadyRows));
        toggleOff(&page);
        QVERIFY(peer(faulty)->waitForCalls(1));
        QCOMPARE(peer(faulty)->calls().constFirst().arguments, QStringLiteral("false"));
    }
    QVERIFY(page.waitForRows(rows));
    // The SIM clients warn once of a read that fails, however often they retry.
    const QStringList warnings = log.warningLines();
    QCOMPARE(warnings.size(), faulty == Modem ? 1 : 0);
    QVERIFY(warnings.isEmpty()
        || warnings.first().startsWith(
            QStringLiteral("SIM tracker: cannot read the SIM, trying again: GetProperties")));
}

void TestPeerFaults::wrongSignatures_data()
{
    QTest::addColumn<QString>("played");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QVariant>("wrong");
    QTest::addColumn<QVariant>("right");
    QTest::addColumn<QString>("handled");
    QTest::addColumn<QString>("rows");
    QTest::newRow("radio_states_ind as a string")
        << ModeControlPeer << "radio_states_ind" << QVariant(QStringLiteral("0"))
        << QVariant(Offline) << "void OxaIf::doOfflineChanged(uint): Bit mask: 0 m_offline: 1"
        << FlightRows;
    QTest::newRow("PinQueryEnabled as unsigned")
        << PinQueryPeer << "PinQueryEnabled" << QVariant(uint(PinRequestOff))
        << QVariant(PinRequestOff) << "void SimLogic::onPinQueryEnabled(int): 1" << ReportedOffRows;
    QTest::newRow("SimLockUnlockComplete as a number")
        << PinQueryPeer << "SimLockUnlockComplete" << QVariant(0) << QVariant(false)
        << "void SimLogic::onSimLockUnlockComplete(bool): false" << ReadyRows;
}

void TestPeerFaults::wrongSignatures()
{
    QFETCH(QString, played);
    QFETCH(QString, signal);
    QFETCH(QVariant, wrong);
    QFETCH(QVariant, right);
    QFETCH(QString, handled);
    QFETCH(QString, rows);
    // The impostor owns the peer's name, so its signals pass the sender check.
    QVERIFY(startAllBut(played));
    BusImpostor impostor(QStringLiteral("impostor"));
    const bool mode = played == ModeControlPeer;
    QVERIFY(impostor.own(mode ? OxaService : PinService,
        interfaceXml(mode ? QStringLiteral("com.tavik.oxa.request.xml")
                          : QStringLiteral("com.tavik.ronwe.pin.PinCodeQuery.xml"))));
    SimPage page;
    QVERIFY(page.waitForRows(ReadyRows));

    LogCapture log;
    const QString path = mode ? OxaSignalPath : PinPath;
    const QString interface = mode ? OxaSignalInterface : PinInterface;
    QVERIFY(impostor.emitSignal(path, interface, signal, { wrong }));
    QVERIFY(impostor.emitSignal(path, interface, signal, { right }));
    QTRY_VERIFY(log.count(QtDebugMsg, handled) > 0);
    QVERIFY(page.waitForRows(rows));
    QCOMPARE(log.count(QtDebugMsg, handled), 1);
    QCOMPARE(log.warningLines(), QStringList());
}

void TestPeerFaults::spoofedSignals()
{
    QVERIFY(m_peers.startAll());
    SimPage page;
    QVERIFY(page.waitForRows(ReadyRows));
    LogCapture log;
    BusImpostor spoofer(QStringLiteral("spoofer"));
    QVERIFY(spoofer.emitSignal(
        OxaSignalPath, OxaSignalInterface, QStringLiteral("radio_states_ind"), { Offline }));
    QVERIFY(spoofer.emitSignal(OxaSignalPath, OxaSignalInterface,
        QStringLiteral("sig_call_state_ind"), { QStringLiteral("active"), QString() }));
    QVERIFY(spoofer.emitSignal(
        PinPath, PinInterface, QStringLiteral("PinQueryEnabled"), { PinRequestOff }));
    QVERIFY(spoofer.emitSignal(
        PinPath, PinInterface, QStringLiteral("SimLockUnlockComplete"), { true }));
    QVERIFY(spoofer.emitSignal(SimPath, SimInterface, QStringLiteral("PropertyChanged"),
        { QStringLiteral("PinRequired"),
            QVariant::fromValue(QDBusVariant(QStringLiteral("pin"))) }));

    // The real daemon's signal comes after all of them: once it is handled,
    // the spoofed ones would have been.
    QVERIFY(succeeded(
        m_peers.modeControl.control(ModeControl, QStringLiteral("EmitRadioStates"), { 1u, 1u })));
    QTRY_VERIFY(
        !log.linesStartingWith(QtDebugMsg, QStringLiteral("void OxaIf::doOfflineChanged(uint):"))
             .isEmpty());
    QCOMPARE(log.linesStartingWith(QtDebugMsg, QStringLiteral("void OxaIf::")),
        QStringList {
            QStringLiteral("void OxaIf::doOfflineChanged(uint): Bit mask: 1 m_offline: 0") });
    QVERIFY(log.linesStartingWith(QtDebugMsg, QStringLiteral("void SimLogic::onPinQueryEnabled"))
                .isEmpty());
    QVERIFY(
        log.linesStartingWith(QtDebugMsg, QStringLiteral("void SimLogic::onSimLockUnlockComplete"))
            .isEmpty());
    QVERIFY(log.linesStartingWith(QtDebugMsg, QStringLiteral("void SimChecker::statusChanged"))
                .isEmpty());
    QVERIFY(page.waitForRows(ReadyRows));
}

QTEST_MAIN(TestPeerFaults)
#include "tst_peerfaults.moc"
