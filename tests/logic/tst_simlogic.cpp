// SimLogic with the real item list and the real client libraries, against
// the simulated modem, the mode-control daemon and the headless PIN query
// service on the test's private bus. Library answers that the modem would
// not give are sent through the libraries' own signals, so they take the
// controller's very connections.

#include "logcapture.h"
#include "peerprocess.h"
#include "pinqueryinterface.h"
#include "simcontainer.h"
#include "simlogic.h"

#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#include "infowidget.h"

namespace {
const QString &PinControl = PeerProcess::PinQueryControlInterface;
// Long enough for a stray answer to arrive over the private bus.
const int NoMoreMs = 150;

const QString Normal = QStringLiteral("SimPinRequestItem:on SimPinChangeItem");
const QString Slot1
    = QStringLiteral("void SimLogic::onSimCheckerStatusChanged(SimChecker::Status): ");
const QString Slot2 = QStringLiteral("void SimLogic::onSimLockStatusComplete(simlock::SIMLock::"
                                     "SIMLockStatus, simlock::SIMLock::SIMLockError): ");
const QString Slot3 = QStringLiteral("void SimLogic::onSimSecurityStatusComplete(Cellular::SIM::"
                                     "SIMSecurity::PINQuery, Cellular::SIM::SIMError): ");
const QString ErrorTextLine = QStringLiteral("QString SimLogic::errorText(SimChecker::Status): ");
const QString LockQueryAnswer = Slot2 + QStringLiteral("1 0");
const QString PinQueryAnswer = Slot3 + QStringLiteral("0 0 is locked: false");

// Which client library an injected answer comes from.
enum Library { SimLockAnswer, PinAnswer };

// The controller's own lines and the list operations it calls, in order.
QStringList logicLines(const LogCapture &log)
{
    QStringList lines;
    for (const QString &line : log.debugLines()) {
        if (line.startsWith(QLatin1String("SimLogic::"))
            || line.contains(QLatin1String(" SimLogic::"))
            || line.startsWith(QLatin1String("void SimContainer::show"))) {
            lines << line;
        }
    }
    return lines;
}

QStringList warnings(const LogCapture &log)
{
    QStringList lines;
    for (const QString &line : log.warningLines()) {
        if (line.contains(QLatin1String("SimLogic::"))) {
            lines << line;
        }
    }
    return lines;
}

QString shown(bool show, const QString &row)
{
    return QStringLiteral("void SimContainer::show%1Item(bool): %2")
        .arg(row, show ? QStringLiteral("true") : QStringLiteral("false"));
}

QString errorItem(const QString &text)
{
    return QStringLiteral("void SimContainer::showErrorItem(const QString&): \"%1\"").arg(text);
}
} // namespace

Q_DECLARE_METATYPE(Library)

// One page's list and controller, in a scene as on the page.
struct Page
{
    Page()
        : list(new SimContainer(nullptr))
        , logic(new SimLogic(list, nullptr))
    {
        scene.addItem(list);
    }
    ~Page() { delete logic; }

    // What the list shows: the visible rows in layout order, the switch's
    // state and the error text.
    QString rows() const
    {
        QStringList parts;
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
        return PeerProcess::succeeded(m_pin.control(PinControl, method, arguments));
    }

    PeerProcess m_modem;
    PeerProcess m_modeControl;
    PeerProcess m_pin;

private Q_SLOTS:
    void initTestCase();
    void init();

    void constructionAndTeardown();
    void libraryAnswersAreQueued();
    void statusReport_data();
    void statusReport();
    void libraryAnswer_data();
    void libraryAnswer();
    void opening_data();
    void opening();
    void failedUnlockTurnsTheSpinnerOff();
    void requestsReachTheService_data();
    void requestsReachTheService();
    void pinQueryEnabledSettlesTheSwitch_data();
    void pinQueryEnabledSettlesTheSwitch();
};

void TestSimLogic::initTestCase()
{
    QVERIFY2(m_modem.start({ "--pin-entered", "--start-up-ms", "600000" }),
        qPrintable(m_modem.lastError()));
    QVERIFY2(m_modeControl.start(), qPrintable(m_modeControl.lastError()));
}

void TestSimLogic::init()
{
    if (!m_pin.isRunning()) {
        QVERIFY2(m_pin.start({ "--headless" }), qPrintable(m_pin.lastError()));
    }
    QVERIFY(m_modem.reset());
    QVERIFY(m_modeControl.reset());
    QVERIFY(m_pin.reset());
}

