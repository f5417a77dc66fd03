#include "logcapture.h"
#include "peerprocess.h"
#include "signalargs.h"
#include "simlock.h"
#include "simsecurity.h"
#include "simstatus.h"
#include "simtracker.h"

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

using Cellular::SIM::SIMSecurity;
using Cellular::SIM::SIMStatus;
using simlock::SIMLock;

namespace {

const QString &ModemControl = PeerProcess::ModemControlInterface;
const QString Pin = QStringLiteral("2468");
const QString Puk = QStringLiteral("13572468");
const QString UnlockCode = QStringLiteral("9081726354");
const QString WrongPin = QStringLiteral("0000");
const QString WrongPuk = QStringLiteral("00000000");
const QStringList Codes { Pin, Puk, UnlockCode, WrongPin, WrongPuk };
// Long enough for a stray second answer to arrive over the private bus.
const int NoMoreMs = 100;

// One client library behind a common face: make it, ask it, and the
// signature of its answer.
struct Client
{
    std::unique_ptr<QObject> object;
    std::function<void()> query;
    const char *answer;
};

Client makeClient(const QString &library)
{
    if (library == "status") {
        auto *c = new SIMStatus;
        return { std::unique_ptr<QObject>(c), [c] { c->status(); },
            SIGNAL(statusComplete(SIMStatus::Status, SIMError)) };
    }
    if (library == "pin query") {
        auto *c = new SIMSecurity;
        return { std::unique_ptr<QObject>(c), [c] { c->pinQueryState(SIMSecurity::PIN); },
            SIGNAL(pinQueryStateComplete(SIMSecurity::PINQuery, SIMError)) };
    }
    auto *c = new SIMLock;
    return { std::unique_ptr<QObject>(c), [c] { c->simLockStatus(); },
        SIGNAL(simLockStatusComplete(SIMLock::SIMLockStatus, SIMLock::SIMLockError)) };
}

QDBusMessage callSim(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call
        = QDBusMessage::createMethodCall("org.ofono", "/sim_0", "org.ofono.SimManager", method);
    call.setArguments(arguments);
    return QDBusConnection::systemBus().call(call);
}

QList<int> statuses(const QSignalSpy &spy)
{
    QList<int> list;
    for (const QList<QVariant> &args : spy)
        list << args.at(0).toInt();
    return list;
}

// One entry of the modem manager's GetModems answer.
struct FakeModem
{
    QDBusObjectPath path;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const FakeModem &modem)
{
    argument.beginStructure();
    argument << modem.path << modem.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, FakeModem &modem)
{
    argument.beginStructure();
    argument >> modem.path >> modem.properties;
    argument.endStructure();
    return argument;
}

using Retries = QMap<QString, uchar>;

} // namespace

Q_DECLARE_METATYPE(FakeModem)
Q_DECLARE_METATYPE(Retries)

