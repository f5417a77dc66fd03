#include "simmodel.h"

#include <QSignalSpy>
#include <QtTest>

using Result = SimModel::Result;
Q_DECLARE_METATYPE(SimModel::Result)

namespace {

const QString Pin = QStringLiteral("1234");
const QString WrongPin = QStringLiteral("9999");
const QString Puk = QStringLiteral("12345678");
const QString WrongPuk = QStringLiteral("87654321");
const QString UnlockCode = QStringLiteral("11223344");
const int ShortMs = 20;

SimModel::Config config()
{
    SimModel::Config c;
    c.pin = Pin;
    c.puk = Puk;
    c.unlockCode = UnlockCode;
    c.startUpMs = ShortMs;
    c.recheckMs = ShortMs;
    return c;
}

int retries(const SimModel &model, const char *type)
{
    return model.properties().value("Retries").toMap().value(type, -1).toInt();
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

// The card as the telephony service shows it: the start-up window, the order
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
        QFETCH(bool, pinRequest);
        QFETCH(bool, pinRequired);
        QFETCH(bool, locked);
        QFETCH(QString, state);
        SimModel::Config c = config();
        c.pinRequest = pinRequest;
        c.pinRequired = pinRequired;
        c.simLocked = locked;
        const SimModel model(c);
        QCOMPARE(model.state(), state);
        // only a card that asks for nothing has its subscriber identity read
        QCOMPARE(model.properties().contains("SubscriberIdentity"), state == "ready");
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

    // The error reply comes first; the attempts left and a PIN that blocked
    // follow after the recheck delay.
    void wrongCodesAreCountedAfterTheReply()
    {
        SimModel model(config());
        QSignalSpy spy(&model, &SimModel::propertyChanged);
        QCOMPARE(model.enterPin("pin", WrongPin), Result::Failed);
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(retries(model, "pin"), 2);
        QCOMPARE(changed(spy), QStringList { "Retries" });
        // the right PIN gives the attempts back
        QCOMPARE(model.enterPin("pin", Pin), Result::Ok);
        QCOMPARE(retries(model, "pin"), SimModel::PinAttempts);

        QVERIFY(model.setState("pin"));
        spy.clear();
        QCOMPARE(model.enterPin("pin", WrongPin), Result::Failed);
        // each code settles the one before it before it is judged
        QCOMPARE(model.enterPin("pin", WrongPin), Result::Failed);
        QCOMPARE(model.enterPin("pin", WrongPin), Result::Failed);
        QCOMPARE(retries(model, "pin"), 1);
        QTRY_COMPARE(model.state(), QString("puk"));
        QCOMPARE(changed(spy), QStringList({ "Retries", "Retries", "PinRequired", "Retries" }));

        // the right PIN no longer helps once the PUK is asked
        QCOMPARE(model.enterPin("pin", Pin), Result::InvalidFormat);
        QCOMPARE(model.resetPin("puk", WrongPuk, Pin), Result::Failed);
        QCOMPARE(model.resetPin("puk", Puk, "5555"), Result::Ok);
        QCOMPARE(model.state(), QString("ready"));
        QCOMPARE(retries(model, "puk"), SimModel::PukAttempts);
        // the new PIN is the one that counts from now on
        QCOMPARE(model.unlockPin("pin", "5555"), Result::Ok);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Result>("result");

        auto row = [](const char *name, const char *state, const char *method,
                       const QStringList &arguments, Result result) {
            QTest::newRow(name) << state << method << arguments << result;
        };
        row("enter pin, no card", "absent", "EnterPin", { "pin", Pin }, Result::Failed);
        // A code of another kind than the card asks for, or malformed: the
        // service refuses it unseen.
        row("enter pin while read", "starting", "EnterPin", { "pin", Pin }, Result::InvalidFormat);
        row("enter pin, not asked", "ready", "EnterPin", { "pin", Pin }, Result::InvalidFormat);
        row("enter pin, puk asked", "puk", "EnterPin", { "pin", Pin }, Result::InvalidFormat);
        row("enter pin, letters", "pin", "EnterPin", { "pin", "12ab" }, Result::InvalidFormat);
        row("enter pin, unknown type", "pin", "EnterPin", { "pim", Pin }, Result::InvalidFormat);
        row("lock puk", "ready", "LockPin", { "puk", Puk }, Result::InvalidFormat);
        row("reset pin, short puk", "puk", "ResetPin", { "puk", "1234567", Pin },
            Result::InvalidFormat);
        row("reset pin, bad new pin", "puk", "ResetPin", { "puk", Puk, "12" },
            Result::InvalidFormat);
        // no PUK attempt left: even the right one is refused, and counts nothing
        row("reset pin, blocked for good", "blocked", "ResetPin", { "puk", Puk, Pin },
            Result::Failed);
        row("lock pin while puk asked", "puk", "LockPin", { "pin", Pin }, Result::Failed);
        row("lock network", "ready", "LockPin", { "network", UnlockCode }, Result::NotImplemented);
        row("unlock code, wrong lock type", "locked", "EnterPin", { "corp", UnlockCode },
            Result::InvalidFormat);
        row("unlock code, wrong", "locked", "EnterPin", { "network", "99999999" }, Result::Failed);
        row("change pin while pin asked", "pin", "ChangePin", { "pin", Pin, "4321" },
            Result::Failed);
        row("reset pin2", "puk", "ResetPin", { "puk2", Puk, Pin }, Result::NotImplemented);
    }

    void refusals()
    {
        QFETCH(QString, state);
        QFETCH(QString, method);
        QFETCH(QStringList, arguments);
        SimModel model(config());
        QVERIFY(model.setState(state));
        const QVariantMap before = model.properties();

        Result result = Result::Ok;
        if (method == "EnterPin")
            result = model.enterPin(arguments.at(0), arguments.at(1));
        else if (method == "ResetPin")
            result = model.resetPin(arguments.at(0), arguments.at(1), arguments.at(2));
        else if (method == "ChangePin")
            result = model.changePin(arguments.at(0), arguments.at(1), arguments.at(2));
        else
            result = model.lockPin(arguments.at(0), arguments.at(1));
        QTEST(result, "result");
        QTest::qWait(2 * ShortMs); // proving that no attempt is counted later
        QCOMPARE(model.properties(), before);
    }

    void unlockingRestartsTheCard()
    {
        SimModel model(config());
        QVERIFY(model.setState("locked"));
        QSignalSpy spy(&model, &SimModel::propertyChanged);

        QCOMPARE(model.enterPin("network", UnlockCode), Result::Ok);
        QCOMPARE(model.properties(), Reading);
        // Listeners must forget the lock: Present tells them to read afresh.
        QCOMPARE(changed(spy).value(0), QString("Present"));
        // held in start-up until released
        model.setReady(false);
        QTest::qWait(3 * ShortMs); // proving that start-up does NOT end by itself
        QCOMPARE(model.state(), QString("starting"));
        model.setReady(true);
        QCOMPARE(model.state(), QString("ready"));
        QCOMPARE(changed(spy).constLast(), QString("SubscriberIdentity"));
        QVERIFY(!model.setState("exploded"));
        QCOMPARE(model.state(), QString("ready"));
    }

    void configProblems_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("short pin") << "pin" << QStringLiteral("123");
        QTest::newRow("long pin") << "pin" << QStringLiteral("123456789");
        QTest::newRow("pin with letters") << "pin" << QStringLiteral("12a4");
        QTest::newRow("short puk") << "puk" << QStringLiteral("1234567");
        QTest::newRow("short unlock code") << "unlock" << QStringLiteral("1234567");
        QTest::newRow("unknown lock") << "lock" << QStringLiteral("pin");
    }

    void configProblems()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QVERIFY(SimModel::configProblem(config()).isEmpty());
        SimModel::Config c = config();
        (field == "pin"             ? c.pin
                : field == "puk"    ? c.puk
                : field == "unlock" ? c.unlockCode
                                    : c.lockType)
            = value;
        const QString problem = SimModel::configProblem(c);
        QVERIFY(!problem.isEmpty());
        QVERIFY(!problem.contains(value)); // a code is never echoed
    }
};

QTEST_GUILESS_MAIN(TestSimModel)
#include "tst_simmodel.moc"