void TestSimLogic::constructionAndTeardown()
{
    LogCapture log;
    std::unique_ptr<Page> page(new Page);
    // Nothing happens before the event loop runs: no query, no item.
    QCOMPARE(logicLines(log), QStringList { "SimLogic::SimLogic(SimContainer*, QObject*):" });
    QCOMPARE(page->rows(), QString());
    // The first report starts the first cycle.
    QTRY_COMPARE(page->rows(), Normal);
    QTRY_VERIFY(log.contains(QtDebugMsg, PinQueryAnswer));

    QPointer<QObject> checker = page->logic->findChild<SimChecker *>();
    log.clear();
    page.reset();
    QVERIFY(checker.isNull());
    QCOMPARE(logicLines(log), QStringList { "virtual SimLogic::~SimLogic():" });
}

void TestSimLogic::libraryAnswersAreQueued()
{
    LogCapture log;
    Page page;
    settle(page, log);
    page.answerLock(SIMLock::SIMLockActive, SIMLock::NoError);
    page.answerPinQuery(SIMSecurity::Disabled, Cellular::SIM::NoError);
    QCOMPARE(logicLines(log), QStringList());
    QTRY_COMPARE(logicLines(log).mid(0, 2),
        QStringList({ Slot2 + QStringLiteral("2 0"), shown(true, "UnlockSim") }));
}

void TestSimLogic::statusReport_data()
{
    QTest::addColumn<int>("status");
    // The controller's lines and list calls after the report; the card's
    // answers are "SIM-lock not active" and "PIN request on".
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("rows");

    const QStringList errorLines { shown(false, "ActivateSim"), shown(false, "UnlockSim"),
        shown(false, "PinRequest") };
    auto error = [&](int status, const char *text) {
        return QStringList { Slot1 + QString::number(status), shown(false, "ActivateSim"),
            ErrorTextLine + QString::number(status), errorItem(text) }
        + errorLines + QStringList { LockQueryAnswer, shown(false, "UnlockSim") };
    };
    const QStringList okTail { LockQueryAnswer, shown(false, "UnlockSim"), PinQueryAnswer,
        errorItem(""), shown(true, "PinRequest") };

    QTest::newRow("not activated: the activate row alone, no query")
        << int(SimChecker::NotActivated)
        << QStringList { Slot1 + "1", shown(true, "ActivateSim"), shown(false, "UnlockSim"),
               shown(false, "PinRequest") }
        << "SimActivateSimItem";
    QTest::newRow("Ok") << int(SimChecker::Ok)
                        << QStringList { Slot1 + "2", shown(false, "ActivateSim") } + okTail
                        << Normal;
    QTest::newRow("SIM-locked: unlock row until the lock answer")
        << int(SimChecker::SimLocked)
        << QStringList { Slot1 + "3", shown(false, "ActivateSim"), errorItem(""),
               shown(true, "UnlockSim") }
            + okTail
        << Normal;
    const struct
    {
        const char *tag;
        SimChecker::Status status;
        const char *text;
    } errors[] = { { "NoSim", SimChecker::NoSim, "qtn_cell_sim_not_available" },
        { "Unknown", SimChecker::Unknown, "qtn_cell_sim_not_error" },
        { "Error", SimChecker::Error, "qtn_cell_sim_not_error" },
        { "NotReady", SimChecker::NotReady, "qtn_cell_sim_not_error" },
        { "Offline", SimChecker::Offline, "qtn_cell_sim_not_flight" } };
    for (const auto &row : errors)
        QTest::newRow(row.tag) << int(row.status) << error(row.status, row.text)
                               << QStringLiteral("SimErrorItem:") + row.text;
    // Beyond the enumeration: only the activate row and the lock query.
    QTest::newRow("out of range") << int(SimChecker::Offline) + 1
                                  << QStringList { Slot1 + "7", shown(false, "ActivateSim"),
                                         LockQueryAnswer, shown(false, "UnlockSim") }
                                  << Normal;
}

void TestSimLogic::statusReport()
{
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    LogCapture log;
    Page page;
    settle(page, log);
    page.report(status);
    QTRY_COMPARE(logicLines(log), lines);
    QTest::qWait(NoMoreMs); // proving that no further query was made
    QCOMPARE(logicLines(log), lines);
    QTEST(page.rows(), "rows");
}

