#include "peerprocess.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString PinControl = QStringLiteral("com.tavik.sim.PinQueryControl");
const QString ModemControl = QStringLiteral("com.tavik.sim.ModemControl");
const QString PinService = QStringLiteral("com.tavik.ronwe.pin");
const QString PinPath = QStringLiteral("/com/tavik/ronwe/pin");
const QString PinInterface = QStringLiteral("com.tavik.ronwe.pin.PinCodeQuery");
const QString Pin = QStringLiteral("1357");
const QString NewPin = QStringLiteral("8642");
const QString Puk = QStringLiteral("24681357");
const QString UnlockCode = QStringLiteral("55667788");

QVariantMap simProperties()
{
    const QDBusMessage reply = QDBusConnection::systemBus().call(QDBusMessage::createMethodCall(
        "org.ofono", "/sim_0", "org.ofono.SimManager", "GetProperties"));
    return qdbus_cast<QVariantMap>(reply.arguments().value(0));
}

} // namespace

// Turns the service's D-Bus signals into Qt signals a spy can follow.
class SignalSink : public QObject
{
    Q_OBJECT

Q_SIGNALS:
    void pinQueryEnabled(int state);
    void simLockUnlockComplete(bool success);

public Q_SLOTS:
    void onPinQueryEnabled(int state) { Q_EMIT pinQueryEnabled(state); }
    void onSimLockUnlockComplete(bool success) { Q_EMIT simLockUnlockComplete(success); }
};

