// SimLogic with the real item list and client libraries, against the peers on
// the test's private bus. The end-to-end suites play what a phone does; here
// are the reports and answers it cannot be made to give on cue, sent through
// the libraries' own signals so that they take the controller's connections.

#include "logcapture.h"
#include "pagerows.h"
#include "peerprocess.h"
#include "pinqueryinterface.h"
#include "simcontainer.h"
#include "simlogic.h"

#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QtTest>

#include "infowidget.h"

using PageRows::Activate;
using PageRows::FlightMode;
using PageRows::Normal;
using PageRows::RequestOff;
using PageRows::SimError;

namespace {
// Long enough for a stray answer to arrive over the private bus.
const int NoMoreMs = 150;


const QString LockSlot = QStringLiteral("void SimLogic::onSimLockStatusComplete(simlock::SIMLock::"
                                        "SIMLockStatus, simlock::SIMLock::SIMLockError): ");
const QString PinSlot = QStringLiteral("void SimLogic::onSimSecurityStatusComplete(Cellular::SIM::"
                                       "SIMSecurity::PINQuery, Cellular::SIM::SIMError): ");
// The modem's card: SIM lock not active, PIN request on.
const QString LockQueryAnswer = LockSlot + QStringLiteral("1 0");
const QString PinQueryAnswer = PinSlot + QStringLiteral("0 0 is locked: false");
const QString PinQueryLocked = PinSlot + QStringLiteral("0 0 is locked: true");

// What came before the report, after the first cycle: a SIM-lock answer
// "active", a SIM-lock unlock, or the user turning the PIN request switch off.
enum Before { Settled, LockActive, Unlocked, SwitchedOff };
// Where an answer comes from: a client library, or the PIN query service
// reporting the request state (0 on, 1 off, -1 unknown, as the dialogue was
// cancelled) or the outcome of an unlock.
enum Source { NoAnswer, SimLockAnswer, PinAnswer, ServiceReport, UnlockReport };

// Whether the lines were written in this order, with others between them.
bool writtenInOrder(const LogCapture &log, const QStringList &lines)
{
    int next = 0;
    for (const QString &line : log.debugLines()) {
        if (next < lines.size() && line == lines.at(next)) {
            ++next;
        }
    }
    return next == lines.size();
}
} // namespace

Q_DECLARE_METATYPE(Before)
Q_DECLARE_METATYPE(Source)

// One page's list and controller, in a scene as on the page.
struct Page
{
    Page()
        : list(new SimContainer(nullptr))
        , logic(new SimLogic(list, nullptr))
    {
        scene.addItem(list);
        QObject::connect(logic, &SimLogic::setSpinner, logic, [this](bool on) { spinning = on; });
    }
    ~Page() { delete logic; }

    // What the page shows: the header's spinner, the list's visible rows in
    // layout order, the switch's state and the error text.
    QString rows() const
    {
        QStringList parts;
        if (spinning) {
            parts << QStringLiteral("spinner");
        }
        auto *layout = static_cast<QGraphicsLinearLayout *>(list->layout());
        for (int i = 0; i < layout->count(); ++i) {
            auto *row = static_cast<QGraphicsWidget *>(layout->itemAt(i)->graphicsItem());
            if (!row->isVisible()) {
                continue;
            }
            QString text = row->objectName();
            if (text == QLatin1String("SimPinRequestItem")) {
                text += list->pinSwitchState() ? QLatin1String(":on") : QLatin1String(":off");
            } else if (auto *info = qobject_cast<InfoWidget *>(row)) {
                text += QLatin1Char(':') + info->text();
            }
            parts << text;
        }
        return parts.join(QLatin1Char(' '));
    }

    // Sends a report or an answer the way its source does.
    void report(int status)
    {
        QVERIFY(QMetaObject::invokeMethod(logic->findChild<SimChecker *>(), "statusChange",
            Q_ARG(SimChecker::Status, SimChecker::Status(status))));
    }
    void answerLock(int status, int error)
    {
        QVERIFY(QMetaObject::invokeMethod(logic->findChild<simlock::SIMLock *>(),
            "simLockStatusComplete", Q_ARG(SIMLock::SIMLockStatus, SIMLock::SIMLockStatus(status)),
            Q_ARG(SIMLock::SIMLockError, SIMLock::SIMLockError(error))));
    }
    void answerPinQuery(int state, int error)
    {
        QVERIFY(QMetaObject::invokeMethod(logic->findChild<SIMSecurity *>(),
            "pinQueryStateComplete", Q_ARG(SIMSecurity::PINQuery, SIMSecurity::PINQuery(state)),
            Q_ARG(SIMError, SIMError(error))));
    }

    QGraphicsScene scene;
    SimContainer *list;
    SimLogic *logic;
    bool spinning = false;
};