void TestSimLogic::libraryAnswer_data()
{
    QTest::addColumn<bool>("lockActive"); // a SIM-lock answer "active" came first
    QTest::addColumn<int>("status"); // then this report, unless Ok, and its cycle
    QTest::addColumn<Library>("library");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("follows"); // a controller line after the answer's own
    QTest::addColumn<QString>("rows");
    QTest::addColumn<bool>("lockedAfter"); // isLocked, as the next PIN answer writes it

    using simlock::SIMLock;
    const int ok = SimChecker::Ok;
    const int noError = Cellular::SIM::NoError;
    const int lockReadError = Cellular::SIM::SIMLockActive;
    const QString simError = QStringLiteral("SimErrorItem:qtn_cell_sim_not_error");
    const QString flightMode = QStringLiteral("SimErrorItem:qtn_cell_sim_not_flight");
    const QString unlockAndNormal = "SimUnlockSimItem " + Normal;
    const QString pinQueryLocked = Slot3 + "0 0 is locked: true";

    QTest::newRow("lock not active")
        << false << ok << SimLockAnswer << int(SIMLock::SIMLockNotActive) << noError
        << PinQueryAnswer << Normal << false;
    QTest::newRow("lock active") << false << ok << SimLockAnswer << int(SIMLock::SIMLockActive)
                                 << noError << pinQueryLocked << unlockAndNormal << true;
    // Compared as unsigned: a negative status is a large one.
    QTest::newRow("negative lock status: active") << false << ok << SimLockAnswer << -1 << noError
                                                  << pinQueryLocked << unlockAndNormal << true;
    QTest::newRow("lock query failed, the lock stays on")
        << true << ok << SimLockAnswer << int(SIMLock::SIMLockNotActive)
        << int(SIMLock::ServiceFailed) << QString() << simError << true;
    QTest::newRow("lock query failed, the lock stays off")
        << false << ok << SimLockAnswer << int(SIMLock::SIMLockActive)
        << int(SIMLock::ServiceFailed) << QString() << simError << false;
    QTest::newRow("lock answer while not activated is dropped")
        << false << int(SimChecker::NotActivated) << SimLockAnswer << int(SIMLock::SIMLockActive)
        << noError
        << Slot2
            + "Don't show the unlock button because SIM is not activated -> ronwed won't allow it"
        << "SimActivateSimItem" << false;
    QTest::newRow("PIN request off") << false << ok << PinAnswer << int(SIMSecurity::Disabled)
                                     << noError << QString() << "SimPinRequestItem:off" << false;
    QTest::newRow("PIN request state unusable")
        << false << ok << PinAnswer << int(SIMSecurity::UnknownQuery) << noError << QString()
        << simError << false;
    QTest::newRow("PIN query error 5, lock off")
        << false << ok << PinAnswer << 0 << lockReadError << QString() << simError << false;
    // the card cannot be read while the SIM lock is on: nothing changes
    QTest::newRow("PIN query error 5, lock on")
        << true << ok << PinAnswer << 0 << lockReadError << QString() << unlockAndNormal << true;
    QTest::newRow("PIN query error 3, lock on")
        << true << ok << PinAnswer << 0 << int(Cellular::SIM::SIMNotReady) << QString() << simError
        << true;
    QTest::newRow("PIN answer while SIM-locked")
        << false << int(SimChecker::SimLocked) << PinAnswer << int(SIMSecurity::Disabled) << noError
        << QString() << "SimPinRequestItem:off" << false;
    // An answer to a query of an earlier Ok cycle changes nothing once the
    // SIM is no longer ready.
    QTest::newRow("stale PIN answer while offline")
        << false << int(SimChecker::Offline) << PinAnswer << int(SIMSecurity::Enabled) << noError
        << QString() << flightMode << false;
    QTest::newRow("stale PIN failure while offline")
        << false << int(SimChecker::Offline) << PinAnswer << 0 << int(Cellular::SIM::SIMNotReady)
        << QString() << flightMode << false;
    QTest::newRow("stale PIN answer while not activated")
        << false << int(SimChecker::NotActivated) << PinAnswer << int(SIMSecurity::Enabled)
        << noError << QString() << "SimActivateSimItem" << false;
    QTest::newRow("stale PIN answer after an error")
        << false << int(SimChecker::Error) << PinAnswer << int(SIMSecurity::Disabled) << noError
        << QString() << simError << false;
}