namespace {

const QString FakeBus = QStringLiteral("fake telephony service");
const QString FirstModem = QStringLiteral("/first");
const QString SecondModem = QStringLiteral("/second");

// What the real service shows of a card from the moment its SIM manager
// appears until it has read the card.
const QVariantMap StartingCard { { "Present", true }, { "PinRequired", "none" },
    { "LockedPins", QStringList() }, { "Retries", QVariant::fromValue(Retries()) } };

QVariantMap with(QVariantMap properties, const QString &name, const QVariant &value)
{
    properties.insert(name, value);
    return properties;
}

const QVariantMap ReadyCard = with(StartingCard, "SubscriberIdentity", "001010123456789");
const QVariantMap PinCard = with(with(StartingCard, "PinRequired", "pin"), "LockedPins",
    QStringList { "pin" });

// The telephony service played by the test on a connection of its own, with
// as many modems as a test wants, each answer and each signal at the test's
// command.
class FakeOfono : public QDBusVirtualObject
{
public:
    FakeOfono()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SystemBus, FakeBus))
    {
        qDBusRegisterMetaType<FakeModem>();
        qDBusRegisterMetaType<QList<FakeModem>>();
        qDBusRegisterMetaType<Retries>();
    }

    ~FakeOfono() override { QDBusConnection::disconnectFromBus(FakeBus); }

    bool start()
    {
        return m_bus.registerVirtualObject("/", this, QDBusConnection::SubPath)
            && m_bus.registerService("org.ofono");
    }

    // The modems in the order GetModems lists them, each with a SIM manager.
    QList<QPair<QString, QVariantMap>> modems;
    // GetProperties calls still to be answered with the service's error.
    int failingReads = 0;
    // The members of the calls received.
    QStringList calls;

    // Sends a change without making it: reads still answer from modems.
    void change(const QString &path, const QString &name, const QVariant &value)
    {
        QDBusMessage signal
            = QDBusMessage::createSignal(path, "org.ofono.SimManager", "PropertyChanged");
        signal << name << QVariant::fromValue(QDBusVariant(value));
        m_bus.send(signal);
    }

    QString introspect(const QString &) const override { return QString(); }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        calls << message.member();
        if (message.member() == "GetModems") {
            QList<FakeModem> list;
            for (const auto &modem : qAsConst(modems))
                list << FakeModem { QDBusObjectPath(modem.first),
                    { { "Interfaces", QStringList { "org.ofono.SimManager" } } } };
            return connection.send(message.createReply(QVariant::fromValue(list)));
        }
        if (failingReads > 0) {
            --failingReads;
            return connection.send(
                message.createErrorReply("org.ofono.Error.Failed", "Operation failed"));
        }
        for (const auto &modem : qAsConst(modems)) {
            if (modem.first == message.path())
                return connection.send(message.createReply(modem.second));
        }
        return false;
    }

private:
    QDBusConnection m_bus;
};

} // namespace

class TestSimClients : public QObject
{
    Q_OBJECT

public:
    TestSimClients()
        : m_modem(PeerProcess::Modem)
    { }

private:
    QStringList modemArguments() const
    {
        return { "--pin", Pin, "--puk", Puk, "--unlock-code", UnlockCode, "--start-up-ms", "30" };
    }

    bool control(const QString &method, const QVariantList &arguments = {})
    {
        return PeerProcess::succeeded(m_modem.control(ModemControl, method, arguments));
    }

    // Made once the test runs: QtTest installs its own message handler then.
    std::unique_ptr<LogCapture> m_log;
    PeerProcess m_modem;

private Q_SLOTS:
    void initTestCase()
    {
        m_log = std::make_unique<LogCapture>();
        QVERIFY2(m_modem.start(modemArguments()), qPrintable(m_modem.lastError()));
    }

    void init()
    {
        if (!m_modem.isRunning())
            QVERIFY2(m_modem.start(modemArguments()), qPrintable(m_modem.lastError()));
        QVERIFY(m_modem.reset());
    }

    void answers_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("error");

