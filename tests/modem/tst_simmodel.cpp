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
    void startStates_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("pinRequest");
        QTest::addColumn<bool>("pinRequired");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QVariantMap>("properties");

        const QVariantMap retries { { "pin", 3 }, { "puk", 10 } };
        QTest::newRow("absent") << false << true << true << false << "absent"
                                << QVariantMap { { "Present", false } };
        QTest::newRow("pin asked")
            << true << true << true << false << "pin"
            << QVariantMap { { "Present", true }, { "PinRequired", "pin" },
                   { "LockedPins", QStringList { "pin" } }, { "Retries", retries } };
        QTest::newRow("pin entered")
            << true << true << false << false << "ready"
            << QVariantMap { { "Present", true }, { "PinRequired", "none" },
                   { "LockedPins", QStringList { "pin" } }, { "Retries", retries } };
        // with the request off there is nothing to ask, whatever the switch says
        QTest::newRow("request off")
            << true << false << true << false << "ready"
            << QVariantMap { { "Present", true }, { "PinRequired", "none" },
                   { "LockedPins", QStringList() }, { "Retries", retries } };
        // the PIN comes before the lock, as on a real card
        QTest::newRow("pin and lock")
            << true << true << true << true << "pin"
            << QVariantMap { { "Present", true }, { "PinRequired", "pin" },
                   { "LockedPins", QStringList { "pin", "network" } }, { "Retries", retries } };
        QTest::newRow("lock") << true << false << true << true << "locked"
                              << QVariantMap { { "Present", true }, { "PinRequired", "network" },
                                     { "LockedPins", QStringList { "network" } },
                                     { "Retries", retries } };
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
        QTEST(model.properties(), "properties");
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

        QTest::newRow("enter pin, no card")
            << "absent"
            << "EnterPin" << QStringList { "pin", Pin } << Result::Failed;
        QTest::newRow("enter pin while starting")
            << "starting"
            << "EnterPin" << QStringList { "pin", Pin } << Result::InProgress;
        QTest::newRow("enter pin, not asked")
            << "ready"
            << "EnterPin" << QStringList { "pin", Pin } << Result::Failed;
        QTest::newRow("enter pin, letters")
            << "pin"
            << "EnterPin" << QStringList { "pin", "12ab" } << Result::InvalidFormat;
        QTest::newRow("enter pin, too short")
            << "pin"
            << "EnterPin" << QStringList { "pin", "123" } << Result::InvalidFormat;
        QTest::newRow("enter pin, unknown type")
            << "pin"
            << "EnterPin" << QStringList { "pim", Pin } << Result::InvalidFormat;
        QTest::newRow("enter puk through EnterPin")
            << "puk"
            << "EnterPin" << QStringList { "puk", Puk } << Result::Failed;
        QTest::newRow("unlock code, not locked")
            << "ready"
            << "EnterPin" << QStringList { "network", UnlockCode } << Result::Failed;
        QTest::newRow("unlock code, wrong lock type")
            << "locked"
            << "EnterPin" << QStringList { "corp", UnlockCode } << Result::Failed;
        QTest::newRow("unlock code, wrong")
            << "locked"
            << "EnterPin" << QStringList { "network", "99999999" } << Result::IncorrectPassword;
        QTest::newRow("reset pin, puk not asked")
            << "ready"
            << "ResetPin" << QStringList { "puk", Puk, Pin } << Result::Failed;
        QTest::newRow("reset pin, short puk")
            << "puk"
            << "ResetPin" << QStringList { "puk", "1234567", Pin } << Result::InvalidFormat;
        QTest::newRow("reset pin, bad new pin")
            << "puk"
            << "ResetPin" << QStringList { "puk", Puk, "12" } << Result::InvalidFormat;
        QTest::newRow("reset pin2")
            << "puk"
            << "ResetPin" << QStringList { "puk2", Puk, Pin } << Result::NotImplemented;
        QTest::newRow("change pin while pin asked")
            << "pin"
            << "ChangePin" << QStringList { "pin", Pin, "4321" } << Result::Failed;
        QTest::newRow("change pin2")
            << "ready"
            << "ChangePin" << QStringList { "pin2", Pin, "4321" } << Result::NotImplemented;
        QTest::newRow("lock pin while puk asked")
            << "puk"
            << "LockPin" << QStringList { "pin", Pin } << Result::Failed;
        QTest::newRow("lock network")
            << "ready"
            << "LockPin" << QStringList { "network", UnlockCode } << Result::NotImplemented;
        QTest::newRow("unlock pin, wrong")
            << "ready"
            << "UnlockPin" << QStringList { "pin", WrongPin } << Result::IncorrectPassword;
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
        QTest::newRow("short pin") << "pin"
                                   << "123";
        QTest::newRow("long pin") << "pin"
                                  << "123456789";
        QTest::newRow("pin with letters") << "pin"
                                          << "12a4";
        QTest::newRow("short puk") << "puk"
                                   << "1234567";
        QTest::newRow("short unlock code") << "unlock"
                                           << "1234567";
        QTest::newRow("unknown lock") << "lock"
                                      << "pin";
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