class TestSimLogic : public QObject
{
    Q_OBJECT

public:
    TestSimLogic()
        : m_modem(PeerProcess::Modem)
        , m_modeControl(PeerProcess::ModeControl)
        , m_pin(PeerProcess::PinQuery)
    { }

private:
    // A page whose first update cycle (a ready card, PIN request on) is over,
    // with the log cleared.
    void settle(Page &page, LogCapture &log)
    {
        QTRY_COMPARE(page.rows(), Normal);
        QTRY_VERIFY(log.contains(QtDebugMsg, PinQueryAnswer));
        log.clear();
    }
    bool pinControl(const QString &method, const QVariantList &arguments)
    {
        return PeerProcess::succeeded(
            m_pin.control(PeerProcess::PinQueryControlInterface, method, arguments));
    }

    PeerProcess m_modem;
    PeerProcess m_modeControl;
    PeerProcess m_pin;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_modem.start({ "--pin-entered", "--start-up-ms", "600000" }),
            qPrintable(m_modem.lastError()));
        QVERIFY2(m_modeControl.start(), qPrintable(m_modeControl.lastError()));
    }

    void init()
    {
        if (!m_pin.isRunning()) {
            QVERIFY2(m_pin.start({ "--headless" }), qPrintable(m_pin.lastError()));
        }
        QVERIFY(m_modem.reset());
        QVERIFY(m_modeControl.reset());
        QVERIFY(m_pin.reset());
    }

    void reportAndAnswer_data();
    void reportAndAnswer();
    void requestsWithoutTheService();
};

void TestSimLogic::reportAndAnswer_data()
{
    QTest::addColumn<Before>("before");
    QTest::addColumn<int>("status"); // then this report, unless Ok, and its cycle
    QTest::addColumn<Source>("source"); // then this answer
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<bool>("lockedAfter"); // isLocked, as the next PIN answer writes it
    QTest::addColumn<QStringList>("lines"); // written from the report on, in this order

    const auto row = [](const char *tag, Before before, SimChecker::Status status, Source source,
                         int value, int error, const QString &rows, bool lockedAfter = false,
                         const QStringList &lines = {}) {
        QTest::newRow(tag) << before << int(status) << source << value << error << rows
                           << lockedAfter << lines;
    };
    const auto ok = SimChecker::Ok;
    const int noError = Cellular::SIM::NoError;
    const int lockReadError = Cellular::SIM::SIMLockActive;

    // Reports the modem cannot make.
    row("Unknown", Settled, SimChecker::Unknown, NoAnswer, 0, 0, SimError);
    row("out of range: only the lock query", Settled, SimChecker::Status(SimChecker::Offline + 1),
        NoAnswer, 0, 0, Normal, false, { LockQueryAnswer });
    // The error line goes and the unlock row shows before the lock answer.
    row("SIM-locked: unlock row until the lock answer", Settled, SimChecker::SimLocked, NoAnswer, 0,
        0, Normal, false,
        { QStringLiteral("void SimContainer::showErrorItem(const QString&): \"\""),
            "void SimContainer::showUnlockSimItem(bool): true", LockQueryAnswer,
            "void SimContainer::showUnlockSimItem(bool): false" });

    // Compared as unsigned: a negative status is a large one.
    row("negative lock status: active", Settled, ok, SimLockAnswer, -1, noError,
        "SimUnlockSimItem " + Normal, true, { PinQueryLocked });
    row("lock query failed, the lock stays on", LockActive, ok, SimLockAnswer,
        SIMLock::SIMLockNotActive, SIMLock::ServiceFailed, SimError, true);
    row("lock query failed, the lock stays off", Settled, ok, SimLockAnswer, SIMLock::SIMLockActive,
        SIMLock::ServiceFailed, SimError);
    row("lock answer while not activated is dropped", Settled, SimChecker::NotActivated,
        SimLockAnswer, SIMLock::SIMLockActive, noError, Activate, false,
        { LockSlot
            + "Don't show the unlock button because SIM is not activated -> ronwed won't allow "
              "it" });

    row("PIN request state unusable", Settled, ok, PinAnswer, SIMSecurity::UnknownQuery, noError,
        SimError);
    row("PIN query error 5, lock off", Settled, ok, PinAnswer, 0, lockReadError, SimError);
    row("PIN query error 3, lock on", LockActive, ok, PinAnswer, 0, Cellular::SIM::SIMNotReady,
        SimError, true);
    row("PIN answer while SIM-locked", Settled, SimChecker::SimLocked, PinAnswer,
        SIMSecurity::Disabled, noError, RequestOff);
    // An answer to a query of an earlier Ok cycle changes nothing once the
    // SIM is no longer ready.
    row("stale PIN answer while offline", Settled, SimChecker::Offline, PinAnswer,
        SIMSecurity::Enabled, noError, FlightMode);
    row("stale PIN failure while offline", Settled, SimChecker::Offline, PinAnswer, 0,
        Cellular::SIM::SIMNotReady, FlightMode);
    row("stale PIN answer while not activated", Settled, SimChecker::NotActivated, PinAnswer,
        SIMSecurity::Enabled, noError, Activate);
    row("stale PIN answer after an error", Settled, SimChecker::Error, PinAnswer,
        SIMSecurity::Disabled, noError, SimError);

    // After an unlock the spinner turns until a report other than "not
    // ready", and starting up shows no error meanwhile.
    row("opening: not activated keeps it", Unlocked, SimChecker::NotActivated, NoAnswer, 0, 0,
        "spinner " + Activate);
    row("opening: no SIM ends it, no error", Unlocked, SimChecker::NoSim, NoAnswer, 0, 0, Normal);
    row("opening: unknown ends it, no error", Unlocked, SimChecker::Unknown, NoAnswer, 0, 0,
        Normal);
    row("opening: an error ends it and shows", Unlocked, SimChecker::Error, NoAnswer, 0, 0,
        SimError);
    // Even with no spinner shown, and without asking anything.
    row("failed unlock: spinner off", Settled, ok, UnlockReport, false, 0, Normal);

    // An unknown state puts the switch back where it stood before the user
    // moved it.
    row("service: another value is off", Settled, ok, ServiceReport, 2, 0, RequestOff);
    row("service: unknown, back from off", SwitchedOff, ok, ServiceReport, -1, 0, Normal);
}

