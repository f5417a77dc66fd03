#include "logcapture.h"
#include "peerprocess.h"
#include "pinqueryinterface.h"

#include <QDBusMessage>
#include <QSignalSpy>
#include <QtTest>

// PinQueryInterface against the reference PIN query service in headless
// mode: what the client sends and relays, and what the service received.
class TestPinQueryInterface : public QObject
{
    Q_OBJECT

private:
    enum Request { Unlock, EnableOn, EnableOff };

    const QString &PinControl = PeerProcess::PinQueryControlInterface;
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

    void constructionChecksTheService_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("service present") << true;
        QTest::newRow("service absent") << false;
    }
    void constructionChecksTheService()
    {
        QFETCH(bool, present);
        if (!present) {
            QVERIFY(PeerProcess::succeeded(m_service.control(
                PeerProcess::PeerControlInterface, "LeaveBus", { "release", 0u })));
            QVERIFY(m_service.waitForName(false));
        }
        LogCapture log;
        PinQueryInterface pin;
        QCOMPARE(pin.isValid(), present);
        const QString valid = QStringLiteral("bool PinQueryInterface::isValid(): ");
        QCOMPARE(log.debugLines(),
            QStringList({ "PinQueryInterface::PinQueryInterface(QObject*):",
                valid + (present ? "true" : "false") }));
        QVERIFY(log.warningLines().isEmpty());
        QVERIFY(m_service.calls().isEmpty());
        if (!present) {
            QVERIFY(PeerProcess::succeeded(
                m_service.control(PeerProcess::PeerControlInterface, "RejoinBus")));
        }
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

    void dialoguesReportTheirOutcome_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QVariant>("enabled");
        QTest::addColumn<QVariant>("unlocked");
        const QString pin = QStringLiteral("1234");
        const QString wrongPin = QStringLiteral("1111");
        const QVariant none;
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

    void relaysEverySignal_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<uint>("count");
        QTest::newRow("PinQueryEnabled -1") << "EmitPinQueryEnabled" << QVariant(-1) << 1u;
        QTest::newRow("PinQueryEnabled 1 three times")
            << "EmitPinQueryEnabled" << QVariant(1) << 3u;
        QTest::newRow("SimLockUnlockComplete true twice")
            << "EmitSimLockUnlockComplete" << QVariant(true) << 2u;
        QTest::newRow("SimLockUnlockComplete false")
            << "EmitSimLockUnlockComplete" << QVariant(false) << 1u;
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
        QVERIFY(PeerProcess::succeeded(m_service.control(PinControl, method, { value, count })));
        QTRY_COMPARE(spy.count(), int(count));
        for (const QList<QVariant> &arguments : qAsConst(spy)) {
            QCOMPARE(arguments.constFirst(), value);
        }
        QCOMPARE(otherSpy.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPinQueryInterface)
#include "tst_pinqueryinterface.moc"
