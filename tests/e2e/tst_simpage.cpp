// The SIM card page end to end: the real plug-in in the real settings host,
// on a private bus with the simulated modem, the mode-control daemon and the
// headless PIN query service deciding about codes through the modem.

#include "hostsession.h"
#include "peerprocess.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QtTest>

namespace {
const QString &ModemControl = PeerProcess::ModemControlInterface;
const QString &ModeControl = PeerProcess::ModeControlInterface;
const QString &PinControl = PeerProcess::PinQueryControlInterface;
const QString Pin = QStringLiteral("1357");
const QString NewPin = QStringLiteral("8642");
const QString UnlockCode = QStringLiteral("55667788");
const QString WrongPin = QStringLiteral("9999");
// Start-ups last until the test ends them ("ready on"), so that every
// state in between can be looked at.
const QString HeldStartUpMs = QStringLiteral("600000");
// A wrong code's attempts left come this long after its error reply.
const QString RecheckMs = QStringLiteral("500");
const int PageTimeoutMs = 15000;

const QString Normal = QStringLiteral("SimPinRequestItem:on SimPinChangeItem");
const QString NoSim = QStringLiteral("SimErrorItem:qtn_cell_sim_not_available");
const QString SimError = QStringLiteral("SimErrorItem:qtn_cell_sim_not_error");
const QString FlightMode = QStringLiteral("SimErrorItem:qtn_cell_sim_not_flight");

QDBusMessage callSim(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.ofono"),
        QStringLiteral("/sim_0"), QStringLiteral("org.ofono.SimManager"), method);
    call.setArguments(arguments);
    return QDBusConnection::systemBus().call(call);
}

QStringList lockedPins()
{
    const QDBusMessage reply = callSim(QStringLiteral("GetProperties"));
    return qdbus_cast<QVariantMap>(reply.arguments().value(0))
        .value(QStringLiteral("LockedPins"))
        .toStringList();
}

QString describe(const PeerProcess::Call &call)
{
    return (call.method + QLatin1Char(' ') + call.arguments).trimmed();
}
} // namespace

class TestSimPage : public QObject
{
    Q_OBJECT

public:
    TestSimPage()
        : m_modem(PeerProcess::Modem)
        , m_modeControl(PeerProcess::ModeControl)
        , m_pin(PeerProcess::PinQuery)
    { }

private:
    static bool succeeded(const QDBusMessage &reply) { return PeerProcess::succeeded(reply); }

    // One change of the simulated phone, in a few words.
    bool act(const QString &action)
    {
        const QStringList words = action.split(QLatin1Char(' '));
        const QString what = words.at(0);
        const QString value = words.value(1);
        if (what == QLatin1String("state")) {
            return succeeded(m_modem.control(ModemControl, QStringLiteral("SetState"), { value }));
        }
        if (what == QLatin1String("remove") || what == QLatin1String("insert")) {
            return succeeded(m_modem.control(
                ModemControl, what == QLatin1String("remove") ? "Remove" : "Insert"));
        }
        if (what == QLatin1String("ready")) {
            return succeeded(m_modem.control(
                ModemControl, QStringLiteral("SetReady"), { value == QLatin1String("on") }));
        }
        if (what == QLatin1String("power")) {
            return succeeded(m_modem.control(
                ModemControl, QStringLiteral("SetPowered"), { value == QLatin1String("on") }));
        }
        if (what == QLatin1String("simlock")) {
            return succeeded(m_modem.control(
                ModemControl, QStringLiteral("SetSimLocked"), { value == QLatin1String("on") }));
        }
        if (what == QLatin1String("radio")) {
            return succeeded(m_modeControl.control(
                ModeControl, QStringLiteral("SetRadioStates"), { value.toUInt() }));
        }
        if (what == QLatin1String("request")) {
            // Off straight on the card, as another program would.
            return succeeded(callSim(QStringLiteral("UnlockPin"), { QStringLiteral("pin"), Pin }));
        }
        if (what == QLatin1String("enter-pin")) {
            return succeeded(callSim(QStringLiteral("EnterPin"), { QStringLiteral("pin"), Pin }));
        }
        if (what == QLatin1String("unlock-succeeds")) {
            return succeeded(m_pin.control(
                PinControl, QStringLiteral("EmitSimLockUnlockComplete"), { true, 1u }));
        }
        qWarning() << "unknown action" << action;
        return false;
    }

