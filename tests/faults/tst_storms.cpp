// Signal storms while the SIM page is open: the page keeps up, ends showing
// the last report, and its stack stays shallow although the item list runs
// pending events inside its show operations.

#include "faultfixture.h"
#include "logcapture.h"

using namespace Faults;
using Peer = PeerProcess::Kind;

namespace {
const uint StormSize = 10000;
const uint Online = 1;
const uint Offline = 0;
const int PinRequestOn = 0;
const int PinRequestOff = 1;
// A few settle steps deep is a few tens of kilobytes; one per storm signal
// would be megabytes, or a crash.
const qptrdiff StackLimit = 256 * 1024;
const int StormTimeoutMs = 60000;
const auto succeeded = &PeerProcess::succeeded;

// How deep the GUI thread's stack gets while events are delivered: an
// application event filter notes its own frame address at every event. The
// frame address, not a local's address, so that a sanitizer's fake stack
// does not fool it. The stack grows downwards on every platform this runs on.
class StackGauge : public QObject
{
public:
    StackGauge() { QCoreApplication::instance()->installEventFilter(this); }
    ~StackGauge() override { QCoreApplication::instance()->removeEventFilter(this); }
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

class TestStorms : public QObject
{
    Q_OBJECT

private:
    Peers m_peers;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_peers.startAll()); }

    void init()
    {
        for (PeerProcess *peer : m_peers.all)
            QVERIFY(peer->reset());
    }

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
            << "void OxaIf::doOfflineChanged(uint): Bit mask: 1 m_offline: 0" << ReadyRows;
        // Ends in a state the storm never passed through, so that reaching it
        // means the last report was handled.
        QTest::newRow("SIM state flips, ending without a card")
            << PeerProcess::Modem << QString() << QString()
            << "SimErrorItem:qtn_cell_sim_not_available";
        QTest::newRow("PinQueryEnabled on, then off")
            << PeerProcess::PinQuery << "void SimLogic::onPinQueryEnabled(int): 0"
            << "void SimLogic::onPinQueryEnabled(int): 1"
            << "SimPinRequestItem:off";
    }

    void storm()
    {
        QFETCH(Peer, peer);
        QFETCH(QString, stormLine);
        QFETCH(QString, lastLine);
        QFETCH(QString, lastRows);
        SimPage page;
        QVERIFY(page.waitForRows(ReadyRows));

        StackGauge gauge;
        {
            LogCapture log;
            const QString &modeControl = PeerProcess::ModeControlInterface;
            const QString &pinControl = PeerProcess::PinQueryControlInterface;
            int stormCount = StormSize;
            if (peer == PeerProcess::ModeControl) {
                QVERIFY(succeeded(m_peers.modeControl.control(
                    modeControl, QStringLiteral("EmitRadioStates"), { Offline, StormSize })));
                QVERIFY(succeeded(m_peers.modeControl.control(
                    modeControl, QStringLiteral("SetRadioStates"), { Online })));
            } else if (peer == PeerProcess::PinQuery) {
                stormCount = StormSize - 1;
                QVERIFY(succeeded(m_peers.pinQuery.control(pinControl,
                    QStringLiteral("EmitPinQueryEnabled"), { PinRequestOn, StormSize - 1 })));
                QVERIFY(succeeded(m_peers.pinQuery.control(
                    pinControl, QStringLiteral("EmitPinQueryEnabled"), { PinRequestOff, 1u })));
            } else {
                // As fast as the modem takes them. Sent without asking for
                // replies: the bus allows only so many unanswered calls per
                // connection.
                for (uint i = 0; i < StormSize; ++i) {
                    QDBusMessage call = QDBusMessage::createMethodCall(m_peers.modem.controlName(),
                        QStringLiteral("/control"), PeerProcess::ModemControlInterface,
                        QStringLiteral("SetState"));
                    call << QString::fromLatin1(i + 1 == StormSize ? "absent"
                            : i % 2                                ? "ready"
                                                                   : "pin");
                    QVERIFY(QDBusConnection::systemBus().send(call));
                }
                // The modem has handled every change once it answers this.
                QVERIFY(succeeded(m_peers.modem.control(
                    PeerProcess::ModemControlInterface, QStringLiteral("GetState"))));
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

QTEST_MAIN(TestStorms)
#include "tst_storms.moc"
