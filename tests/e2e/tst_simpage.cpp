// The SIM card page end to end: the real plug-in in the real settings host, on
// a private bus with the simulated modem, the mode-control daemon and the
// headless PIN query service deciding about codes through the modem.

#include "hostsession.h"
#include "pagerows.h"
#include "peerprocess.h"

#include <QtDBus>
#include <QtTest>

using namespace PageRows;

namespace {
const QString &PinControl = PeerProcess::PinQueryControlInterface;
const QString Pin = QStringLiteral("1357");
const QString NewPin = QStringLiteral("8642");
const QString UnlockCode = QStringLiteral("55667788");
const QString WrongPin = QStringLiteral("9999");
// Start-ups last until the test ends them ("SetReady on"), so that every
// state in between can be looked at.
const QString HeldStartUpMs = QStringLiteral("600000");
// A wrong code's attempts left come this long after its error reply.
const QString RecheckMs = QStringLiteral("500");
const int PageTimeoutMs = 15000;


QDBusMessage callSim(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.ofono"),
        QStringLiteral("/sim_0"), QStringLiteral("org.ofono.SimManager"), method);
    call.setArguments(arguments);
    return QDBusConnection::systemBus().call(call);
}

} // namespace

class TestSimPage : public QObject
{
    Q_OBJECT

private:
    // Changes of the simulated phone: a control method of the modem or of the
    // mode-control daemon with its argument ("SetReady on", "SetRadioStates 0"),
    // or a PIN call on the card as another program would make it ("UnlockPin").
    bool act(const QStringList &actions)
    {
        for (const QString &action : actions) {
            const QString method = action.section(QLatin1Char(' '), 0, 0);
            const QString word = action.section(QLatin1Char(' '), 1);
            QVariantList arguments;
            if (word == QLatin1String("on") || word == QLatin1String("off")) {
                arguments << (word == QLatin1String("on"));
            } else if (!word.isEmpty()) {
                arguments << (word.front().isDigit() ? QVariant(word.toUInt()) : QVariant(word));
            }
            const QDBusMessage reply = method.endsWith(QLatin1String("Pin"))
                ? callSim(method, { QStringLiteral("pin"), Pin })
                : method == QLatin1String("SetRadioStates")
                ? m_modeControl.control(PeerProcess::ModeControlInterface, method, arguments)
                : m_modem.control(PeerProcess::ModemControlInterface, method, arguments);
            if (!PeerProcess::succeeded(reply)) {
                qWarning() << "failed:" << action;
                return false;
            }
        }
        return true;
    }

    // A peer's last call of a method in words, as the peer recorded it (codes masked).
    static QString lastCall(PeerProcess &peer, const QString &method)
    {
        const QList<PeerProcess::Call> calls = peer.calls();
        const auto it = std::find_if(calls.crbegin(), calls.crend(),
            [&](const PeerProcess::Call &call) { return call.method == method; });
        return it == calls.crend() ? QString() : (it->method + ' ' + it->arguments).trimmed();
    }

    bool answer(const QStringList &codes)
    {
        return std::all_of(codes.cbegin(), codes.cend(), [this](const QString &code) {
            return PeerProcess::succeeded(
                m_pin.control(PinControl, QStringLiteral("EnterCode"), { code }));
        });
    }