    // The card's last call of a method, as the modem recorded it (codes masked).
    QString lastSimCall(const QString &method)
    {
        const QList<PeerProcess::Call> calls = m_modem.calls();
        for (auto it = calls.crbegin(); it != calls.crend(); ++it) {
            if (it->method == method) {
                return describe(*it);
            }
        }
        return QString();
    }

    bool answer(const QStringList &codes)
    {
        for (const QString &code : codes) {
            if (!succeeded(m_pin.control(PinControl, QStringLiteral("EnterCode"), { code }))) {
                return false;
            }
        }
        return true;
    }

    bool openPage(const QStringList &arguments = QStringList())
    {
        const bool opened = m_host->open(arguments);
        if (!opened) {
            qWarning().noquote() << m_host->lines().join(QLatin1Char('\n'));
        }
        return opened;
    }

    // A SIM-locked card whose unlock succeeded and which is starting up. The
    // service's report and the card's restart come one after the other here:
    // through a real dialogue their order is up to the bus, and so is whether
    // an answer for the locked card shows an error line on the way.
    void startOpening()
    {
        QVERIFY(act(QStringLiteral("state locked")));
        QVERIFY(openPage());
        QTRY_COMPARE_WITH_TIMEOUT(
            m_host->rows(), QStringLiteral("SimUnlockSimItem"), PageTimeoutMs);
        QVERIFY(act(QStringLiteral("unlock-succeeds")));
        QTRY_COMPARE_WITH_TIMEOUT(
            m_host->rows(), QStringLiteral("spinner SimUnlockSimItem"), PageTimeoutMs);
        // The card restarts without its lock; starting up is "not ready",
        // which is not shown while opening.
        QVERIFY(act(QStringLiteral("ready off")));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), QStringLiteral("spinner"), PageTimeoutMs);
        QVERIFY(act(QStringLiteral("simlock off")));
        QCOMPARE(m_host->count(
                     QStringLiteral("void SimLogic::onSimCheckerStatusChanged(SimChecker::Status): "
                                    "ignore init errors while opening")),
            1);
    }

    PeerProcess m_modem;
    PeerProcess m_modeControl;
    PeerProcess m_pin;
    // One host per test function, so that every page starts fresh.
    QScopedPointer<HostSession> m_host;

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pageFollowsThePhone_data();
    void pageFollowsThePhone();
    void tapsCompleteThroughTheService_data();
    void tapsCompleteThroughTheService();
    void wrongPinAsksAgainWithAttemptsLeft();
    void pageIsRebuiltWithFreshState();
    void languageChangeRetranslates();
};

void TestSimPage::initTestCase()
{
    QVERIFY2(m_modem.start({ "--pin", Pin, "--unlock-code", UnlockCode,
                 "--pin-entered", "--start-up-ms", HeldStartUpMs, "--recheck-ms", RecheckMs }),
        qPrintable(m_modem.lastError()));
    QVERIFY2(m_modeControl.start(), qPrintable(m_modeControl.lastError()));
}

void TestSimPage::init()
{
    if (!m_pin.isRunning()) {
        QVERIFY2(
            m_pin.start({ "--headless", "--backend", "modem" }), qPrintable(m_pin.lastError()));
    }
    QVERIFY(m_modem.reset());
    QVERIFY(m_modeControl.reset());
    QVERIFY(m_pin.reset());
    m_host.reset(new HostSession);
}

void TestSimPage::cleanup()
{
    m_host.reset();
}