void TestSimLogic::libraryAnswer()
{
    QFETCH(bool, lockActive);
    QFETCH(int, status);
    QFETCH(Library, library);
    QFETCH(int, value);
    QFETCH(int, error);
    QFETCH(QString, follows);
    LogCapture log;
    Page page;
    settle(page, log);
    if (lockActive) {
        page.answerLock(SIMLock::SIMLockActive, SIMLock::NoError);
        QTRY_VERIFY(log.contains(QtDebugMsg, Slot3 + "0 0 is locked: true"));
    }
    if (status != SimChecker::Ok) {
        page.report(status);
        if (status != SimChecker::NotActivated) {
            QTRY_VERIFY(log.contains(QtDebugMsg, LockQueryAnswer));
        }
        if (status == SimChecker::SimLocked) {
            QTRY_VERIFY(log.contains(QtDebugMsg, PinQueryAnswer));
        }
    }
    log.clear();
    if (library == SimLockAnswer) {
        page.answerLock(value, error);
    } else {
        page.answerPinQuery(value, error);
    }
    const QString entry = (library == SimLockAnswer ? Slot2 : Slot3)
        + QStringLiteral("%1 %2").arg(value).arg(error)
        + (library == PinAnswer
                ? QStringLiteral(" is locked: %1").arg(lockActive ? "true" : "false")
                : QString());
    QTRY_VERIFY(log.contains(QtDebugMsg, entry));
    if (!follows.isEmpty()) {
        QTRY_VERIFY(log.contains(QtDebugMsg, follows));
    }
    QTEST(page.rows(), "rows");

    QFETCH(bool, lockedAfter);
    log.clear();
    page.answerPinQuery(0, Cellular::SIM::SIMLockActive);
    QTRY_VERIFY(log.contains(QtDebugMsg,
        Slot3 + QStringLiteral("0 5 is locked: %1").arg(lockedAfter ? "true" : "false")));
}

void TestSimLogic::opening_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QList<bool>>("spinner"); // what setSpinner() said after the report
    QTest::addColumn<QString>("rows");

    QTest::newRow("not ready keeps opening, no error")
        << int(SimChecker::NotReady) << QList<bool>() << Normal;
    QTest::newRow("not activated keeps opening")
        << int(SimChecker::NotActivated) << QList<bool>() << "SimActivateSimItem";
    QTest::newRow("no SIM ends opening, no error")
        << int(SimChecker::NoSim) << QList<bool> { false } << Normal;
    QTest::newRow("unknown ends opening, no error")
        << int(SimChecker::Unknown) << QList<bool> { false } << Normal;
    QTest::newRow("error ends opening and shows")
        << int(SimChecker::Error) << QList<bool> { false } << "SimErrorItem:qtn_cell_sim_not_error";
    QTest::newRow("ok ends opening") << int(SimChecker::Ok) << QList<bool> { false } << Normal;
}

void TestSimLogic::opening()
{
    QFETCH(int, status);
    QFETCH(QList<bool>, spinner);
    LogCapture log;
    Page page;
    settle(page, log);
    QSignalSpy spy(page.logic, SIGNAL(setSpinner(bool)));
    QVERIFY(pinControl(QStringLiteral("EmitSimLockUnlockComplete"), { true, 1u }));
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    // The unlock asks for the SIM-lock state.
    QTRY_VERIFY(log.contains(QtDebugMsg, LockQueryAnswer));
    QCOMPARE(logicLines(log).first(),
        QStringLiteral("void SimLogic::onSimLockUnlockComplete(bool): true"));

    spy.clear();
    page.report(status);
    QList<bool> said;
    for (const QList<QVariant> &arguments : spy) {
        said << arguments.at(0).toBool();
    }
    QCOMPARE(said, spinner);
    QCOMPARE(log.contains(QtDebugMsg, Slot1 + "ignore init errors while opening"),
        status == SimChecker::Unknown || status == SimChecker::NoSim
            || status == SimChecker::NotReady);
    if (status != SimChecker::NotActivated) {
        QTRY_COMPARE(log.count(QtDebugMsg, LockQueryAnswer), 2);
    }
    QTEST(page.rows(), "rows");
}

void TestSimLogic::failedUnlockTurnsTheSpinnerOff()
{
    LogCapture log;
    Page page;
    settle(page, log);
    QSignalSpy spy(page.logic, SIGNAL(setSpinner(bool)));
    // Even with no spinner shown, and without asking anything.
    QVERIFY(pinControl(QStringLiteral("EmitSimLockUnlockComplete"), { false, 1u }));
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QTest::qWait(NoMoreMs); // proving that no SIM-lock query follows
    QCOMPARE(
        logicLines(log), QStringList { "void SimLogic::onSimLockUnlockComplete(bool): false" });
}

