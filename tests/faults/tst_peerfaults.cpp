// The SIM page against peers that are absent, appear late, crash, answer
// wrongly, send signals of the wrong shape, are spoofed by a connection that
// owns nothing, or flood it: the page never crashes and shows what it should.

#include "logcapture.h"
#include "pageprobe.h"
#include "pagerows.h"
#include "peerprocess.h"
#include "pinqueryinterface.h"
#include "simwidget.h"

#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QGraphicsScene>
#include <QPointer>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>
#include <zubutton.h>

#include <csignal>

using Peer = PeerProcess::Kind;
using namespace PageRows;

namespace {
const QString NoInterface
    = QStringLiteral("void SimLogic::onEnablePinRequested(bool) No interface to PIN query!");
enum RadioStates : uint { Offline, Online };
enum PinRequest : int { PinRequestOn, PinRequestOff };
const int PageTimeoutMs = 15000;
const uint StormSize = 10000;
const int StormTimeoutMs = 60000;
// A few settle steps deep is a few tens of kilobytes; one per storm signal
// would be megabytes, or a crash.
const qptrdiff StackLimit = 256 * 1024;
const int NoPeer = -1;

// The SIM page as the host shows it, on a scene of its own.
class SimPage
{
public:
    SimPage() { m_scene.addItem(m_page); }
    ~SimPage() { delete m_page.data(); }

    QString rows() const { return PageProbe::rows(m_page); }
    // Runs events until the page shows these rows.
    bool waitForRows(const QString &rows, int timeoutMs = PageTimeoutMs)
    {
        if (QTest::qWaitFor([&] { return this->rows() == rows; }, timeoutMs))
            return true;
        qWarning().noquote() << "the page shows" << this->rows() << "instead of" << rows;
        return false;
    }
    // The PIN request switch, or null while the row was never made.
    ZuButton *pinSwitch() const { return PageProbe::pinSwitch(m_page); }
    QObject *widget() const { return m_page; }

private:
    QGraphicsScene m_scene;
    QPointer<SimWidget> m_page { new SimWidget(nullptr) };
};

// Qt's own connect warnings end in " in <file>:<line>" where the connect was
// compiled without QT_NO_DEBUG (a Debug build); the place is not compared.
QStringList withoutPlace(QStringList lines)
{
    static const QRegularExpression place(
        QStringLiteral("^(QObject::connect: .*?) in \\S.*:[0-9]+$"));
    return lines.replaceInStrings(place, QStringLiteral("\\1"));
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

    // Emits a signal as the peer would, and returns once the bus has passed it on.
    bool emitSignal(Peer peer, const QString &name, const QVariantList &arguments)
    {
        static const char *const places[][2] = { { "/sim_0", "org.ofono.SimManager" },
            { "/com/tavik/oxa/signal", "com.tavik.oxa.signal" },
            { "/com/tavik/ronwe/pin", "com.tavik.ronwe.pin.PinCodeQuery" } };
        QDBusMessage signal = QDBusMessage::createSignal(
            QLatin1String(places[peer][0]), QLatin1String(places[peer][1]), name);
        signal.setArguments(arguments);
        if (!m_connection.send(signal))
            return false;
        // The bus handles one sender's messages in order: once this answer is
        // here, the signal has gone out to its receivers.
        return m_connection.interface()
            ->serviceOwner(QStringLiteral("org.freedesktop.DBus"))
            .isValid();
    }

    QString introspect(const QString &) const override { return m_introspection; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        // A virtual object gets introspection calls too.
        const bool introspection = message.member() == QLatin1String("Introspect");
        return connection.send(introspection
                ? message.createReply(QStringLiteral("<node>%1</node>").arg(m_introspection))
                : message.createReply());
    }

private:
    QDBusConnection m_connection;
    QString m_service;
    QString m_introspection;
    QThread m_thread;
};

// How deep the GUI thread's stack gets while events are delivered: an
// application event filter notes its own frame address at every event. The
// frame address, not a local's address, so that a sanitizer's fake stack
// does not fool it. The stack grows downwards on every platform this runs on.
class StackGauge : public QObject
{
public:
    StackGauge() { QCoreApplication::instance()->installEventFilter(this); }
    // Bytes of stack used below the frame that made the gauge.
    qptrdiff deepest() const { return qptrdiff(m_base - m_lowest); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        m_lowest = qMin(m_lowest, reinterpret_cast<quintptr>(__builtin_frame_address(0)));
        return QObject::eventFilter(watched, event);
    }

private:
    const quintptr m_base = reinterpret_cast<quintptr>(__builtin_frame_address(0));
    quintptr m_lowest = m_base;
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
            return control(peer, "SetRadioStates", { Offline });
        return peer != PeerProcess::PinQuery
            || control(peer, "EmitPinQueryEnabled", { PinRequestOff, 1u });
    }