void TestSimPage::pageFollowsThePhone_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("steps");
    // What the page shows when opened, then after each step.
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("ok, PIN request off") << QStringList { "request off" } << QStringList()
                                         << QStringList { "SimPinRequestItem:off" };
    QTest::newRow("not activated, PIN asked")
        << QStringList { "state pin" } << QStringList() << QStringList { "SimActivateSimItem" };
    // The PIN request state cannot be read while the lock is on: no switch.
    // The unlock row goes only when the SIM-lock answer says so.
    QTest::newRow("SIM-locked, then ok")
        << QStringList { "state locked" } << QStringList { "state ready" }
        << QStringList { "SimUnlockSimItem", Normal };
    QTest::newRow("flight mode at start")
        << QStringList { "radio 0" } << QStringList() << QStringList { FlightMode };
    QTest::newRow("flight mode on and off") << QStringList() << QStringList { "radio 0", "radio 1" }
                                            << QStringList { Normal, FlightMode, Normal };
    // While the telephony service reads a powered-up card, the card looks as
    // if it asked for nothing: not ready, never the PIN request row.
    QTest::newRow("power-up of a PIN card")
        << QStringList { "state pin", "power off" } << QStringList { "power on", "ready on" }
        << QStringList { NoSim, SimError, "SimActivateSimItem" };
    // A card put back in starts up and asks for its PIN again.
    QTest::newRow("SIM removed and reinserted")
        << QStringList() << QStringList { "remove", "insert", "ready on", "enter-pin" }
        << QStringList { Normal, NoSim, SimError, "SimActivateSimItem", Normal };
}

void TestSimPage::pageFollowsThePhone()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    for (const QString &action : before) {
        QVERIFY2(act(action), qPrintable(action));
    }
    QVERIFY(openPage());
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), expected.at(0), PageTimeoutMs);
    for (int i = 0; i < steps.size(); ++i) {
        QVERIFY2(act(steps.at(i)), qPrintable(steps.at(i)));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), expected.at(i + 1), PageTimeoutMs);
    }
}

void TestSimPage::tapsCompleteThroughTheService_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("tap");
    // The call the PIN query service got, and the one the SIM card got.
    QTest::addColumn<QString>("serviceCall");
    QTest::addColumn<QString>("simCall");
    // What the phone does next, and what the page then shows.
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("rowsAfter");
    QTest::addColumn<QStringList>("lockedAfter");

    QTest::newRow("switch off") << "ready" << QStringList { Pin } << "CommonSwitch"
                                << "EnablePinQuery false"
                                << "UnlockPin \"pin\", \"****\""
                                << ""
                                << "SimPinRequestItem:off" << QStringList();
    QTest::newRow("switch on") << "ready" << QStringList { Pin } << "CommonSwitch"
                               << "EnablePinQuery true"
                               << "LockPin \"pin\", \"****\""
                               << "" << Normal << QStringList { "pin" };
    QTest::newRow("change PIN") << "ready" << QStringList { Pin, NewPin, NewPin }
                                << "SimPinChangeItem"
                                << "ChangePinCode"
                                << "ChangePin \"pin\", \"****\", \"****\""
                                << "" << Normal << QStringList { "pin" };
    // The opened card starts up again; the spinner turns until it is ready.
    QTest::newRow("SIM-lock unlock") << "locked" << QStringList { UnlockCode } << "SimUnlockSimItem"
                                     << "SimLockUnlock"
                                     << "EnterPin \"network\", \"****\""
                                     << "ready on" << Normal << QStringList { "pin" };
    // A wrong PIN costs an attempt, and the dialogue asks again.
    QTest::newRow("activate with the PIN, after a wrong one")
        << "pin" << QStringList { WrongPin, Pin } << "SimActivateSimItem"
        << "LaunchPinQuery \"PIN\""
        << "EnterPin \"pin\", \"****\""
        << "" << Normal << QStringList { "pin" };
}

