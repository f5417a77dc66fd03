#include "simmodel.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QString Pin = QStringLiteral("1234");
const QString WrongPin = QStringLiteral("9999");
const QString UnlockCode = QStringLiteral("11223344");
const int ShortMs = 20;

SimModel::Config config()
{
    SimModel::Config c;
    c.pin = Pin;
    c.unlockCode = UnlockCode;
    c.startUpMs = ShortMs;
    c.recheckMs = ShortMs;
    return c;
}

// The names of the properties a spy saw change, in order.
QStringList changed(const QSignalSpy &spy)
{
    QStringList names;
    for (const QList<QVariant> &args : spy)
        names << args.at(0).toString();
    return names;
}

// What the telephony service shows of a card it is still reading.
const QVariantMap Reading { { "Present", true }, { "PinRequired", "none" },
    { "LockedPins", QStringList() }, { "Retries", QVariantMap() } };

} // namespace

// The simulated card, for what the page's end-to-end tests rely on: the
// start states the modem's options give, the start-up window and the order
// of its reports, and the late report after a wrong code. What each state
// looks like through the bus is checked by the client library tests.
class TestSimModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startStates_data()
    {
        QTest::addColumn<bool>("pinRequest");
        QTest::addColumn<bool>("pinRequired");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("state");
        QTest::newRow("pin asked") << true << true << false << "pin";
        QTest::newRow("pin entered") << true << false << false << "ready";
        // with the request off there is nothing to ask, whatever the switch says
        QTest::newRow("request off") << false << true << false << "ready";
        // the PIN comes before the lock, as on a real card
        QTest::newRow("pin and lock") << true << true << true << "pin";
        QTest::newRow("lock") << false << true << true << "locked";
    }
    void startStates()
    {
        SimModel::Config c = config();
        QFETCH(bool, pinRequest);
        QFETCH(bool, pinRequired);
        QFETCH(bool, locked);
        c.pinRequest = pinRequest;
        c.pinRequired = pinRequired;
        c.simLocked = locked;
        QTEST(SimModel(c).state(), "state");
    }

    // Power-up and insertion: the card reads as one that asks for nothing,
    // silently, then reports what reading it found in the service's order.
    void cardIsReadAfterTheWindow_data()
    {
        QTest::addColumn<bool>("pinRequest");
        QTest::addColumn<bool>("insert");
        QTest::addColumn<QStringList>("reported");
        QTest::newRow("power-up, PIN card")
            << true << false
            << QStringList { "CardIdentifier", "LockedPins", "PinRequired", "Retries" };
        QTest::newRow("power-up, ready card")
            << false << false << QStringList { "CardIdentifier", "Retries", "SubscriberIdentity" };
        QTest::newRow("insertion, PIN card")
            << true << true
            << QStringList { "Present", "CardIdentifier", "LockedPins", "PinRequired", "Retries" };
    }
    void cardIsReadAfterTheWindow()
    {
        QFETCH(bool, pinRequest);
        QFETCH(bool, insert);
        SimModel::Config c = config();
        c.pinRequest = pinRequest;
        c.present = !insert;
        SimModel model(c);
        QSignalSpy spy(&model, &SimModel::propertyChanged);
        if (insert) {
            model.insert();
        } else {
            model.setPowered(false);
            model.setPowered(true);
        }
        QCOMPARE(model.properties(), Reading);
        QCOMPARE(changed(spy), insert ? QStringList { "Present" } : QStringList());
        QTRY_COMPARE(model.state(), QString(pinRequest ? "pin" : "ready"));
        QTEST(changed(spy), "reported");
    }

    // The error reply comes first, the attempts left after the recheck delay:
    // the PIN dialogue waits for them before it asks again.
    void wrongCodesAreCountedAfterTheReply()
    {
        SimModel model(config());
        const auto retries
            = [&model] { return model.properties().value("Retries").toMap().value("pin"); };
        QSignalSpy spy(&model, &SimModel::propertyChanged);
        QCOMPARE(model.enterPin("pin", WrongPin), SimModel::Result::Failed);
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(retries(), QVariant(2));
        QCOMPARE(changed(spy), QStringList { "Retries" });
        // the right PIN gives the attempts back
        QCOMPARE(model.enterPin("pin", Pin), SimModel::Result::Ok);
        QCOMPARE(retries(), QVariant(SimModel::PinAttempts));
    }

    // The codes a user types in the demo, one step per word list:
    // "enter TYPE CODE RESULT", "change TYPE OLD NEW RESULT" or
    // "reset TYPE PUK NEW RESULT", then the state the card ends in.
    void codes_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("end");
        const QString puk = SimModel::Config().puk;
        QTest::newRow("PIN not asked")
            << "ready" << QStringList { "enter pin 1234 InvalidFormat" } << "ready";
        QTest::newRow("PIN change while asked")
            << "pin" << QStringList { "change pin 1234 5678 Failed" } << "pin";
        const QString wrongPin = QStringLiteral("enter pin 9999 Failed");
        QTest::newRow("three wrong PINs")
            << "pin" << QStringList { wrongPin, wrongPin, wrongPin } << "puk";
        QTest::newRow("wrong PUK") << "puk" << QStringList { "reset puk 87654321 4321 Failed" } << "puk";
        QTest::newRow("PUK sets the new PIN")
            << "puk"
            << QStringList { "reset puk " + puk + " 4321 Ok", "change pin 4321 5678 Ok",
                   "change pin 4321 1111 Failed" }
            << "ready";
        QTest::newRow("PUK blocked")
            << "blocked" << QStringList { "reset puk " + puk + " 4321 Failed" } << "blocked";
        QTest::newRow("wrong unlock code")
            << "locked" << QStringList { "enter network 87654321 Failed" } << "locked";
    }
    void codes()
    {
        static const QHash<QString, SimModel::Result> results {
            { "Ok", SimModel::Result::Ok },
            { "Failed", SimModel::Result::Failed },
            { "InvalidFormat", SimModel::Result::InvalidFormat },
        };
        QFETCH(QString, start);
        QFETCH(QStringList, steps);
        QFETCH(QString, end);
        SimModel model(config());
        QVERIFY(model.setState(start));
        for (const QString &step : steps) {
            const QStringList w = step.split(' ');
            const SimModel::Result result = w[0] == "enter" ? model.enterPin(w[1], w[2])
                : w[0] == "change"                       ? model.changePin(w[1], w[2], w[3])
                                                         : model.resetPin(w[1], w[2], w[3]);
            QVERIFY2(result == results.value(w.last()), qPrintable(step));
        }
        QTRY_COMPARE(model.state(), end);
    }

    // Opening the SIM lock restarts the card: listeners must forget the
    // lock, and Present tells them to read afresh. The start-up is held
    // until released.
    void unlockingRestartsTheCard()
    {
        SimModel model(config());
        QVERIFY(model.setState("locked"));
        QSignalSpy spy(&model, &SimModel::propertyChanged);
        QCOMPARE(model.enterPin("network", UnlockCode), SimModel::Result::Ok);
        QCOMPARE(model.properties(), Reading);
        QCOMPARE(changed(spy).value(0), QString("Present"));
        model.setReady(false);
        QTest::qWait(3 * ShortMs); // proving that start-up does NOT end by itself
        QCOMPARE(model.state(), QString("starting"));
        model.setReady(true);
        QCOMPARE(model.state(), QString("ready"));
        QCOMPARE(changed(spy).constLast(), QString("SubscriberIdentity"));
    }
};

QTEST_GUILESS_MAIN(TestSimModel)
#include "tst_simmodel.moc"