    static void toggleOff(SimPage *page)
    {
        ZuButton *pinSwitch = page->pinSwitch();
        QVERIFY(pinSwitch && pinSwitch->isChecked());
        pinSwitch->click();
    }

    bool start(int kind)
    {
        static const QStringList arguments[] = { { "--pin-entered", "--pin-request", "on" }, {},
            { "--headless", "--backend", "modem" } };
        return m_peers[kind].start(arguments[kind]);
    }

    bool startAll(int except = NoPeer)
    {
        bool started = true;
        for (int kind = PeerProcess::Modem; kind <= PeerProcess::PinQuery; ++kind)
            started = started && (kind == except || start(kind));
        return started;
    }

    // Calls a method of the peer's own control interface.
    bool control(int kind, const char *method, const QVariantList &arguments = {})
    {
        static const QString *const interfaces[] = { &PeerProcess::ModemControlInterface,
            &PeerProcess::ModeControlInterface, &PeerProcess::PinQueryControlInterface };
        return PeerProcess::succeeded(
            m_peers[kind].control(*interfaces[kind], QLatin1String(method), arguments));
    }

    // SIGKILL, as a crash would end it, and wait until its names are gone.
    bool crash(int kind)
    {
        const QDBusReply<uint> pid
            = QDBusConnection::systemBus().interface()->servicePid(m_peers[kind].publicName());
        if (!pid.isValid() || ::kill(pid_t(pid.value()), SIGKILL) != 0)
            return false;
        m_peers[kind].stop(); // reaps the process; its names are gone with it
        return m_peers[kind].waitForName(false);
    }

    // The modem's card is ready with the PIN request on, so a page that
    // reaches all three peers shows Normal.
    PeerProcess m_peers[3] { PeerProcess(PeerProcess::Modem), PeerProcess(PeerProcess::ModeControl),
        PeerProcess(PeerProcess::PinQuery) };

private Q_SLOTS:
    void cleanup()
    {
        for (PeerProcess &peer : m_peers)
            peer.stop();
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
        QTest::newRow("pin query") << PeerProcess::PinQuery << Normal
                                   << QStringList { noSignal + "PinQueryEnabled(int)",
                                          noSignal + "SimLockUnlockComplete(bool)" }
                                   << FlightMode;
        // A failed offline query counts as online; signals of a daemon that
        // starts later are followed, since they are subscribed by name.
        QTest::newRow("mode control")
            << PeerProcess::ModeControl << Normal
            << QStringList { QStringLiteral(
                   "void OxaIf::checkOffline(): Can't get offline status! Error: "
                   "\"org.freedesktop.DBus.Error.ServiceUnknown\" \"The name com.tavik.oxa was not "
                   "provided by any .service files\"") }
            << FlightMode;
        QTest::newRow("modem") << PeerProcess::Modem << SimError << QStringList() << Normal;
    }