// The PIN query service with the modem backend: each dialogue, answered
// headless, changes the simulated SIM and ends with the designed signal.
class TestPinServiceModem : public QObject
{
    Q_OBJECT

public:
    TestPinServiceModem()
        : m_pin(PeerProcess::PinQuery)
        , m_modem("modem-sim", "org.ofono", "com.tavik.sim.Modem")
    { }

private:
    bool ask(const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage call
            = QDBusMessage::createMethodCall(PinService, PinPath, PinInterface, method);
        call.setArguments(arguments);
        return QDBusConnection::systemBus().call(call).type() == QDBusMessage::ReplyMessage;
    }
    // Waits until the open dialogue asks this question, then answers it.
    bool answer(const QString &question, const QString &code)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_pin.control(PinControl, "PendingQuestion").arguments().value(0).toString()
            != question) {
            if (timer.elapsed() > PeerProcess::DefaultTimeoutMs)
                return false;
            QTest::qWait(10); // polling the peer's state: there is no signal for a question
        }
        return m_pin.control(PinControl, "EnterCode", { code }).type()
            == QDBusMessage::ReplyMessage;
    }
    QString simState()
    {
        return m_modem.control(ModemControl, "GetState").arguments().value(0).toString();
    }

    PeerProcess m_pin;
    PeerProcess m_modem;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_modem.start({ "--pin", Pin, "--puk", Puk, "--unlock-code", UnlockCode,
                     "--pin-entered", "--start-up-ms", "30" }),
            qPrintable(m_modem.lastError()));
        QVERIFY2(
            m_pin.start({ "--headless", "--backend", "modem" }), qPrintable(m_pin.lastError()));
    }

    void init()
    {
        QVERIFY(m_modem.reset());
        QVERIFY(m_pin.reset());
    }

    void enablePinQuery_data()
    {
        QTest::addColumn<bool>("enable");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("reported");
        QTest::addColumn<QStringList>("locked");

        QTest::newRow("off") << false << Pin << 1 << QStringList();
        QTest::newRow("on again") << true << Pin << 0 << QStringList { "pin" };
        QTest::newRow("cancelled") << false << QString() << -1 << QStringList { "pin" };
    }

    void enablePinQuery()
    {
        QFETCH(bool, enable);
        QFETCH(QString, code);
        if (enable)
            QVERIFY(m_modem.control(ModemControl, "SetState", { "ready" }).type()
                == QDBusMessage::ReplyMessage);
        QSignalSpy spy(&m_signals, &SignalSink::pinQueryEnabled);
        QVERIFY(QDBusConnection::systemBus().connect(PinService, PinPath, PinInterface,
            "PinQueryEnabled", &m_signals, SLOT(onPinQueryEnabled(int))));
        QVERIFY(ask("EnablePinQuery", { enable }));
        if (code.isEmpty()) {
            QTRY_COMPARE(
                m_pin.control(PinControl, "PendingQuestion").arguments().value(0).toString(),
                QString("pin"));
            QVERIFY(m_pin.control(PinControl, "Cancel").type() == QDBusMessage::ReplyMessage);
        } else {
            QVERIFY(answer("pin", code));
        }
        QTRY_COMPARE(spy.count(), 1);
        QTEST(spy.at(0).at(0).toInt(), "reported");
        QTEST(simProperties().value("LockedPins").toStringList(), "locked");
        QDBusConnection::systemBus().disconnect(PinService, PinPath, PinInterface,
            "PinQueryEnabled", &m_signals, SLOT(onPinQueryEnabled(int)));
    }

    void changePinCode()
    {
        QVERIFY(ask("ChangePinCode"));
        QVERIFY(answer("pin", Pin));
        QVERIFY(answer("new-pin", NewPin));
        QVERIFY(answer("new-pin-again", NewPin));
        QTRY_VERIFY(m_modem.calls().size() >= 1 && m_modem.calls().last().method == "ChangePin");
        // the card takes the new PIN now
        QDBusMessage lock = QDBusMessage::createMethodCall(
            "org.ofono", "/sim_0", "org.ofono.SimManager", "LockPin");
        lock << "pin" << NewPin;
        QCOMPARE(QDBusConnection::systemBus().call(lock).type(), QDBusMessage::ReplyMessage);
    }

    void simLockUnlock_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("state");
        QTest::newRow("right code") << UnlockCode << true << "ready";
        QTest::newRow("wrong code") << "12121212" << false << "locked";
    }

    void simLockUnlock()
    {
        QFETCH(QString, code);
        QFETCH(bool, success);
        QVERIFY(m_modem.control(ModemControl, "SetState", { "locked" }).type()
            == QDBusMessage::ReplyMessage);
        QSignalSpy spy(&m_signals, &SignalSink::simLockUnlockComplete);
        QVERIFY(QDBusConnection::systemBus().connect(PinService, PinPath, PinInterface,
            "SimLockUnlockComplete", &m_signals, SLOT(onSimLockUnlockComplete(bool))));
        QVERIFY(ask("SimLockUnlock"));
        QVERIFY(answer("unlock-code", code));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), success);
        QFETCH(QString, state);
        // the card restarts after a successful unlock
        QTRY_COMPARE(simState(), state);
        QDBusConnection::systemBus().disconnect(PinService, PinPath, PinInterface,
            "SimLockUnlockComplete", &m_signals, SLOT(onSimLockUnlockComplete(bool)));
    }

    void launchPinQuery_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<QStringList>("answers");

        QTest::newRow("pin asked") << "pin" << QStringList { "pin" } << QStringList { Pin };
        QTest::newRow("wrong pin first")
            << "pin" << QStringList { "pin", "pin" } << QStringList { "9999", Pin };
        // straight to the PUK, without a pointless PIN question
        QTest::newRow("puk asked") << "puk" << QStringList { "puk", "new-pin", "new-pin-again" }
                                   << QStringList { Puk, NewPin, NewPin };
    }

    void launchPinQuery()
    {
        QFETCH(QString, start);
        QFETCH(QStringList, questions);
        QFETCH(QStringList, answers);
        QVERIFY(m_modem.control(ModemControl, "SetState", { start }).type()
            == QDBusMessage::ReplyMessage);
        QVERIFY(ask("LaunchPinQuery", { "PIN" }));
        for (int i = 0; i < questions.size(); ++i)
            QVERIFY2(answer(questions.at(i), answers.at(i)), qPrintable(questions.at(i)));
        QTRY_COMPARE(simState(), QString("ready"));
    }

private:
    SignalSink m_signals;
};

QTEST_GUILESS_MAIN(TestPinServiceModem)
#include "tst_pinservicemodem.moc"
