// The SIM page against peers that are absent, appear late, crash, answer
// wrongly, send signals of the wrong shape, or are spoofed by a connection
// that owns nothing: the page never crashes and shows what it should.

#include "faultfixture.h"
#include "logcapture.h"
#include "pinqueryinterface.h"

#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <zubutton.h>

using namespace Faults;
using Peer = PeerProcess::Kind;

namespace {
const QString OxaSignalPath = QStringLiteral("/com/tavik/oxa/signal");
const QString OxaSignalInterface = QStringLiteral("com.tavik.oxa.signal");
const QString PinPath = QStringLiteral("/com/tavik/ronwe/pin");
const QString PinInterface = QStringLiteral("com.tavik.ronwe.pin.PinCodeQuery");
const QString &ModeControl = PeerProcess::ModeControlInterface;
const QString &PinControl = PeerProcess::PinQueryControlInterface;

// The switch moved off by the user and left there: the change PIN row stays.
const QString SwitchedOffRows = QStringLiteral("SimPinRequestItem:off SimPinChangeItem");
const QString ReportedOffRows = QStringLiteral("SimPinRequestItem:off");
const QString NoInterface
    = QStringLiteral("void SimLogic::onEnablePinRequested(bool) No interface to PIN query!");
const uint Offline = 0;
const int PinRequestOff = 1;

const auto succeeded = &PeerProcess::succeeded;

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

// A second connection to the bus. Without a name it is a spoofer: what it
// emits comes from a sender that owns nothing. With own() it plays a peer,
// serving every path from a thread of its own, so that it answers while the
// GUI thread waits in a blocking call to it: introspection with the peer's
// interfaces, every other call with an empty reply.
class BusImpostor : public QDBusVirtualObject
{
public:
    explicit BusImpostor(const QString &connectionName)
        : m_connection(QDBusConnection::connectToBus(QDBusConnection::SystemBus, connectionName))
    {
        m_thread.start();
    }

    ~BusImpostor() override
    {
        if (!m_service.isEmpty())
            m_connection.unregisterService(m_service);
        m_connection.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
        m_thread.quit();
        m_thread.wait();
        const QString name = m_connection.name();
        m_connection = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(name);
    }

    // Owns the peer's name, with the interfaces of its introspection file.
    bool own(Peer peer)
    {
        const bool mode = peer == PeerProcess::ModeControl;
        QFile xml(qEnvironmentVariable("SIM_SOURCE_DIR") + QStringLiteral("/dbus/interfaces/")
            + (mode ? "com.tavik.oxa.request.xml" : "com.tavik.ronwe.pin.PinCodeQuery.xml"));
        if (!xml.open(QIODevice::ReadOnly))
            return false;
        const QRegularExpression interfaces(QStringLiteral("<interface.*</interface>"),
            QRegularExpression::DotMatchesEverythingOption);
        m_introspection = interfaces.match(QString::fromUtf8(xml.readAll())).captured(0);
        // Registered before it moves: registering gives it parts of its own.
        if (!m_connection.registerVirtualObject(
                QStringLiteral("/"), this, QDBusConnection::SubPath))
            return false;
        moveToThread(&m_thread);
        m_service = PeerProcess(peer).publicName();
        return m_connection.registerService(m_service);
    }

    // Emits a signal and returns once the bus has passed it on.
    bool emitSignal(const QString &path, const QString &interface, const QString &name,
        const QVariantList &arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(arguments);
        if (!m_connection.send(signal))
            return false;
        // The bus handles one sender's messages in order: once this answer is
        // here, the signal has gone out to its receivers.
        return succeeded(m_connection.call(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"))));
    }

    QString introspect(const QString &) const override { return m_introspection; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        // A virtual object gets introspection calls too.
        if (message.member() == QLatin1String("Introspect"))
            connection.send(
                message.createReply(QStringLiteral("<node>%1</node>").arg(m_introspection)));
        else
            connection.send(message.createReply());
        return true;
    }

private:
    QDBusConnection m_connection;
    QString m_service;
    QString m_introspection;
    QThread m_thread;
};
} // namespace

class TestPeerFaults : public QObject
{
    Q_OBJECT

private:
    // What a page shows once the peer is back and asked to act: the mode
    // control goes offline, the PIN query service reports the request off.
    bool actAfterReturn(Peer peer)
    {
        if (peer == PeerProcess::ModeControl)
            return succeeded(m_peers.modeControl.control(
                ModeControl, QStringLiteral("SetRadioStates"), { Offline }));
        if (peer == PeerProcess::PinQuery)
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
        for (PeerProcess *peer : m_peers.all)
            peer->stop();
    }

