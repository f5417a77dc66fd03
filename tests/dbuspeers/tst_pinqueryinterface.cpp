#include "logcapture.h"
#include "peerprocess.h"
#include "pinqueryinterface.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QtTest>

// PinQueryInterface against the reference PIN query service in headless
// mode: what the client sends and relays, and what the service received.
class TestPinQueryInterface : public QObject
{
    Q_OBJECT

private:
    enum Request { ChangePin, Unlock, EnableOn, EnableOff };

    const QString PinControl = QStringLiteral("com.tavik.sim.PinQueryControl");
    PeerProcess m_service { PeerProcess::PinQuery };

    // Queues answers for the next questions; "cancel" cancels one.
    void supply(const QStringList &answers)
    {
        for (const QString &answer : answers) {
            const QDBusMessage reply = answer == QLatin1String("cancel")
                ? m_service.control(PinControl, QStringLiteral("Cancel"))
                : m_service.control(PinControl, QStringLiteral("EnterCode"), { answer });
            QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        }
    }
    QString pendingQuestion()
    {
        return m_service.control(PinControl, QStringLiteral("PendingQuestion"))
            .arguments()
            .value(0)
            .toString();
    }
    static void send(PinQueryInterface &pin, Request request)
    {
        switch (request) {
        case ChangePin:
            pin.ChangePinCode();
            break;
        case Unlock:
            pin.SimLockUnlock();
            break;
        case EnableOn:
            pin.EnablePinQuery(true);
            break;
        case EnableOff:
            pin.EnablePinQuery(false);
            break;
        }
    }
    // As the controller sends it: on a temporary interface of its own.
    static void launchPinQuery()
    {
        QDBusInterface temporary(QStringLiteral("com.tavik.ronwe.pin"),
            QStringLiteral("/com/tavik/ronwe/pin"),
            QStringLiteral("com.tavik.ronwe.pin.PinCodeQuery"), QDBusConnection::systemBus());
        QVERIFY(temporary.isValid());
        QCOMPARE(temporary.call(QStringLiteral("LaunchPinQuery"), QStringLiteral("PIN")).type(),
            QDBusMessage::ReplyMessage);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(
            m_service.start({ QStringLiteral("--headless") }), qPrintable(m_service.lastError()));
    }

    void init()
    {
        QVERIFY2(m_service.reset(), qPrintable(m_service.lastError()));
        QVERIFY(m_service.waitForName(true));
    }

    void metaObjectHasTheTwoSignalsOnly()
    {
        const QMetaObject &meta = PinQueryInterface::staticMetaObject;
        QCOMPARE(meta.methodCount() - meta.methodOffset(), 2);
        QCOMPARE(meta.propertyCount() - meta.propertyOffset(), 0);
        const QMetaMethod enabled = meta.method(meta.methodOffset());
        const QMetaMethod unlocked = meta.method(meta.methodOffset() + 1);
        QCOMPARE(enabled.methodSignature(), QByteArray("PinQueryEnabled(int)"));
        QCOMPARE(unlocked.methodSignature(), QByteArray("SimLockUnlockComplete(bool)"));
        for (const QMetaMethod &method : { enabled, unlocked }) {
            QCOMPARE(method.methodType(), QMetaMethod::Signal);
            QCOMPARE(method.parameterNames(), QList<QByteArray>({ QByteArray() }));
        }
    }

    void constructionFindsTheService()
    {
        LogCapture log;
        PinQueryInterface pin;
        QVERIFY(pin.isValid());
        QCOMPARE(log.debugLines(),
            QStringList({ "PinQueryInterface::PinQueryInterface(QObject*):",
                "bool PinQueryInterface::isValid(): true" }));
        QVERIFY(log.warningLines().isEmpty());
        QVERIFY(m_service.calls().isEmpty());
    }

