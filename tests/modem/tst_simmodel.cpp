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
const int ShortStartUpMs = 20;

SimModel::Config config()
{
    SimModel::Config c;
    c.pin = Pin;
    c.puk = Puk;
    c.unlockCode = UnlockCode;
    c.startUpMs = ShortStartUpMs;
    return c;
}

int retries(const SimModel &model, const char *type)
{
    return model.properties().value("Retries").toMap().value(type).toInt();
}

// The names of the properties a spy saw change, in order.
QStringList changed(const QSignalSpy &spy)
{
    QStringList names;
    for (const QList<QVariant> &args : spy)
        names << args.at(0).toString();
    return names;
}

} // namespace

class TestSimModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the card reports in each state is checked through the bus by the
    // client library tests; here, which state a configuration starts in.
    void startStates_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("pinRequest");
        QTest::addColumn<bool>("pinRequired");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QStringList>("lockedPins");
        QTest::newRow("absent") << false << true << true << false << "absent" << QStringList();
        QTest::newRow("pin asked")
            << true << true << true << false << "pin" << QStringList { "pin" };
        QTest::newRow("pin entered")
            << true << true << false << false << "ready" << QStringList { "pin" };
        // with the request off there is nothing to ask, whatever the switch says
        QTest::newRow("request off") << true << false << true << false << "ready" << QStringList();
        // the PIN comes before the lock, as on a real card
        QTest::newRow("pin and lock")
            << true << true << true << true << "pin" << QStringList { "pin", "network" };
        QTest::newRow("lock") << true << false << true << true << "locked"
                              << QStringList { "network" };
    }

    void startStates()
    {
        QFETCH(bool, present);
        QFETCH(bool, pinRequest);
        QFETCH(bool, pinRequired);
        QFETCH(bool, locked);
        SimModel::Config c = config();
        c.present = present;
        c.pinRequest = pinRequest;
        c.pinRequired = pinRequired;
        c.simLocked = locked;
        const SimModel model(c);
        QTEST(model.state(), "state");
        QTEST(model.properties().value("LockedPins").toStringList(), "lockedPins");
    }

    void pinAttemptsLeadToPukAndPermanentBlock()
    {
        SimModel model(config());
        QSignalSpy spy(&model, &SimModel::propertyChanged);

        QCOMPARE(model.enterPin("pin", WrongPin), Result::IncorrectPassword);
        QCOMPARE(model.enterPin("pin", WrongPin), Result::IncorrectPassword);
        QCOMPARE(retries(model, "pin"), 1);
        QCOMPARE(changed(spy), QStringList({ "Retries", "Retries" }));
        QCOMPARE(model.enterPin("pin", WrongPin), Result::IncorrectPassword);
        QCOMPARE(model.state(), QString("puk"));
        QCOMPARE(retries(model, "pin"), 0);
        // the right PIN no longer helps once the PUK is asked
        QCOMPARE(model.enterPin("pin", Pin), Result::Failed);

        for (int left = SimModel::PukAttempts - 1; left > 0; --left) {
            QCOMPARE(model.resetPin("puk", WrongPuk, Pin), Result::IncorrectPassword);
            QCOMPARE(retries(model, "puk"), left);
            QCOMPARE(model.state(), QString("puk"));
        }
        QCOMPARE(model.resetPin("puk", WrongPuk, Pin), Result::IncorrectPassword);
        QCOMPARE(model.state(), QString("blocked"));
        QCOMPARE(model.properties().value("PinRequired").toString(), QString("puk"));
        // permanently: even the right PUK is refused, and counts nothing
        QCOMPARE(model.resetPin("puk", Puk, Pin), Result::Failed);
        QCOMPARE(retries(model, "puk"), 0);
    }

    void pukSetsNewPinAndRestoresCounters()
    {
        SimModel model(config());
        QVERIFY(model.setState("puk"));
        QCOMPARE(model.resetPin("puk", WrongPuk, "5555"), Result::IncorrectPassword);
        QCOMPARE(model.resetPin("puk", Puk, "5555"), Result::Ok);
        QCOMPARE(model.state(), QString("ready"));
        QCOMPARE(retries(model, "pin"), SimModel::PinAttempts);
        QCOMPARE(retries(model, "puk"), SimModel::PukAttempts);
        // the new PIN is the one that counts from now on
        QCOMPARE(model.unlockPin("pin", Pin), Result::IncorrectPassword);
        QCOMPARE(model.unlockPin("pin", "5555"), Result::Ok);
        QCOMPARE(model.properties().value("LockedPins").toStringList(), QStringList());
    }

    void rightPinRestoresAttempts()
    {
        SimModel model(config());
        QCOMPARE(model.enterPin("pin", WrongPin), Result::IncorrectPassword);
        QCOMPARE(model.enterPin("pin", Pin), Result::Ok);
        QCOMPARE(retries(model, "pin"), SimModel::PinAttempts);
        QCOMPARE(model.state(), QString("ready"));
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
        row("enter pin while starting", "starting", "EnterPin", { "pin", Pin }, Result::InProgress);
        row("enter pin, not asked", "ready", "EnterPin", { "pin", Pin }, Result::Failed);
        row("enter pin, letters", "pin", "EnterPin", { "pin", "12ab" }, Result::InvalidFormat);
        row("enter pin, too short", "pin", "EnterPin", { "pin", "123" }, Result::InvalidFormat);
        row("enter pin, unknown type", "pin", "EnterPin", { "pim", Pin }, Result::InvalidFormat);
        row("enter puk through EnterPin", "puk", "EnterPin", { "puk", Puk }, Result::Failed);
        row("unlock code, not locked", "ready", "EnterPin", { "network", UnlockCode },
            Result::Failed);
        row("unlock code, wrong lock type", "locked", "EnterPin", { "corp", UnlockCode },
            Result::Failed);
        row("unlock code, wrong", "locked", "EnterPin", { "network", "99999999" },
            Result::IncorrectPassword);
        row("reset pin, puk not asked", "ready", "ResetPin", { "puk", Puk, Pin }, Result::Failed);
        row("reset pin, short puk", "puk", "ResetPin", { "puk", "1234567", Pin },
            Result::InvalidFormat);
        row("reset pin, bad new pin", "puk", "ResetPin", { "puk", Puk, "12" },
            Result::InvalidFormat);
        row("reset pin2", "puk", "ResetPin", { "puk2", Puk, Pin }, Result::NotImplemented);
        row("change pin while pin asked", "pin", "ChangePin", { "pin", Pin, "4321" },
            Result::Failed);
        row("change pin2", "ready", "ChangePin", { "pin2", Pin, "4321" }, Result::NotImplemented);
        row("lock pin while puk asked", "puk", "LockPin", { "pin", Pin }, Result::Failed);
        row("lock network", "ready", "LockPin", { "network", UnlockCode }, Result::NotImplemented);
        row("unlock pin, wrong", "ready", "UnlockPin", { "pin", WrongPin },
            Result::IncorrectPassword);
    }

    void refusals()
    {
        QFETCH(QString, state);
        QFETCH(QString, method);
        QFETCH(QStringList, arguments);
        SimModel model(config());
        QVERIFY(model.setState(state));
        const QVariantMap before = model.properties();
        const bool counts = QTest::currentDataTag() == QByteArray("unlock pin, wrong");

        Result result = Result::Ok;
        if (method == "EnterPin")
            result = model.enterPin(arguments.at(0), arguments.at(1));
        else if (method == "ResetPin")
            result = model.resetPin(arguments.at(0), arguments.at(1), arguments.at(2));
        else if (method == "ChangePin")
            result = model.changePin(arguments.at(0), arguments.at(1), arguments.at(2));
        else if (method == "LockPin")
            result = model.lockPin(arguments.at(0), arguments.at(1));
        else
            result = model.unlockPin(arguments.at(0), arguments.at(1));
        QTEST(result, "result");
        // a refusal changes nothing, but a wrong PIN costs an attempt
        if (counts)
            QCOMPARE(retries(model, "pin"), SimModel::PinAttempts - 1);
        else
            QCOMPARE(model.properties(), before);
    }

    void unlockingRestartsTheCard()
    {
        SimModel model(config());
        QVERIFY(model.setState("locked"));
        QSignalSpy spy(&model, &SimModel::propertyChanged);

        QCOMPARE(model.enterPin("network", UnlockCode), Result::Ok);
        QCOMPARE(model.state(), QString("starting"));
        QCOMPARE(model.properties(), QVariantMap({ { "Present", true } }));
        // Nothing is known of a starting card: listeners must forget the lock.
        QCOMPARE(changed(spy), QStringList({ "Present" }));

        QTRY_COMPARE(model.state(), QString("ready"));
        QCOMPARE(changed(spy), QStringList({ "Present", "LockedPins", "PinRequired", "Retries" }));
        QCOMPARE(model.properties().value("PinRequired").toString(), QString("none"));
    }

    void insertionStartsTheCardAndAsksForThePin()
    {
        SimModel model(config());
        model.remove();
        QSignalSpy spy(&model, &SimModel::propertyChanged);

        model.insert();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0), QVariantList({ "Present", true }));
        QCOMPARE(model.state(), QString("starting"));
        QTRY_COMPARE(model.state(), QString("pin"));
        QCOMPARE(changed(spy), QStringList({ "Present", "LockedPins", "PinRequired", "Retries" }));

        // held in start-up until released
        model.remove();
        model.insert();
        model.setReady(false);
        QTest::qWait(3 * ShortStartUpMs); // proving that start-up does NOT end by itself
        QCOMPARE(model.state(), QString("starting"));
        model.setReady(true);
        QCOMPARE(model.state(), QString("pin"));
    }

    void removalForgetsTheEnteredPin()
    {
        SimModel model(config());
        QCOMPARE(model.enterPin("pin", Pin), Result::Ok);
        QSignalSpy spy(&model, &SimModel::propertyChanged);
        model.remove();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0), QVariantList({ "Present", false }));
        model.insert();
        QTRY_COMPARE(model.state(), QString("pin"));
    }

    void resetReturnsToTheStartState()
    {
        SimModel model(config());
        QVERIFY(model.setState("blocked"));
        model.setSimLocked(true);
        model.reset();
        QCOMPARE(model.state(), QString("pin"));
        QCOMPARE(retries(model, "puk"), SimModel::PukAttempts);
        QVERIFY(!model.setState("exploded"));
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
