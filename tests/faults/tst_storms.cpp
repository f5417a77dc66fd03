// Signal storms while the SIM page is open: the page keeps up, ends showing
// the last report, and its stack stays shallow although the item list runs
// pending events inside its show operations.

#include "faultfixture.h"
#include "logcapture.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QtTest>

using namespace Faults;

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
        QVERIFY(m_peers.modem.reset());
        QVERIFY(m_peers.modeControl.reset());
        QVERIFY(m_peers.pinQuery.reset());
    }

    void storm_data();
    void storm();
};

void TestStorms::storm_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("lastRows");
    // Each storm shows an error line again and again: every report makes the
    // list settle before it shows the line.
    QTest::newRow("radio_states_ind offline, then online") << "radio" << ReadyRows;
    // Ends in a state the storm never passed through, so that reaching it
    // means the last report was handled.
    QTest::newRow("SIM state flips, ending without a card")
        << "sim"
        << "SimErrorItem:qtn_cell_sim_not_available";
    QTest::newRow("PinQueryEnabled on, then off") << "pin"
                                                  << "SimPinRequestItem:off";
}

void TestStorms::storm()
{
    QFETCH(QString, kind);
    QFETCH(QString, lastRows);
    SimPage page;
    QVERIFY(page.waitForRows(ReadyRows));

    StackGauge gauge;
    {
        LogCapture log;
        if (kind == QLatin1String("radio")) {
            QVERIFY(succeeded(m_peers.modeControl.control(
                ModeControl, QStringLiteral("EmitRadioStates"), { Offline, StormSize })));
            QVERIFY(succeeded(m_peers.modeControl.control(
                ModeControl, QStringLiteral("SetRadioStates"), { Online })));
        } else if (kind == QLatin1String("sim")) {
            // As fast as the modem takes them. Sent without asking for replies:
            // the bus allows only so many unanswered calls per connection.
            QDBusConnection bus = QDBusConnection::systemBus();
            for (uint i = 0; i < StormSize; ++i) {
                QDBusMessage call = QDBusMessage::createMethodCall(m_peers.modem.controlName(),
                    QStringLiteral("/control"), ModemControl, QStringLiteral("SetState"));
                call << QString::fromLatin1(i + 1 == StormSize ? "absent"
                        : i % 2                                ? "ready"
                                                               : "pin");
                QVERIFY(bus.send(call));
            }
        } else {
            QVERIFY(succeeded(m_peers.pinQuery.control(PinControl,
                QStringLiteral("EmitPinQueryEnabled"), { PinRequestOn, StormSize - 1 })));
            QVERIFY(succeeded(m_peers.pinQuery.control(
                PinControl, QStringLiteral("EmitPinQueryEnabled"), { PinRequestOff, 1u })));
        }

        if (kind == QLatin1String("radio")) {
            QTRY_COMPARE_WITH_TIMEOUT(
                log.count(
                    QtDebugMsg, "void OxaIf::doOfflineChanged(uint): Bit mask: 1 m_offline: 0"),
                1, StormTimeoutMs);
            QCOMPARE(log.count(QtDebugMsg,
                         "void OxaIf::doOfflineChanged(uint): Bit mask: 0 m_offline: 1"),
                int(StormSize));
        } else if (kind == QLatin1String("pin")) {
            QTRY_COMPARE_WITH_TIMEOUT(
                log.count(QtDebugMsg, "void SimLogic::onPinQueryEnabled(int): 1"), 1,
                StormTimeoutMs);
            QCOMPARE(log.count(QtDebugMsg, "void SimLogic::onPinQueryEnabled(int): 0"),
                int(StormSize - 1));
        } else {
            // The modem has handled every change once it answers this.
            QVERIFY(succeeded(m_peers.modem.control(ModemControl, QStringLiteral("GetState"))));
        }
        QVERIFY(page.waitForRows(lastRows, StormTimeoutMs));
        QCOMPARE(log.warningLines(), QStringList());
    }
    qInfo("deepest stack during the storm: %lld bytes", qlonglong(gauge.deepest()));
    QVERIFY(gauge.deepest() < StackLimit);
}

QTEST_MAIN(TestStorms)
#include "tst_storms.moc"