void TestSimPage::tapsCompleteThroughTheService()
{
    QFETCH(QString, state);
    QFETCH(QStringList, answers);
    QFETCH(QString, tap);
    QFETCH(QString, simCall);
    QVERIFY(act(QStringLiteral("state ") + state));
    // The switch row: off before the tap that turns it on.
    if (QByteArray(QTest::currentDataTag()) == "switch on") {
        QVERIFY(act(QStringLiteral("request off")));
    }
    QVERIFY(openPage());
    QVERIFY(m_host->ok(QStringLiteral("wait visible %1 %2").arg(tap).arg(PageTimeoutMs)));
    QVERIFY(answer(answers));

    QVERIFY(m_host->ok(QStringLiteral("tap ") + tap));
    QVERIFY(m_pin.waitForCalls(1));
    QCOMPARE(m_pin.calls().size(), 1);
    QTEST(describe(m_pin.calls().at(0)), "serviceCall");
    QTRY_COMPARE_WITH_TIMEOUT(lastSimCall(simCall.section(' ', 0, 0)), simCall, PageTimeoutMs);
    QFETCH(QString, then);
    if (!then.isEmpty()) {
        // The service reports the unlock on its own connection: let the page
        // hear it (its spinner turns) before the card finishes starting, or
        // the page would wait for a start-up report that has already passed.
        if (tap == QLatin1String("SimUnlockSimItem")) {
            QTRY_VERIFY_WITH_TIMEOUT(
                m_host->rows().startsWith(QLatin1String("spinner")), PageTimeoutMs);
        }
        QVERIFY(act(then));
    }
    QFETCH(QString, rowsAfter);
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), rowsAfter, PageTimeoutMs);
    QTEST(lockedPins(), "lockedAfter");
}

// The card reports the attempt it counted only after its error reply; the
// dialogue waits for it and asks again.
void TestSimPage::wrongPinAsksAgainWithAttemptsLeft()
{
    QVERIFY(act(QStringLiteral("state pin")));
    QVERIFY(openPage());
    QVERIFY(m_host->ok(QStringLiteral("wait visible SimActivateSimItem %1").arg(PageTimeoutMs)));
    QVERIFY(answer({ WrongPin }));
    QVERIFY(m_host->ok(QStringLiteral("tap SimActivateSimItem")));
    QTRY_COMPARE_WITH_TIMEOUT(m_pin.control(PinControl, QStringLiteral("PendingQuestion"))
                                  .arguments()
                                  .value(0)
                                  .toString(),
        QStringLiteral("pin, 2 attempts left, after a wrong code"), PageTimeoutMs);
    QCOMPARE(m_host->rows(), QStringLiteral("SimActivateSimItem"));
}

void TestSimPage::pageIsRebuiltWithFreshState()
{
    startOpening();
    if (QTest::currentTestFailed()) {
        return;
    }
    QVERIFY(m_host->ok(QStringLiteral("close")));
    QCOMPARE(m_host->count(QStringLiteral("virtual SimLogic::~SimLogic():")), 1);
    QCOMPARE(m_host->rows(), QStringLiteral("(no page)"));
    // A new controller knows nothing of the unlock: the starting card is an
    // error to it, and there is no spinner.
    QVERIFY(m_host->ok(QStringLiteral("open 0")));
    QCOMPARE(m_host->count(QStringLiteral("SimLogic::SimLogic(SimContainer*, QObject*):")), 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), SimError, PageTimeoutMs);
    QVERIFY(act(QStringLiteral("ready on")));
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), Normal, PageTimeoutMs);
}

// The header's label, the switch row's title and the change PIN row.
void TestSimPage::languageChangeRetranslates()
{
    QVERIFY(openPage());
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), Normal, PageTimeoutMs);
    QVERIFY(m_host->ok(QStringLiteral("lang de")));
    for (const char *command : { "wait text headerLabel SIM-Karte",
             "wait text CommonTitle PIN-Abfrage", "wait text SimPinChangeItem PIN ändern" }) {
        QVERIFY2(m_host->ok(QString::fromUtf8(command)), command);
    }
}

QTEST_GUILESS_MAIN(TestSimPage)
#include "tst_simpage.moc"