    void methodsSendTheirArguments_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QString>("arguments");
        QTest::newRow("ChangePinCode")
            << int(ChangePin) << "void PinQueryInterface::ChangePinCode():"
            << "ChangePinCode"
            << ""
            << "";
        QTest::newRow("SimLockUnlock") << int(Unlock) << "void PinQueryInterface::SimLockUnlock():"
                                       << "SimLockUnlock"
                                       << ""
                                       << "";
        QTest::newRow("EnablePinQuery on")
            << int(EnableOn) << "void PinQueryInterface::EnablePinQuery(bool): true"
            << "EnablePinQuery"
            << "b"
            << "true";
        QTest::newRow("EnablePinQuery off")
            << int(EnableOff) << "void PinQueryInterface::EnablePinQuery(bool): false"
            << "EnablePinQuery"
            << "b"
            << "false";
    }
    void methodsSendTheirArguments()
    {
        QFETCH(int, request);
        QFETCH(QString, line);
        QFETCH(QString, method);
        QFETCH(QString, signature);
        QFETCH(QString, arguments);
        PinQueryInterface pin;
        LogCapture log;
        send(pin, Request(request));
        QCOMPARE(log.debugLines(), QStringList(line));
        const QList<PeerProcess::Call> calls = m_service.calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.constFirst().method, method);
        QCOMPARE(calls.constFirst().signature, signature);
        QCOMPARE(calls.constFirst().arguments, arguments);
        QCOMPARE(calls.constFirst().sender, QDBusConnection::systemBus().baseService());
        // The service replied at once and is now asking for a code.
        QTRY_VERIFY(!pendingQuestion().isEmpty());
    }

    void errorRepliesAreDropped()
    {
        QVERIFY(m_service.setFault("EnablePinQuery", "error"));
        PinQueryInterface pin;
        LogCapture log;
        pin.EnablePinQuery(true);
        // Nothing but the entry line: the error is not the client's to report.
        QCOMPARE(log.lines().size(), 1);
        QCOMPARE(m_service.calls().size(), 1);
        QCOMPARE(pendingQuestion(), QString());
    }

    void launchPinQueryStartsThePinDialogue()
    {
        launchPinQuery();
        const QList<PeerProcess::Call> calls = m_service.calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.constFirst().method, QStringLiteral("LaunchPinQuery"));
        QCOMPARE(calls.constFirst().signature, QStringLiteral("s"));
        QCOMPARE(calls.constFirst().arguments, QStringLiteral("\"PIN\""));
        QTRY_COMPARE(pendingQuestion(), QStringLiteral("pin"));
    }

    void dialoguesReportTheirOutcome_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QVariant>("enabled");
        QTest::addColumn<QVariant>("unlocked");
        const QString pin = QStringLiteral("1234");
        const QString wrongPin = QStringLiteral("1111");
        const QVariant none;
        QTest::newRow("PIN request on")
            << int(EnableOn) << QStringList { pin } << QVariant(0) << none;
        QTest::newRow("PIN request off")
            << int(EnableOff) << QStringList { pin } << QVariant(1) << none;
        QTest::newRow("wrong PIN, then the right one")
            << int(EnableOn) << QStringList { wrongPin, pin } << QVariant(0) << none;
        QTest::newRow("PIN request dialogue cancelled")
            << int(EnableOff) << QStringList { "cancel" } << QVariant(-1) << none;
        QTest::newRow("PIN blocked by three wrong codes")
            << int(EnableOn) << QStringList { wrongPin, wrongPin, wrongPin } << QVariant(-1)
            << none;
        QTest::newRow("right unlock code")
            << int(Unlock) << QStringList { "87654321" } << none << QVariant(true);
        QTest::newRow("wrong unlock code")
            << int(Unlock) << QStringList { "11111111" } << none << QVariant(false);
        QTest::newRow("unlock dialogue cancelled")
            << int(Unlock) << QStringList { "cancel" } << none << QVariant(false);
    }
    void dialoguesReportTheirOutcome()
    {
        QFETCH(int, request);
        QFETCH(QStringList, answers);
        QFETCH(QVariant, enabled);
        QFETCH(QVariant, unlocked);
        PinQueryInterface pin;
        QSignalSpy enabledSpy(&pin, SIGNAL(PinQueryEnabled(int)));
        QSignalSpy unlockedSpy(&pin, SIGNAL(SimLockUnlockComplete(bool)));
        supply(answers);
        send(pin, Request(request));
        QTRY_COMPARE(enabledSpy.count() + unlockedSpy.count(), 1);
        if (enabled.isValid()) {
            QCOMPARE(enabledSpy.count(), 1);
            QCOMPARE(enabledSpy.constFirst().constFirst().toInt(), enabled.toInt());
        } else {
            QCOMPARE(unlockedSpy.count(), 1);
            QCOMPARE(unlockedSpy.constFirst().constFirst().toBool(), unlocked.toBool());
        }
        QCOMPARE(pendingQuestion(), QString());
    }

    void changedPinIsTheNewPin()
    {
        PinQueryInterface pin;
        QSignalSpy spy(&pin, SIGNAL(PinQueryEnabled(int)));
        // Old PIN; a new one typed differently twice, then the same twice;
        // then the PIN request dialogue: the old PIN fails, the new one works.
        supply({ "1234", "5678", "9999", "4321", "4321", "1234", "4321" });
        pin.ChangePinCode();
        pin.EnablePinQuery(false);
        QVERIFY(spy.wait());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.constFirst().constFirst().toInt(), 1);
        QCOMPARE(pendingQuestion(), QString());
    }

    void blockedPinIsResetWithThePuk()
    {
        PinQueryInterface pin;
        QSignalSpy spy(&pin, SIGNAL(PinQueryEnabled(int)));
        supply({ "1111", "1111", "1111", "12345678", "2468", "2468", "2468" });
        launchPinQuery();
        pin.EnablePinQuery(true);
        QVERIFY(spy.wait());
        QCOMPARE(spy.constFirst().constFirst().toInt(), 0);
    }

    void relaysEverySignal_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<uint>("count");
        QTest::newRow("PinQueryEnabled -1") << "EmitPinQueryEnabled" << QVariant(-1) << 1u;
        QTest::newRow("PinQueryEnabled 0") << "EmitPinQueryEnabled" << QVariant(0) << 1u;
        QTest::newRow("PinQueryEnabled 2") << "EmitPinQueryEnabled" << QVariant(2) << 1u;
        QTest::newRow("PinQueryEnabled 1 three times")
            << "EmitPinQueryEnabled" << QVariant(1) << 3u;
        QTest::newRow("SimLockUnlockComplete true twice")
            << "EmitSimLockUnlockComplete" << QVariant(true) << 2u;
        QTest::newRow("SimLockUnlockComplete false twice")
            << "EmitSimLockUnlockComplete" << QVariant(false) << 2u;
    }
    void relaysEverySignal()
    {
        QFETCH(QString, method);
        QFETCH(QVariant, value);
        QFETCH(uint, count);
        PinQueryInterface pin;
        const bool enabled = method == QLatin1String("EmitPinQueryEnabled");
        QSignalSpy spy(
            &pin, enabled ? SIGNAL(PinQueryEnabled(int)) : SIGNAL(SimLockUnlockComplete(bool)));
        QSignalSpy otherSpy(
            &pin, enabled ? SIGNAL(SimLockUnlockComplete(bool)) : SIGNAL(PinQueryEnabled(int)));
        QCOMPARE(m_service.control(PinControl, method, { value, count }).type(),
            QDBusMessage::ReplyMessage);
        QTRY_COMPARE(spy.count(), int(count));
        for (const QList<QVariant> &arguments : qAsConst(spy)) {
            QCOMPARE(arguments.constFirst(), value);
        }
        QCOMPARE(otherSpy.count(), 0);
    }

    void serviceAbsent()
    {
        QCOMPARE(m_service
                     .control(PeerProcess::PeerControlInterface, QStringLiteral("LeaveBus"),
                         { QStringLiteral("release"), 0u })
                     .type(),
            QDBusMessage::ReplyMessage);
        QVERIFY(m_service.waitForName(false));
        PinQueryInterface pin;
        LogCapture log;
        QVERIFY(!pin.isValid());
        QCOMPARE(log.debugLines(), QStringList("bool PinQueryInterface::isValid(): false"));
    }

    void ignoresSignalsFromOtherSenders()
    {
        PinQueryInterface pin;
        QSignalSpy enabledSpy(&pin, SIGNAL(PinQueryEnabled(int)));
        QSignalSpy unlockedSpy(&pin, SIGNAL(SimLockUnlockComplete(bool)));
        {
            QDBusConnection spoofer = QDBusConnection::connectToBus(
                QDBusConnection::SystemBus, QStringLiteral("spoofer"));
            QVERIFY(spoofer.isConnected());
            const QString path = QStringLiteral("/com/tavik/ronwe/pin");
            const QString interface = QStringLiteral("com.tavik.ronwe.pin.PinCodeQuery");
            QDBusMessage enabled
                = QDBusMessage::createSignal(path, interface, QStringLiteral("PinQueryEnabled"));
            enabled << 1;
            QDBusMessage unlocked = QDBusMessage::createSignal(
                path, interface, QStringLiteral("SimLockUnlockComplete"));
            unlocked << true;
            QVERIFY(spoofer.send(enabled));
            QVERIFY(spoofer.send(unlocked));
            // A round trip on the same connection: the bus has routed both
            // signals before it answers.
            QVERIFY(spoofer.interface()->isServiceRegistered(m_service.publicName()).value());
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("spoofer"));
        // The service's own signals come after the spoofed ones.
        QCOMPARE(
            m_service.control(PinControl, QStringLiteral("EmitPinQueryEnabled"), { 0, 1u }).type(),
            QDBusMessage::ReplyMessage);
        QCOMPARE(
            m_service
                .control(PinControl, QStringLiteral("EmitSimLockUnlockComplete"), { false, 1u })
                .type(),
            QDBusMessage::ReplyMessage);
        QTRY_COMPARE(enabledSpy.count() + unlockedSpy.count(), 2);
        QCOMPARE(enabledSpy.count(), 1);
        QCOMPARE(enabledSpy.constFirst().constFirst().toInt(), 0);
        QCOMPARE(unlockedSpy.count(), 1);
        QCOMPARE(unlockedSpy.constFirst().constFirst().toBool(), false);
    }
};

QTEST_GUILESS_MAIN(TestPinQueryInterface)
#include "tst_pinqueryinterface.moc"