    void absentThenAppearing()
    {
        QFETCH(Peer, absent);
        QFETCH(QString, rowsWithout);
        QFETCH(QStringList, warnings);
        QFETCH(QString, rowsAfter);
        QVERIFY(startAll(absent));
        LogCapture log;
        SimPage page;
        QVERIFY(page.waitForRows(rowsWithout));
        QCOMPARE(withoutPlace(log.warningLines()), warnings);

        QVERIFY(start(absent));
        if (absent == PeerProcess::PinQuery) {
            // The client turns valid with the service's owner and sends the
            // switch, but it never learnt the service's signals.
            auto *client = page.widget()->findChild<PinQueryInterface *>();
            QTRY_VERIFY(client->isValid());
            toggleOff(&page);
            QVERIFY(m_peers[absent].waitForCalls(1));
            QVERIFY(control(PeerProcess::PinQuery, "EmitPinQueryEnabled", { PinRequestOn, 1u }));
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
            << PeerProcess::ModeControl << Normal << FlightMode;
        QTest::newRow("modem") << PeerProcess::Modem << SimError << Normal;
        QTest::newRow("pin query") << PeerProcess::PinQuery << Normal << RequestOff;
    }

    void crashAndRestart()
    {
        QFETCH(Peer, crashing);
        QFETCH(QString, rowsWithout);
        QFETCH(QString, rowsAfter);
        QVERIFY(startAll());
        SimPage page;
        QVERIFY(page.waitForRows(Normal));

        LogCapture log;
        QVERIFY(crash(crashing));
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
            QCOMPARE(page.rows(), SwitchedOff);
            page.pinSwitch()->click(); // back on, again unsent
            warnings = QStringList { NoInterface, NoInterface };
        }
        QVERIFY(start(crashing));
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
                << PeerProcess::Modem << "GetProperties" << kind << SimError;
        }
        // Replies of the PIN query service are dropped unread: the switch stays
        // where the user put it until the service reports.
        QTest::newRow("EnablePinQuery: error") << PeerProcess::PinQuery << "EnablePinQuery"
                                               << "error" << SwitchedOff;
    }

    void faultyReplies()
    {
        QFETCH(Peer, faulty);
        QFETCH(QString, method);
        QFETCH(QString, kind);
        QFETCH(QString, rows);
        QVERIFY(startAll());
        QVERIFY(m_peers[faulty].setFault(method, kind));
        LogCapture log;
        SimPage page;
        if (faulty == PeerProcess::PinQuery) {
            QVERIFY(page.waitForRows(Normal));
            toggleOff(&page);
            QVERIFY(m_peers[faulty].waitForCalls(1));
            QCOMPARE(m_peers[faulty].calls().constFirst().arguments, QStringLiteral("false"));
        }
        QVERIFY(page.waitForRows(rows));
        // The SIM clients warn once of a read that fails, however often they retry.
        const QString failedRead = QStringLiteral("SIM tracker: cannot read the SIM, trying again");
        const int warnings = faulty == PeerProcess::Modem ? 1 : 0;
        QCOMPARE(log.warningLines().size(), warnings);
        QCOMPARE(
            log.linesStartingWith(QtWarningMsg, failedRead + ": GetProperties").size(), warnings);
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
            << FlightMode;
        QTest::newRow("PinQueryEnabled as unsigned")
            << PeerProcess::PinQuery << "PinQueryEnabled" << QVariant(uint(PinRequestOff))
            << QVariant(PinRequestOff) << "void SimLogic::onPinQueryEnabled(int): 1"
            << RequestOff;
        QTest::newRow("SimLockUnlockComplete as a number")
            << PeerProcess::PinQuery << "SimLockUnlockComplete" << QVariant(0) << QVariant(false)
            << "void SimLogic::onSimLockUnlockComplete(bool): false" << Normal;
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
        QVERIFY(startAll(played));
        BusImpostor impostor(QStringLiteral("impostor"));
        QVERIFY(impostor.own(played));
        SimPage page;
        QVERIFY(page.waitForRows(Normal));

        LogCapture log;
        QVERIFY(impostor.emitSignal(played, signal, { wrong }));
        QVERIFY(impostor.emitSignal(played, signal, { right }));
        QTRY_VERIFY(log.count(QtDebugMsg, handled) > 0);
        QVERIFY(page.waitForRows(rows));
        QCOMPARE(log.count(QtDebugMsg, handled), 1);
        QCOMPARE(log.warningLines(), QStringList());
    }

    void spoofedSignals()
    {
        QVERIFY(startAll());
        SimPage page;
        QVERIFY(page.waitForRows(Normal));
        LogCapture log;
        BusImpostor spoofer(QStringLiteral("spoofer"));
        QVERIFY(spoofer.emitSignal(
            PeerProcess::ModeControl, QStringLiteral("radio_states_ind"), { Offline }));
        QVERIFY(spoofer.emitSignal(PeerProcess::ModeControl, QStringLiteral("sig_call_state_ind"),
            { QStringLiteral("active"), QString() }));
        QVERIFY(spoofer.emitSignal(
            PeerProcess::PinQuery, QStringLiteral("PinQueryEnabled"), { PinRequestOff }));
        QVERIFY(spoofer.emitSignal(
            PeerProcess::PinQuery, QStringLiteral("SimLockUnlockComplete"), { true }));
        QVERIFY(spoofer.emitSignal(PeerProcess::Modem, QStringLiteral("PropertyChanged"),
            { QStringLiteral("PinRequired"),
                QVariant::fromValue(QDBusVariant(QStringLiteral("pin"))) }));

        // The real daemon's signal comes after all of them: once it is handled,
        // the spoofed ones would have been.
        QVERIFY(control(PeerProcess::ModeControl, "EmitRadioStates", { Online, 1u }));
        QTRY_COMPARE(log.linesStartingWith(QtDebugMsg, QStringLiteral("void OxaIf::")),
            QStringList {
                QStringLiteral("void OxaIf::doOfflineChanged(uint): Bit mask: 1 m_offline: 0") });
        for (const char *prefix : { "void SimLogic::onPinQueryEnabled",
                 "void SimLogic::onSimLockUnlockComplete", "void SimChecker::statusChanged" })
            QCOMPARE(log.linesStartingWith(QtDebugMsg, QLatin1String(prefix)), QStringList());
        QVERIFY(page.waitForRows(Normal));
    }

    // Signal storms: the page keeps up, ends showing the last report, and its
    // stack stays shallow although the item list runs pending events inside
    // its show operations.
    void storm_data()
    {
        QTest::addColumn<Peer>("peer");
        QTest::addColumn<QString>("stormLine");
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<QString>("lastRows");
        // Each storm shows an error line again and again: every report makes
        // the list settle before it shows the line.
        QTest::newRow("radio_states_ind offline, then online")
            << PeerProcess::ModeControl
            << "void OxaIf::doOfflineChanged(uint): Bit mask: 0 m_offline: 1"
            << "void OxaIf::doOfflineChanged(uint): Bit mask: 1 m_offline: 0" << Normal;
        // Ends in a state the storm never passed through, so that reaching it
        // means the last report was handled.
        QTest::newRow("SIM state flips, ending without a card")
            << PeerProcess::Modem << QString() << QString()
            << NoSim;
        QTest::newRow("PinQueryEnabled on, then off")
            << PeerProcess::PinQuery << "void SimLogic::onPinQueryEnabled(int): 0"
            << "void SimLogic::onPinQueryEnabled(int): 1"
            << RequestOff;
    }

    void storm()
    {
        QFETCH(Peer, peer);
        QFETCH(QString, stormLine);
        QFETCH(QString, lastLine);
        QFETCH(QString, lastRows);
        QVERIFY(startAll());
        SimPage page;
        QVERIFY(page.waitForRows(Normal));

        StackGauge gauge;
        {
            LogCapture log;
            int stormCount = StormSize;
            if (peer == PeerProcess::ModeControl) {
                QVERIFY(control(peer, "EmitRadioStates", { Offline, StormSize }));
                QVERIFY(control(peer, "SetRadioStates", { Online }));
            } else if (peer == PeerProcess::PinQuery) {
                stormCount = StormSize - 1;
                QVERIFY(control(peer, "EmitPinQueryEnabled", { PinRequestOn, StormSize - 1 }));
                QVERIFY(control(peer, "EmitPinQueryEnabled", { PinRequestOff, 1u }));
            } else {
                // As fast as the modem takes them. Sent without asking for
                // replies: the bus allows only so many unanswered calls per
                // connection.
                for (uint i = 0; i < StormSize; ++i) {
                    QDBusMessage call = QDBusMessage::createMethodCall(m_peers[peer].controlName(),
                        QStringLiteral("/control"), PeerProcess::ModemControlInterface,
                        QStringLiteral("SetState"));
                    call << QString::fromLatin1(i + 1 == StormSize ? "absent"
                            : i % 2                                ? "ready"
                                                                   : "pin");
                    QVERIFY(QDBusConnection::systemBus().send(call));
                }
                // The modem has handled every change once it answers this.
                QVERIFY(control(peer, "GetState"));
            }
            if (!lastLine.isEmpty()) {
                QTRY_COMPARE_WITH_TIMEOUT(log.count(QtDebugMsg, lastLine), 1, StormTimeoutMs);
                QCOMPARE(log.count(QtDebugMsg, stormLine), stormCount);
            }
            QVERIFY(page.waitForRows(lastRows, StormTimeoutMs));
            QCOMPARE(log.warningLines(), QStringList());
        }
        qInfo("deepest stack during the storm: %lld bytes", qlonglong(gauge.deepest()));
        QVERIFY(gauge.deepest() < StackLimit);
    }
};

QTEST_MAIN(TestPeerFaults)
#include "tst_peerfaults.moc"