void TestSimLogic::reportAndAnswer()
{
    QFETCH(Before, before);
    QFETCH(int, status);
    QFETCH(Source, source);
    QFETCH(int, value);
    QFETCH(int, error);
    QFETCH(QStringList, lines);
    LogCapture log;
    Page page;
    settle(page, log);
    if (before == LockActive) {
        page.answerLock(SIMLock::SIMLockActive, SIMLock::NoError);
        QTRY_VERIFY(log.contains(QtDebugMsg, PinQueryLocked));
    } else if (before == Unlocked) {
        QVERIFY(pinControl(QStringLiteral("EmitSimLockUnlockComplete"), { true, 1u }));
        QTRY_VERIFY(log.contains(QtDebugMsg, PinQueryAnswer)); // the unlock's own cycle
    } else if (before == SwitchedOff) {
        page.list->setPinRequestState(false);
    }
    log.clear();
    if (status != SimChecker::Ok) {
        page.report(status);
        if (status != SimChecker::NotActivated) {
            QTRY_VERIFY(log.contains(QtDebugMsg, LockQueryAnswer));
        }
        if (status == SimChecker::SimLocked) {
            QTRY_VERIFY(log.contains(QtDebugMsg, PinQueryAnswer));
        }
    }
    QString entry = QStringLiteral("%1 %2").arg(value).arg(error);
    if (source == SimLockAnswer) {
        page.answerLock(value, error);
        entry.prepend(LockSlot);
    } else if (source == PinAnswer) {
        page.answerPinQuery(value, error);
        entry = PinSlot + entry + (before == LockActive ? " is locked: true" : " is locked: false");
    } else if (source == ServiceReport) {
        QVERIFY(pinControl(QStringLiteral("EmitPinQueryEnabled"), { value, 1u }));
        entry = QStringLiteral("void SimLogic::onPinQueryEnabled(int): %1").arg(value);
    } else if (source == UnlockReport) {
        QVERIFY(pinControl(QStringLiteral("EmitSimLockUnlockComplete"), { bool(value), 1u }));
        entry = QStringLiteral("void SimLogic::onSimLockUnlockComplete(bool): ")
            + (value ? "true" : "false");
    }
    if (source != NoAnswer) {
        // Queued: the list's show operations run pending events, and an
        // answer must not overtake the report being shown.
        QVERIFY(!log.contains(QtDebugMsg, entry));
        lines.prepend(entry);
    }
    QTRY_VERIFY2(writtenInOrder(log, lines), qPrintable(log.debugLines().join('\n')));
    QTEST(page.rows(), "rows");
    if (source == UnlockReport && !value) {
        QTest::qWait(NoMoreMs); // proving that no SIM-lock query follows
        QCOMPARE(log.count(QtDebugMsg, LockQueryAnswer), 0);
    }

    QFETCH(bool, lockedAfter);
    log.clear();
    page.answerPinQuery(0, Cellular::SIM::SIMLockActive);
    QTRY_VERIFY(log.contains(QtDebugMsg,
        PinSlot + QStringLiteral("0 5 is locked: %1").arg(lockedAfter ? "true" : "false")));
}

// The switch and the activate row have their own fault tests.
void TestSimLogic::requestsWithoutTheService()
{
    LogCapture log;
    Page page;
    settle(page, log);
    m_pin.stop();
    QTRY_VERIFY(!page.logic->findChild<PinQueryInterface *>()->isValid());
    QVERIFY(QMetaObject::invokeMethod(page.list, "unlockRequested"));
    QVERIFY(QMetaObject::invokeMethod(page.list, "changePinRequested"));
    QCOMPARE(log.linesStartingWith(QtWarningMsg, QStringLiteral("void SimLogic::")),
        QStringList({ "void SimLogic::onUnlockRequested() No interface to PIN query!",
            "void SimLogic::onChangePinRequested() No interface to PIN query!" }));
}

QTEST_MAIN(TestSimLogic)
#include "tst_simlogic.moc"