    void absentThenAppearing_data()
    {
        QTest::addColumn<Peer>("absent");
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
        QTest::newRow("pin query") << PeerProcess::PinQuery << ReadyRows
                                   << QStringList { noSignal + "PinQueryEnabled(int)",
                                          noSignal + "SimLockUnlockComplete(bool)" }
                                   << FlightRows;
        // A failed offline query counts as online; signals of a daemon that
        // starts later are followed, since they are subscribed by name.
        QTest::newRow("mode control")
            << PeerProcess::ModeControl << ReadyRows
            << QStringList { QStringLiteral(
                   "void OxaIf::checkOffline(): Can't get offline status! Error: "
                   "\"org.freedesktop.DBus.Error.ServiceUnknown\" \"The name com.tavik.oxa was not "
                   "provided by any .service files\"") }
            << FlightRows;
        QTest::newRow("modem") << PeerProcess::Modem << SimErrorRows << QStringList() << ReadyRows;
    }

    void absentThenAppearing()
    {
        QFETCH(Peer, absent);
        QFETCH(QString, rowsWithout);
        QFETCH(QStringList, warnings);
        QFETCH(QString, rowsAfter);
        QVERIFY(m_peers.startAll(absent));
        LogCapture log;
        SimPage page;
        QVERIFY(page.waitForRows(rowsWithout));
        QCOMPARE(withoutPlace(log.warningLines()), warnings);

        QVERIFY(m_peers.start(absent));
        if (absent == PeerProcess::PinQuery) {
            // The client turns valid with the service's owner and sends the
            // switch, but it never learnt the service's signals.
            auto *client = page.widget()->findChild<PinQueryInterface *>();
            QTRY_VERIFY(client->isValid());
            toggleOff(&page);
            QVERIFY(m_peers.pinQuery.waitForCalls(1));
            QVERIFY(succeeded(m_peers.pinQuery.control(
                PinControl, QStringLiteral("EmitPinQueryEnabled"), { 0, 1u })));
            // Sent after the report above: once it shows, the report has arrived.
            QVERIFY(actAfterReturn(PeerProcess::ModeControl));
        } else {
            QVERIFY(actAfterReturn(absent));
        }
        QVERIFY(page.waitForRows(rowsAfter));
        QCOMPARE(withoutPlace(log.warningLines()), warnings);
        QCOMPARE(
            log.linesStartingWith(QtDebugMsg, QStringLiteral("void SimLogic::onPinQueryEnabled")),
            QStringList());
    }

    void crashAndRestart_data()
    {
        QTest::addColumn<Peer>("crashing");
        QTest::addColumn<QString>("rowsWithout");
        QTest::addColumn<QString>("rowsAfter");
        QTest::newRow("mode control keeps the last state")
            << PeerProcess::ModeControl << ReadyRows << FlightRows;
        QTest::newRow("modem") << PeerProcess::Modem << SimErrorRows << ReadyRows;
        QTest::newRow("pin query") << PeerProcess::PinQuery << ReadyRows << ReportedOffRows;
    }

    void crashAndRestart()
    {
        QFETCH(Peer, crashing);
        QFETCH(QString, rowsWithout);
        QFETCH(QString, rowsAfter);
        QVERIFY(m_peers.startAll());
        SimPage page;
        QVERIFY(page.waitForRows(ReadyRows));

        LogCapture log;
        QVERIFY(m_peers.crash(crashing));
        QVERIFY(page.waitForRows(rowsWithout));
        QStringList warnings;
        if (crashing == PeerProcess::PinQuery) {
            // The client learns of the loss from the bus, a moment later.
            auto *client = page.widget()->findChild<PinQueryInterface *>();
            QTRY_VERIFY(!client->isValid());
            log.clear();
            toggleOff(&page);
            QCOMPARE(log.warningLines(), QStringList { NoInterface });
            // Nothing will report back: the switch stays where the user put it.
            QCOMPARE(page.rows(), SwitchedOffRows);
            page.pinSwitch()->click(); // back on, again unsent
            warnings = QStringList { NoInterface, NoInterface };
        }
        QVERIFY(m_peers.start(crashing));
        QVERIFY(actAfterReturn(crashing));
        QVERIFY(page.waitForRows(rowsAfter));
        QCOMPARE(log.warningLines(), warnings);
    }

    // The mode-control daemon's faulty replies are checked on its client.
    void faultyReplies_data()
    {
        QTest::addColumn<Peer>("faulty");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("rows");
        // The SIM clients' own tests cover a reply of the wrong type.
        for (const char *kind : { "error", "noargs" }) {
            QTest::addRow("SIM properties: %s", kind)
                << PeerProcess::Modem << "GetProperties" << kind << SimErrorRows;
        }
        // Replies of the PIN query service are dropped unread: the switch stays
        // where the user put it until the service reports.
        QTest::newRow("EnablePinQuery: error") << PeerProcess::PinQuery << "EnablePinQuery"
                                               << "error" << SwitchedOffRows;
    }