void TestSimLogic::requestsReachTheService_data()
{
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QVariant>("argument");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QStringList>("lines");

    // The controller's slot, then the service client's check and call.
    auto lines = [](const QString &slot, const QString &call, const QString &value) {
        return QStringList { "void SimLogic::" + slot + value,
            "bool PinQueryInterface::isValid(): true", "void PinQueryInterface::" + call + value };
    };
    QTest::newRow("activate") << QByteArray("activationRequested") << QVariant()
                              << "LaunchPinQuery \"PIN\""
                              << QStringList { "void SimLogic::onActivationRequested():" };
    QTest::newRow("unlock") << QByteArray("unlockRequested") << QVariant() << "SimLockUnlock"
                            << lines("onUnlockRequested():", "SimLockUnlock():", "");
    QTest::newRow("switch on") << QByteArray("pinRequestToggled") << QVariant(true)
                               << "EnablePinQuery true"
                               << lines("onEnablePinRequested(bool):", "EnablePinQuery(bool):",
                                      " true");
    QTest::newRow("switch off") << QByteArray("pinRequestToggled") << QVariant(false)
                                << "EnablePinQuery false"
                                << lines("onEnablePinRequested(bool):", "EnablePinQuery(bool):",
                                       " false");
    QTest::newRow("change PIN") << QByteArray("changePinRequested") << QVariant() << "ChangePinCode"
                                << lines("onChangePinRequested():", "ChangePinCode():", "");
}

void TestSimLogic::requestsReachTheService()
{
    QFETCH(QByteArray, signal);
    QFETCH(QVariant, argument);
    QFETCH(QStringList, lines);
    LogCapture log;
    Page page;
    settle(page, log);
    auto emitRequest = [&] {
        const bool ok = argument.isValid()
            ? QMetaObject::invokeMethod(page.list, signal, Q_ARG(bool, argument.toBool()))
            : QMetaObject::invokeMethod(page.list, signal);
        QVERIFY(ok);
    };

    // Every request goes out at once, whether or not one is outstanding.
    emitRequest();
    emitRequest();
    QCOMPARE(log.debugLines(), lines + lines);
    QVERIFY(m_pin.waitForCalls(2));
    QCOMPARE(m_pin.calls().size(), 2);
    for (const PeerProcess::Call &call : m_pin.calls()) {
        QTEST((call.method + QLatin1Char(' ') + call.arguments).trimmed(), "call");
    }
    // The switch is the service's to settle, not the request's.
    QCOMPARE(page.rows(), Normal);

    // Without the service the request is dropped with a warning.
    m_pin.stop();
    auto *client = page.logic->findChild<PinQueryInterface *>();
    QTRY_VERIFY(!client->isValid());
    log.clear();
    emitRequest();
    const QString slot = lines.first().left(lines.first().indexOf(QLatin1String("):")) + 1);
    QCOMPARE(warnings(log), QStringList { slot + QStringLiteral(" No interface to PIN query!") });
}

// What the PIN query service reports: 0 on, 1 off, -1 unknown (the
// dialogue was cancelled); anything else counts as off.
void TestSimLogic::pinQueryEnabledSettlesTheSwitch_data()
{
    QTest::addColumn<bool>("userSwitch"); // where the user put the switch
    QTest::addColumn<int>("reported");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QStringList>("lines");

    const int on = 0;
    const int off = 1;
    const int unknown = -1;
    const QString line = QStringLiteral("void SimLogic::onPinQueryEnabled(int): %1");
    const QString setting = line.arg("state unknown, setting to %1");
    QTest::newRow("on") << false << on << Normal << QStringList { line.arg(on) };
    QTest::newRow("off") << true << off << "SimPinRequestItem:off" << QStringList { line.arg(off) };
    QTest::newRow("another value: off")
        << true << 2 << "SimPinRequestItem:off" << QStringList { line.arg(2) };
    QTest::newRow("unknown: back from off")
        << false << unknown << Normal << QStringList { line.arg(unknown), setting.arg(1) };
    QTest::newRow("unknown: back from on") << true << unknown << "SimPinRequestItem:off"
                                           << QStringList { line.arg(unknown), setting.arg(0) };
}

void TestSimLogic::pinQueryEnabledSettlesTheSwitch()
{
    QFETCH(bool, userSwitch);
    QFETCH(int, reported);
    LogCapture log;
    Page page;
    settle(page, log);
    page.list->setPinRequestState(userSwitch);
    QVERIFY(pinControl(QStringLiteral("EmitPinQueryEnabled"), { reported, 1u }));
    QFETCH(QStringList, lines);
    QTRY_COMPARE(logicLines(log), lines);
    QTEST(page.rows(), "rows");
}

QTEST_MAIN(TestSimLogic)
#include "tst_simlogic.moc"