    PeerProcess m_modem { PeerProcess::Modem };
    PeerProcess m_modeControl { PeerProcess::ModeControl };
    PeerProcess m_pin { PeerProcess::PinQuery };
    // One host per test function, so that every page starts fresh.
    QScopedPointer<HostSession> m_host;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_modem.start({ "--pin", Pin, "--unlock-code", UnlockCode, "--pin-entered",
                     "--start-up-ms", HeldStartUpMs, "--recheck-ms", RecheckMs }),
            qPrintable(m_modem.lastError()));
        QVERIFY2(m_modeControl.start(), qPrintable(m_modeControl.lastError()));
        QVERIFY2(
            m_pin.start({ "--headless", "--backend", "modem" }), qPrintable(m_pin.lastError()));
    }

    void init()
    {
        m_host.reset(new HostSession);
        QVERIFY(m_modem.reset() && m_modeControl.reset() && m_pin.reset());
    }

    void pageFollowsThePhone_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("steps");
        // What the page shows when opened, then after each step.
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("ok, PIN request off")
            << QStringList { "UnlockPin" } << QStringList() << QStringList { RequestOff };
        QTest::newRow("not activated, PIN asked")
            << QStringList { "SetState pin" } << QStringList() << QStringList { Activate };
        // The PIN request state cannot be read while the lock is on: no switch.
        // The unlock row goes only when the SIM-lock answer says so.
        QTest::newRow("SIM-locked, then ok")
            << QStringList { "SetState locked" } << QStringList { "SetState ready" }
            << QStringList { "SimUnlockSimItem", Normal };
        QTest::newRow("flight mode at start")
            << QStringList { "SetRadioStates 0" } << QStringList() << QStringList { FlightMode };
        QTest::newRow("flight mode on and off")
            << QStringList() << QStringList { "SetRadioStates 0", "SetRadioStates 1" }
            << QStringList { Normal, FlightMode, Normal };
        // While the telephony service reads a powered-up card, the card looks as
        // if it asked for nothing: not ready, never the PIN request row.
        QTest::newRow("power-up of a PIN card") << QStringList { "SetState pin", "SetPowered off" }
                                                << QStringList { "SetPowered on", "SetReady on" }
                                                << QStringList { NoSim, SimError, Activate };
        // A card put back in starts up and asks for its PIN again.
        QTest::newRow("SIM removed and reinserted")
            << QStringList() << QStringList { "Remove", "Insert", "SetReady on", "EnterPin" }
            << QStringList { Normal, NoSim, SimError, Activate, Normal };
    }

    void pageFollowsThePhone()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        QVERIFY(act(before));
        QVERIFY(m_host->open());
        QVERIFY(m_host->shows(expected.at(0)));
        for (int i = 0; i < steps.size(); ++i) {
            QVERIFY(act({ steps.at(i) }));
            QVERIFY(m_host->shows(expected.at(i + 1)));
        }
    }

    void tapsCompleteThroughTheService_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("tap");
        // The call the PIN query service got, then the one the SIM card got.
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("rowsAfter");
        QTest::addColumn<QStringList>("lockedAfter");

        QTest::newRow("switch off")
            << QStringList { "SetState ready" } << QStringList { Pin } << "CommonSwitch"
            << QStringList { "EnablePinQuery false", "UnlockPin \"pin\", \"****\"" } << RequestOff
            << QStringList();
        QTest::newRow("switch on")
            << QStringList { "SetState ready", "UnlockPin" } << QStringList { Pin }
            << "CommonSwitch" << QStringList { "EnablePinQuery true", "LockPin \"pin\", \"****\"" }
            << Normal << QStringList { "pin" };
        QTest::newRow("change PIN")
            << QStringList { "SetState ready" } << QStringList { Pin, NewPin, NewPin }
            << "SimPinChangeItem"
            << QStringList { "ChangePinCode", "ChangePin \"pin\", \"****\", \"****\"" } << Normal
            << QStringList { "pin" };
        // The opened card starts up again; the spinner turns until it is ready.
        QTest::newRow("SIM-lock unlock")
            << QStringList { "SetState locked" } << QStringList { UnlockCode } << "SimUnlockSimItem"
            << QStringList { "SimLockUnlock", "EnterPin \"network\", \"****\"" } << Normal
            << QStringList { "pin" };
        // A wrong PIN costs an attempt, and the dialogue asks again.
        QTest::newRow("activate with the PIN, after a wrong one")
            << QStringList { "SetState pin" } << QStringList { WrongPin, Pin } << Activate
            << QStringList { "LaunchPinQuery \"PIN\"", "EnterPin \"pin\", \"****\"" } << Normal
            << QStringList { "pin" };
    }

    void tapsCompleteThroughTheService()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, answers);
        QFETCH(QString, tap);
        QFETCH(QStringList, calls);
        QVERIFY(act(before));
        QVERIFY(m_host->open());
        QVERIFY(m_host->ok(QStringLiteral("wait visible %1 %2").arg(tap).arg(PageTimeoutMs)));
        const bool wrongFirst = answers.first() == WrongPin;
        QVERIFY(answer(wrongFirst ? answers.mid(0, 1) : answers));

        QVERIFY(m_host->ok(QStringLiteral("tap ") + tap));
        if (wrongFirst) {
            // The card reports the attempt it counted only after its error reply;
            // the dialogue waits for it and asks again.
            QTRY_COMPARE_WITH_TIMEOUT(
                m_pin.control(PinControl, QStringLiteral("PendingQuestion")).arguments().value(0),
                QVariant("pin, 2 attempts left, after a wrong code"), PageTimeoutMs);
            QCOMPARE(m_host->rows(), tap);
            QVERIFY(answer(answers.mid(1)));
        }
        QVERIFY(m_pin.waitForCalls(1));
        QCOMPARE(m_pin.calls().size(), 1);
        QCOMPARE(lastCall(m_pin, calls.at(0).section(' ', 0, 0)), calls.at(0));
        QTRY_COMPARE_WITH_TIMEOUT(
            lastCall(m_modem, calls.at(1).section(' ', 0, 0)), calls.at(1), PageTimeoutMs);
        if (tap == QLatin1String("SimUnlockSimItem")) {
            // The service reports the unlock on its own connection: let the page
            // hear it (its spinner turns) before the card finishes starting, or
            // the page would wait for a start-up report that has already passed.
            QTRY_VERIFY_WITH_TIMEOUT(
                m_host->rows().startsWith(QLatin1String("spinner")), PageTimeoutMs);
            QVERIFY(act({ "SetReady on" }));
        }
        QFETCH(QString, rowsAfter);
        QVERIFY(m_host->shows(rowsAfter));
        const QDBusMessage sim = callSim(QStringLiteral("GetProperties"));
        QTEST(qdbus_cast<QVariantMap>(sim.arguments().value(0)).value("LockedPins").toStringList(),
            "lockedAfter");
    }

    // A SIM-locked card whose unlock succeeded is starting up when the page is
    // closed. The service's report and the card's restart come one after the
    // other here: through a real dialogue their order is up to the bus, and so is
    // whether an answer for the locked card shows an error line on the way.
    void pageIsRebuiltWithFreshState()
    {
        QVERIFY(act({ "SetState locked" }));
        QVERIFY(m_host->open());
        QVERIFY(m_host->shows(QStringLiteral("SimUnlockSimItem")));
        QVERIFY(PeerProcess::succeeded(
            m_pin.control(PinControl, QStringLiteral("EmitSimLockUnlockComplete"), { true, 1u })));
        QVERIFY(m_host->shows(QStringLiteral("spinner SimUnlockSimItem")));
        // The card restarts without its lock; starting up is "not ready",
        // which is not shown while opening.
        QVERIFY(act({ "SetReady off" }));
        QVERIFY(m_host->shows(QStringLiteral("spinner")));
        QVERIFY(act({ "SetSimLocked off" }));
        QCOMPARE(
            m_host->count(QStringLiteral("void SimLogic::onSimCheckerStatusChanged("
                                         "SimChecker::Status): ignore init errors while opening")),
            1);

        QVERIFY(m_host->ok(QStringLiteral("close")));
        QCOMPARE(m_host->count(QStringLiteral("virtual SimLogic::~SimLogic():")), 1);
        QCOMPARE(m_host->rows(), QStringLiteral("(no page)"));
        // A new controller knows nothing of the unlock: the starting card is an
        // error to it, and there is no spinner.
        QVERIFY(m_host->ok(QStringLiteral("open 0")));
        QCOMPARE(m_host->count(QStringLiteral("SimLogic::SimLogic(SimContainer*, QObject*):")), 2);
        QVERIFY(m_host->shows(SimError));
        QVERIFY(act({ "SetReady on" }));
        QVERIFY(m_host->shows(Normal));
    }

    // The header's label, the switch row's title and the change PIN row.
    void languageChangeRetranslates()
    {
        QVERIFY(m_host->open());
        QVERIFY(m_host->shows(Normal));
        QVERIFY(m_host->ok(QStringLiteral("lang de")));
        for (const char *command : { "wait text headerLabel SIM-Karte",
                 "wait text CommonTitle PIN-Abfrage", "wait text SimPinChangeItem PIN ändern" }) {
            QVERIFY2(m_host->ok(QString::fromUtf8(command)), command);
        }
    }
};

QTEST_GUILESS_MAIN(TestSimPage)
#include "tst_simpage.moc"