        auto row = [](const char *name, const char *library, const char *state, int value,
                       int error) { QTest::newRow(name) << library << state << value << error; };
        row("status, pin asked", "status", "pin", 4, 0);
        row("status, sim-locked", "status", "locked", 7, 0);
        // Retries must survive the trip over the bus for this one
        row("status, blocked", "status", "blocked", 2, 0);
        row("status, starting", "status", "starting", 3, 0);
        row("status, no modem", "status", "no modem", 1, 0);
        row("pin query, ready", "pin query", "ready", 0, 0);
        row("pin query, sim-locked", "pin query", "locked", 2, 5);
        row("pin query, no card", "pin query", "absent", 2, 4);
        row("sim lock, sim-locked", "sim lock", "locked", 2, 0);
        row("sim lock, ready", "sim lock", "ready", 1, 0);
    }

    // Each query gets exactly one answer, never inside the call: both for the
    // first query (while the client still fetches) and for later ones.
    void answers()
    {
        QFETCH(QString, library);
        QFETCH(QString, state);
        if (state == "no modem")
            QVERIFY(control("SetModemPresent", { false }));
        else
            QVERIFY(control("SetState", { state }));

        Client client = makeClient(library);
        QSignalSpy spy(client.object.get(), client.answer);
        QVERIFY(spy.isValid());
        client.query();
        client.query();
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(spy.count(), 2);
        for (const QList<QVariant> &answer : spy) {
            QTEST(answer.at(0).toInt(), "value");
            QTEST(answer.at(1).toInt(), "error");
        }

        client.query();
        QCOMPARE(spy.count(), 2);
        QTRY_COMPARE(spy.count(), 3);
        QTest::qWait(NoMoreMs); // proving that no further answer comes
        QCOMPARE(spy.count(), 3);
    }

    void serviceAbsentThenAppearing()
    {
        m_modem.stop();
        SIMStatus status;
        SIMSecurity security;
        SIMLock lock;
        QSignalSpy statusSpy(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        QSignalSpy changeSpy(&status, SIGNAL(statusChanged(SIMStatus::Status)));
        QSignalSpy securitySpy(
            &security, SIGNAL(pinQueryStateComplete(SIMSecurity::PINQuery, SIMError)));
        QSignalSpy lockSpy(
            &lock, SIGNAL(simLockStatusComplete(SIMLock::SIMLockStatus, SIMLock::SIMLockError)));
        status.status();
        security.pinQueryState(SIMSecurity::PIN);
        lock.simLockStatus();
        QTRY_COMPARE(statusSpy.count(), 1);
        QTRY_COMPARE(securitySpy.count(), 1);
        QTRY_COMPARE(lockSpy.count(), 1);
        QCOMPARE(statusSpy.at(0),
            signalArgs(SIMStatus::UnknownStatus, Cellular::SIM::ServiceUnavailable));
        QCOMPARE(securitySpy.at(0),
            signalArgs(SIMSecurity::UnknownQuery, Cellular::SIM::ServiceUnavailable));
        QCOMPARE(lockSpy.at(0),
            signalArgs(SIMLock::SIMLockStatusUnknown, SIMLock::ServiceUnavailable));

        QVERIFY(m_modem.start(modemArguments()));
        QTRY_COMPARE(statuses(changeSpy), QList<int>({ SIMStatus::PINRequired }));
        status.status();
        QTRY_COMPARE(statusSpy.count(), 2);
        QCOMPARE(statusSpy.at(1).at(0).toInt(), int(SIMStatus::PINRequired));

        // and gone again
        QVERIFY(PeerProcess::succeeded(
            m_modem.control(PeerProcess::PeerControlInterface, "LeaveBus", { "release", 0u })));
        QTRY_COMPARE(
            statuses(changeSpy), QList<int>({ SIMStatus::PINRequired, SIMStatus::UnknownStatus }));
    }

    // Card removal and insertion are followed end to end; here the modem
    // itself goes and comes back.
    void modemGoneAndBack()
    {
        QVERIFY(control("SetState", { "ready" }));
        SIMStatus status;
        QSignalSpy answer(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        QSignalSpy changes(&status, SIGNAL(statusChanged(SIMStatus::Status)));
        status.status();
        QTRY_COMPARE(answer.count(), 1);
        QVERIFY(control("SetModemPresent", { false }));
        QTRY_COMPARE(statuses(changes), QList<int>({ SIMStatus::NoSIM }));
        QVERIFY(control("SetModemPresent", { true }));
        QTRY_COMPARE(statuses(changes), QList<int>({ SIMStatus::NoSIM, SIMStatus::Ok }));
    }

    void faultyService_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("fault");
        QTest::newRow("modem list fails") << "GetModems"
                                          << "error";
        QTest::newRow("modem list of the wrong type") << "GetModems"
                                                      << "wrongtype";
        QTest::newRow("modem list without arguments") << "GetModems"
                                                      << "noargs";
        QTest::newRow("properties fail") << "GetProperties"
                                         << "error";
        QTest::newRow("properties of the wrong type") << "GetProperties"
                                                      << "wrongtype";
    }

    // The failure is answered and warned of once, however often the read is
    // tried again.
    void faultyService()
    {
        QFETCH(QString, method);
        QFETCH(QString, fault);
        QVERIFY(m_modem.setFault(method, fault));
        m_log->clear();
        SIMStatus status;
        QSignalSpy spy(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        status.status();
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(
            spy.at(0), signalArgs(SIMStatus::UnknownStatus, Cellular::SIM::ServiceFailed));
        const auto reads = [this, method] {
            const QList<PeerProcess::Call> calls = m_modem.calls();
            return std::count_if(calls.cbegin(), calls.cend(),
                [method](const PeerProcess::Call &call) { return call.method == method; });
        };
        QTRY_VERIFY(reads() >= 2);
        const QStringList warnings = m_log->warningLines();
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().startsWith(
                     "SIM tracker: cannot read the SIM, trying again: " + method),
            qPrintable(warnings.first()));
    }

    // Run last: it owns the modem's output.
    void codesNeverAppear()
    {
        m_modem.stop();
        QProcess modem;
        modem.setProcessChannelMode(QProcess::MergedChannels);
        QDBusServiceWatcher watcher(
            "org.ofono", QDBusConnection::systemBus(), QDBusServiceWatcher::WatchForRegistration);
        QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
        modem.start(qEnvironmentVariable("SIM_BUILD_DIR") + "/bin/modem-sim",
            modemArguments() << "--sim-locked");
        QVERIFY(registered.wait());

        QStringList replies;
        for (const QVariantList &call :
            QList<QVariantList> { { "pin", WrongPin }, { "pin", Pin }, { "network", UnlockCode } })
            replies << callSim("EnterPin", call).errorMessage();
        replies << callSim("ChangePin", { "pin", Pin, WrongPin }).errorMessage();
        replies << callSim("ResetPin", { "puk", Puk, Pin }).errorMessage();
        const QDBusMessage calls = QDBusConnection::systemBus().call(QDBusMessage::createMethodCall(
            "com.tavik.sim.Modem", "/control", PeerProcess::PeerControlInterface, "GetCalls"));
        replies << calls.arguments().value(0).toString();
        QVERIFY(replies.last().contains("ResetPin"));
        modem.terminate();
        QVERIFY(modem.waitForFinished());

        const QString output = QString::fromUtf8(modem.readAll());
        for (const LogCapture::Line &line : m_log->lines())
            replies << line.text;
        for (const QString &code : Codes) {
            QVERIFY2(!output.contains(code), qPrintable(output));
            for (const QString &text : replies)
                QVERIFY2(!text.contains(code), qPrintable(text));
        }
    }
};