    void faultyReplies()
    {
        QFETCH(Peer, faulty);
        QFETCH(QString, method);
        QFETCH(QString, kind);
        QFETCH(QString, rows);
        QVERIFY(m_peers.startAll());
        QVERIFY(m_peers[faulty].setFault(method, kind));
        LogCapture log;
        SimPage page;
        if (faulty == PeerProcess::PinQuery) {
            QVERIFY(page.waitForRows(ReadyRows));
            toggleOff(&page);
            QVERIFY(m_peers[faulty].waitForCalls(1));
            QCOMPARE(m_peers[faulty].calls().constFirst().arguments, QStringLiteral("false"));
        }
        QVERIFY(page.waitForRows(rows));
        // The SIM clients warn once of a read that fails, however often they retry.
        const QStringList warnings = log.warningLines();
        QCOMPARE(warnings.size(), faulty == PeerProcess::Modem ? 1 : 0);
        QVERIFY(warnings.isEmpty()
            || warnings.first().startsWith(
                QStringLiteral("SIM tracker: cannot read the SIM, trying again: GetProperties")));
    }

    void wrongSignatures_data()
    {
        QTest::addColumn<Peer>("played");
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QVariant>("wrong");
        QTest::addColumn<QVariant>("right");
        QTest::addColumn<QString>("handled");
        QTest::addColumn<QString>("rows");
        QTest::newRow("radio_states_ind as a string")
            << PeerProcess::ModeControl << "radio_states_ind" << QVariant(QStringLiteral("0"))
            << QVariant(Offline) << "void OxaIf::doOfflineChanged(uint): Bit mask: 0 m_offline: 1"
            << FlightRows;
        QTest::newRow("PinQueryEnabled as unsigned")
            << PeerProcess::PinQuery << "PinQueryEnabled" << QVariant(uint(PinRequestOff))
            << QVariant(PinRequestOff) << "void SimLogic::onPinQueryEnabled(int): 1"
            << ReportedOffRows;
        QTest::newRow("SimLockUnlockComplete as a number")
            << PeerProcess::PinQuery << "SimLockUnlockComplete" << QVariant(0) << QVariant(false)
            << "void SimLogic::onSimLockUnlockComplete(bool): false" << ReadyRows;
    }

    void wrongSignatures()
    {
        QFETCH(Peer, played);
        QFETCH(QString, signal);
        QFETCH(QVariant, wrong);
        QFETCH(QVariant, right);
        QFETCH(QString, handled);
        QFETCH(QString, rows);
        // The impostor owns the peer's name, so its signals pass the sender check.
        QVERIFY(m_peers.startAll(played));
        BusImpostor impostor(QStringLiteral("impostor"));
        QVERIFY(impostor.own(played));
        SimPage page;
        QVERIFY(page.waitForRows(ReadyRows));

        LogCapture log;
        const bool mode = played == PeerProcess::ModeControl;
        const QString path = mode ? OxaSignalPath : PinPath;
        const QString interface = mode ? OxaSignalInterface : PinInterface;
        QVERIFY(impostor.emitSignal(path, interface, signal, { wrong }));
        QVERIFY(impostor.emitSignal(path, interface, signal, { right }));
        QTRY_VERIFY(log.count(QtDebugMsg, handled) > 0);
        QVERIFY(page.waitForRows(rows));
        QCOMPARE(log.count(QtDebugMsg, handled), 1);
        QCOMPARE(log.warningLines(), QStringList());
    }

    void spoofedSignals()
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
        QVERIFY(spoofer.emitSignal(QStringLiteral("/sim_0"), QStringLiteral("org.ofono.SimManager"),
            QStringLiteral("PropertyChanged"),
            { QStringLiteral("PinRequired"),
                QVariant::fromValue(QDBusVariant(QStringLiteral("pin"))) }));

        // The real daemon's signal comes after all of them: once it is handled,
        // the spoofed ones would have been.
        QVERIFY(succeeded(m_peers.modeControl.control(
            ModeControl, QStringLiteral("EmitRadioStates"), { 1u, 1u })));
        QTRY_VERIFY(!log.linesStartingWith(
                            QtDebugMsg, QStringLiteral("void OxaIf::doOfflineChanged(uint):"))
                         .isEmpty());
        QCOMPARE(log.linesStartingWith(QtDebugMsg, QStringLiteral("void OxaIf::")),
            QStringList {
                QStringLiteral("void OxaIf::doOfflineChanged(uint): Bit mask: 1 m_offline: 0") });
        for (const char *prefix : { "void SimLogic::onPinQueryEnabled",
                 "void SimLogic::onSimLockUnlockComplete", "void SimChecker::statusChanged" })
            QCOMPARE(log.linesStartingWith(QtDebugMsg, QLatin1String(prefix)), QStringList());
        QVERIFY(page.waitForRows(ReadyRows));
    }
};

QTEST_MAIN(TestPeerFaults)
#include "tst_peerfaults.moc"