// The tracker the three libraries share, against a service played by the
// test: the reads a page costs, the card's start-up window, failed reads and
// answers a service should never give.
class TestSimTracker : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeOfono> m_fake;
    std::unique_ptr<LogCapture> m_log;

private Q_SLOTS:
    void initTestCase()
    {
        m_fake = std::make_unique<FakeOfono>();
        QVERIFY(m_fake->start());
        m_log = std::make_unique<LogCapture>();
    }

    void init()
    {
        m_fake->modems = { { FirstModem, PinCard } };
        m_fake->failingReads = 0;
        m_fake->calls.clear();
        m_log->clear();
    }

    // One read for all three libraries, one more for a new card, and no
    // watcher of a finished call left behind.
    void oneReadForAllClients()
    {
        SIMStatus status;
        SIMSecurity security;
        SIMLock lock;
        QSignalSpy statusSpy(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        QSignalSpy securitySpy(
            &security, SIGNAL(pinQueryStateComplete(SIMSecurity::PINQuery, SIMError)));
        QSignalSpy lockSpy(
            &lock, SIGNAL(simLockStatusComplete(SIMLock::SIMLockStatus, SIMLock::SIMLockError)));
        QSignalSpy changes(&status, SIGNAL(statusChanged(SIMStatus::Status)));
        status.status();
        security.pinQueryState(SIMSecurity::PIN);
        lock.simLockStatus();
        QTRY_COMPARE(statusSpy.count() + securitySpy.count() + lockSpy.count(), 3);
        QCOMPARE(statusSpy.at(0), signalArgs(SIMStatus::PINRequired, Cellular::SIM::NoError));
        QCOMPARE(m_fake->calls, QStringList({ "GetModems", "GetProperties" }));

        m_fake->calls.clear();
        m_fake->modems[0].second = { { "Present", false } };
        m_fake->change(FirstModem, "Present", false);
        QTRY_COMPARE(statuses(changes), QList<int>({ SIMStatus::NoSIM }));
        QCOMPARE(m_fake->calls, QStringList({ "GetProperties" }));
        const auto tracker = OfonoSim::SimTracker::shared();
        QTRY_VERIFY(tracker->findChildren<QDBusPendingCallWatcher *>().isEmpty());
    }

    void powerUp_data()
    {
        QTest::addColumn<QVariantList>("changes");
        QTest::addColumn<SIMStatus::Status>("settled");
        // The order the real service signals them in.
        QTest::newRow("card waiting for its PIN")
            << QVariantList { "CardIdentifier", "8949", "LockedPins", QStringList { "pin" },
                   "PinRequired", "pin", "Retries",
                   QVariant::fromValue(Retries { { "pin", 3 }, { "puk", 10 } }) }
            << SIMStatus::PINRequired;
        QTest::newRow("card asking for nothing")
            << QVariantList { "CardIdentifier", "8949", "Retries",
                   QVariant::fromValue(Retries { { "pin", 3 }, { "puk", 10 } }),
                   "SubscriberIdentity", "001010123456789" }
            << SIMStatus::Ok;
    }

    // Until the service has read the card, "none" means nothing yet: the card
    // is not ready, and it moves once, straight to its real state.
    void powerUp()
    {
        QFETCH(QVariantList, changes);
        QFETCH(SIMStatus::Status, settled);
        m_fake->modems = { { FirstModem, StartingCard } };
        SIMStatus status;
        SIMSecurity security;
        QSignalSpy answer(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        QSignalSpy moves(&status, SIGNAL(statusChanged(SIMStatus::Status)));
        QSignalSpy pinQuery(
            &security, SIGNAL(pinQueryStateComplete(SIMSecurity::PINQuery, SIMError)));
        status.status();
        security.pinQueryState(SIMSecurity::PIN);
        QTRY_COMPARE(answer.count() + pinQuery.count(), 2);
        QCOMPARE(answer.at(0), signalArgs(SIMStatus::NotReady, Cellular::SIM::NoError));
        QCOMPARE(pinQuery.at(0),
            signalArgs(SIMSecurity::UnknownQuery, Cellular::SIM::SIMNotReady));

        for (int i = 0; i < changes.size(); i += 2)
            m_fake->change(FirstModem, changes.at(i).toString(), changes.at(i + 1));
        // Taken out last: every move in between shows in the list.
        m_fake->modems[0].second = { { "Present", false } };
        m_fake->change(FirstModem, "Present", false);
        QTRY_COMPARE(statuses(moves), QList<int>({ settled, SIMStatus::NoSIM }));
        QCOMPARE(m_log->warningLines(), QStringList());
    }

    void failedReadRecovers_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<bool>("signalled");
        QTest::newRow("on the next change") << 1 << true;
        QTest::newRow("by itself, after pauses") << 3 << false;
    }

    void failedReadRecovers()
    {
        QFETCH(int, failures);
        QFETCH(bool, signalled);
        m_fake->failingReads = failures;
        SIMStatus status;
        QSignalSpy answer(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        QSignalSpy moves(&status, SIGNAL(statusChanged(SIMStatus::Status)));
        status.status();
        QTRY_COMPARE(answer.count(), 1);
        QCOMPARE(answer.at(0),
            signalArgs(SIMStatus::UnknownStatus, Cellular::SIM::ServiceFailed));
        if (signalled)
            m_fake->change(FirstModem, "Retries", QVariant::fromValue(Retries { { "pin", 3 } }));
        QTRY_COMPARE(statuses(moves), QList<int>({ SIMStatus::PINRequired }));
        QCOMPARE(m_log->warningLines(),
            QStringList({ "SIM tracker: cannot read the SIM, trying again: GetProperties of "
                          "/first: org.ofono.Error.Failed \"Operation failed\"" }));
    }

    void badInput_data()
    {
        QTest::addColumn<QVariantMap>("properties");
        QTest::addColumn<SIMStatus::Status>("status");
        QTest::addColumn<Cellular::SIM::SIMError>("error");
        QTest::addColumn<QString>("warning");
        const QString failed
            = QStringLiteral("SIM tracker: cannot read the SIM, trying again: GetProperties of "
                             "/first: ");
        QTest::newRow("no Present") << QVariantMap { { "PinRequired", "none" } }
                                    << SIMStatus::UnknownStatus << Cellular::SIM::ServiceFailed
                                    << failed + "no Present";
        QTest::newRow("Present as text")
            << with(PinCard, "Present", "yes") << SIMStatus::UnknownStatus
            << Cellular::SIM::ServiceFailed
            << failed + "Present holds QString instead of a boolean";
        QTest::newRow("PinRequired as a number")
            << with(PinCard, "PinRequired", 4) << SIMStatus::UnknownStatus
            << Cellular::SIM::ServiceFailed
            << failed + "PinRequired holds int instead of a string";
        QTest::newRow("LockedPins as text")
            << with(PinCard, "LockedPins", "pin") << SIMStatus::UnknownStatus
            << Cellular::SIM::ServiceFailed
            << failed + "LockedPins holds QString instead of a list of strings";
        QTest::newRow("Retries as text")
            << with(PinCard, "Retries", QVariantMap { { "pin", "3" } })
            << SIMStatus::UnknownStatus << Cellular::SIM::ServiceFailed
            << failed + "Retries holds QVariantMap instead of counts by code type";
        QTest::newRow("unknown code")
            << with(PinCard, "PinRequired", "sim-exploded") << SIMStatus::Rejected
            << Cellular::SIM::NoError
            << QStringLiteral("SIM tracker: /first asks for an unknown code \"sim-exploded\"");
    }

    void badInput()
    {
        QFETCH(QVariantMap, properties);
        m_fake->modems = { { FirstModem, properties } };
        SIMStatus status;
        QSignalSpy answer(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        status.status();
        QTRY_COMPARE(answer.count(), 1);
        QTEST(answer.at(0).at(0).value<SIMStatus::Status>(), "status");
        QTEST(answer.at(0).at(1).value<Cellular::SIM::SIMError>(), "error");
        QFETCH(QString, warning);
        QCOMPARE(m_log->warningLines(), QStringList { warning });
    }

    // A change of the wrong type is not taken in: the card is read again,
    // and the status follows later changes.
    void badChange()
    {
        SIMStatus status;
        QSignalSpy answer(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        QSignalSpy moves(&status, SIGNAL(statusChanged(SIMStatus::Status)));
        status.status();
        QTRY_COMPARE(answer.count(), 1);
        m_fake->calls.clear();
        m_fake->change(FirstModem, "PinRequired", 4);
        QTRY_COMPARE(m_fake->calls, QStringList({ "GetProperties" }));
        m_fake->modems[0].second = { { "Present", false } };
        m_fake->change(FirstModem, "Present", false);
        QTRY_COMPARE(statuses(moves), QList<int>({ SIMStatus::NoSIM }));
        QCOMPARE(m_log->warningLines(),
            QStringList({ "SIM tracker: cannot read the SIM, trying again: PropertyChanged of "
                          "/first: PinRequired holds int instead of a string" }));
    }

    void otherModemIgnored()
    {
        m_fake->modems = { { FirstModem, ReadyCard }, { SecondModem, ReadyCard } };
        SIMStatus status;
        QSignalSpy answer(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        QSignalSpy moves(&status, SIGNAL(statusChanged(SIMStatus::Status)));
        status.status();
        QTRY_COMPARE(answer.count(), 1);
        m_fake->change(SecondModem, "PinRequired", "pin");
        m_fake->modems[0].second = { { "Present", false } };
        m_fake->change(FirstModem, "Present", false);
        QTRY_COMPARE(statuses(moves), QList<int>({ SIMStatus::NoSIM }));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TestSimClients clients;
    TestSimTracker tracker;
    const int failed = QTest::qExec(&clients, argc, argv);
    return failed + QTest::qExec(&tracker, argc, argv);
}

#include "tst_simclients.moc"
