#include "logcapture.h"
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

#include <climits>
#include <memory>

using Cellular::SIM::SIMSecurity;
using Cellular::SIM::SIMStatus;
using simlock::SIMLock;

namespace {

const QString Pin = QStringLiteral("2468");
const QString Puk = QStringLiteral("13572468");
const QString UnlockCode = QStringLiteral("9081726354");
const QString WrongPin = QStringLiteral("0000");
// Long enough for a stray second answer to arrive over the private bus.
const int NoMoreMs = 100;

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

} // namespace

Q_DECLARE_METATYPE(FakeModem)

namespace {

const QString FakeBus = QStringLiteral("fake telephony service");
const QString FirstModem = QStringLiteral("/first");
const QString SecondModem = QStringLiteral("/second");
const QString Retrying = QStringLiteral("SIM tracker: cannot read the SIM, trying again: ");
const QString ReadFailed = Retrying + "GetProperties of /first: ";

// What the real service shows of a card from the moment its SIM manager
// appears until it has read the card.
const QVariantMap StartingCard { { "Present", true }, { "PinRequired", "none" },
    { "LockedPins", QStringList() }, { "Retries", QVariantMap() } };

QVariantMap with(QVariantMap properties, const QString &name, const QVariant &value)
{
    properties.insert(name, value);
    return properties;
}

const QVariantMap ReadyCard = with(StartingCard, "SubscriberIdentity", "001010123456789");
const QVariantMap PinCard
    = with(with(StartingCard, "PinRequired", "pin"), "LockedPins", QStringList { "pin" });

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
    }

    ~FakeOfono() override { QDBusConnection::disconnectFromBus(FakeBus); }

    bool start()
    {
        return m_bus.registerVirtualObject("/", this, QDBusConnection::SubPath)
            && m_bus.registerService("org.ofono");
    }

    bool leave() { return m_bus.unregisterService("org.ofono"); }

    // The modems in the order GetModems lists them, each with a SIM manager.
    QList<QPair<QString, QVariantMap>> modems;
    // The next calls of this method get the service's error ("error") or an
    // answer of the wrong type ("wrongtype").
    QString faultyMethod;
    QString fault;
    int faultsLeft = 0;
    // The members of the calls received.
    QStringList calls;

    void emitSignal(const QString &path, const QString &interface, const QString &name,
        const QVariantList &arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(arguments);
        m_bus.send(signal);
    }

    // Sends a change without making it: reads still answer from modems.
    void change(const QString &path, const QString &name, const QVariant &value)
    {
        emitSignal(path, "org.ofono.SimManager", "PropertyChanged",
            { name, QVariant::fromValue(QDBusVariant(value)) });
    }

    void takeCardOut()
    {
        modems[0].second = { { "Present", false } };
        change(modems[0].first, "Present", false);
    }

    QString introspect(const QString &) const override { return QString(); }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        calls << message.member();
        if (faultsLeft > 0 && message.member() == faultyMethod) {
            --faultsLeft;
            if (fault == "error")
                return connection.send(
                    message.createErrorReply("org.ofono.Error.Failed", "Operation failed"));
            return connection.send(message.createReply(QString("wrong")));
        }
        if (message.member() == "GetModems") {
            QList<FakeModem> list;
            for (const auto &modem : qAsConst(modems))
                list << FakeModem { QDBusObjectPath(modem.first),
                    { { "Interfaces", QStringList { "org.ofono.SimManager" } } } };
            return connection.send(message.createReply(QVariant::fromValue(list)));
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

// A status client that has asked once, and the changes it reports.
struct Watched
{
    Watched() { status.status(); }

    SIMStatus status;
    QSignalSpy answer { &status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)) };
    QSignalSpy moves { &status, SIGNAL(statusChanged(SIMStatus::Status)) };
};

} // namespace

// The three libraries and the tracker they share, against a service played by
// the test: the reads a page costs, the card's start-up window, failed reads
// and answers a service should never give; last, the simulated modem's care
// with codes.
class TestSimClients : public QObject
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
        m_fake->faultsLeft = 0;
        m_fake->calls.clear();
        m_log->clear();
    }

    // One read for all three libraries, each query answered once and never
    // inside the call, while the first read runs and after; one more read
    // for a new card, and no watcher of a finished call left behind.
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
        const auto askAll = [&] {
            status.status();
            security.pinQueryState(SIMSecurity::PIN);
            lock.simLockStatus();
        };
        const auto answers
            = [&] { return statusSpy.count() + securitySpy.count() + lockSpy.count(); };
        askAll();
        askAll();
        QCOMPARE(answers(), 0);
        QTRY_COMPARE(answers(), 6);
        QCOMPARE(statusSpy.at(1), signalArgs(SIMStatus::PINRequired, Cellular::SIM::NoError));
        QCOMPARE(securitySpy.at(1), signalArgs(SIMSecurity::Enabled, Cellular::SIM::NoError));
        QCOMPARE(lockSpy.at(1), signalArgs(SIMLock::SIMLockNotActive, SIMLock::NoError));
        askAll();
        QCOMPARE(answers(), 6);
        QTRY_COMPARE(answers(), 9);
        QTest::qWait(NoMoreMs); // proving that no further answer comes
        QCOMPARE(answers(), 9);
        QCOMPARE(m_fake->calls, QStringList({ "GetModems", "GetProperties" }));

        m_fake->calls.clear();
        m_fake->takeCardOut();
        QTRY_COMPARE(statuses(changes), QList<int>({ SIMStatus::NoSIM }));
        QCOMPARE(m_fake->calls, QStringList({ "GetProperties" }));
        const auto tracker = OfonoSim::SimTracker::shared();
        QTRY_VERIFY(tracker->findChildren<QDBusPendingCallWatcher *>().isEmpty());
    }

    // Card removal and insertion are followed end to end; here the modem
    // itself goes and comes back.
    void modemGoneAndBack()
    {
        Watched watched;
        QTRY_COMPARE(watched.answer.count(), 1);
        const auto modems = std::exchange(m_fake->modems, {});
        const QVariant path = QVariant::fromValue(QDBusObjectPath(FirstModem));
        m_fake->emitSignal("/", "org.ofono.Manager", "ModemRemoved", { path });
        QTRY_COMPARE(statuses(watched.moves), QList<int>({ SIMStatus::NoSIM }));
        m_fake->modems = modems;
        m_fake->emitSignal("/", "org.ofono.Manager", "ModemAdded", { path, QVariantMap() });
        QTRY_COMPARE(
            statuses(watched.moves), QList<int>({ SIMStatus::NoSIM, SIMStatus::PINRequired }));
    }

    // Until the service has read the card, "none" means nothing yet: the card
    // is not ready, and it moves once, straight to its real state, when the
    // service has read it.
    void powerUp()
    {
        m_fake->modems = { { FirstModem, StartingCard } };
        Watched watched;
        QTRY_COMPARE(watched.answer.count(), 1);
        QCOMPARE(watched.answer.at(0), signalArgs(SIMStatus::NotReady, Cellular::SIM::NoError));
        // The order the real service signals them in.
        m_fake->change(FirstModem, "Retries", QVariantMap { { "pin", 3 } });
        m_fake->change(FirstModem, "SubscriberIdentity", "001010123456789");
        // Taken out last: every move in between shows in the list.
        m_fake->takeCardOut();
        QTRY_COMPARE(statuses(watched.moves), QList<int>({ SIMStatus::Ok, SIMStatus::NoSIM }));
        QCOMPARE(m_log->warningLines(), QStringList());
    }

    void badAnswers_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QVariantMap>("properties");
        QTest::addColumn<SIMStatus::Status>("status");
        QTest::addColumn<QString>("warning");
        const auto row = [](const char *name, const char *method, const char *fault,
                             const QVariantMap &properties, const QString &warning,
                             SIMStatus::Status status = SIMStatus::UnknownStatus) {
            QTest::newRow(name) << method << fault << properties << status << warning;
        };
        row("modem list fails", "GetModems", "error", PinCard,
            Retrying + "GetModems: org.ofono.Error.Failed \"Operation failed\"");
        row("modem list of the wrong type", "GetModems", "wrongtype", PinCard,
            Retrying + "GetModems answered \"s\"");
        row("properties fail", "GetProperties", "error", PinCard,
            ReadFailed + "org.ofono.Error.Failed \"Operation failed\"");
        row("properties of the wrong type", "GetProperties", "wrongtype", PinCard,
            Retrying + "GetProperties of /first answered \"s\"");
        row("no Present", "", "", { { "PinRequired", "none" } }, ReadFailed + "no Present");
        row("Present as text", "", "", with(PinCard, "Present", "yes"),
            ReadFailed + "Present holds QString instead of a boolean");
        row("LockedPins as text", "", "", with(PinCard, "LockedPins", "pin"),
            ReadFailed + "LockedPins holds QString instead of a list of strings");
        row("Retries as text", "", "", with(PinCard, "Retries", QVariantMap { { "pin", "3" } }),
            ReadFailed + "Retries holds QVariantMap instead of counts by code type");
        // The card's refusal, not a failed read.
        row("unknown code", "", "", with(PinCard, "PinRequired", "sim-exploded"),
            "SIM tracker: /first asks for an unknown code \"sim-exploded\"", SIMStatus::Rejected);
    }

    // A failed read is answered and warned of once, however often it is
    // tried again, after pauses, until it succeeds.
    void badAnswers()
    {
        QFETCH(QString, method);
        QFETCH(QString, fault);
        QFETCH(QVariantMap, properties);
        QFETCH(SIMStatus::Status, status);
        m_fake->modems = { { FirstModem, properties } };
        m_fake->faultyMethod = method;
        m_fake->fault = fault;
        m_fake->faultsLeft = INT_MAX;
        Watched watched;
        QTRY_COMPARE(watched.answer.count(), 1);
        const bool failed = status == SIMStatus::UnknownStatus;
        QCOMPARE(watched.answer.at(0),
            signalArgs(status, failed ? Cellular::SIM::ServiceFailed : Cellular::SIM::NoError));
        if (failed) {
            QTRY_VERIFY(m_fake->calls.count(method.isEmpty() ? "GetProperties" : method) >= 2);
            m_fake->faultsLeft = 0;
            m_fake->modems = { { FirstModem, PinCard } };
            QTRY_COMPARE(statuses(watched.moves), QList<int>({ SIMStatus::PINRequired }));
        }
        QFETCH(QString, warning);
        QCOMPARE(m_log->warningLines(), QStringList { warning });
    }

    // Changes not taken in: one from another modem is ignored, one of the
    // wrong type makes the card read again; the status follows later changes.
    void changesNotTakenIn()
    {
        m_fake->modems = { { FirstModem, ReadyCard }, { SecondModem, ReadyCard } };
        Watched watched;
        QTRY_COMPARE(watched.answer.count(), 1);
        m_fake->calls.clear();
        m_fake->change(SecondModem, "PinRequired", "pin");
        m_fake->change(FirstModem, "PinRequired", 4);
        QTRY_COMPARE(m_fake->calls, QStringList({ "GetProperties" }));
        m_fake->takeCardOut();
        QTRY_COMPARE(statuses(watched.moves), QList<int>({ SIMStatus::NoSIM }));
        QCOMPARE(m_log->warningLines(),
            QStringList({ Retrying
                + "PropertyChanged of /first: PinRequired holds int instead of a string" }));
    }

    // The simulated modem, run last in place of the fake: no code shows in
    // its output or in its error replies.
    void codesNeverAppear()
    {
        QVERIFY(m_fake->leave());
        QProcess modem;
        modem.setProcessChannelMode(QProcess::MergedChannels);
        QDBusServiceWatcher watcher(
            "org.ofono", QDBusConnection::systemBus(), QDBusServiceWatcher::WatchForRegistration);
        QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
        modem.start(qEnvironmentVariable("SIM_BUILD_DIR") + "/bin/modem-sim",
            { "--pin", Pin, "--puk", Puk, "--unlock-code", UnlockCode, "--sim-locked" });
        QVERIFY(registered.wait());

        const QList<QPair<QString, QVariantList>> calls { { "EnterPin", { "pin", WrongPin } },
            { "EnterPin", { "pin", Pin } }, { "EnterPin", { "network", UnlockCode } },
            { "ResetPin", { "puk", Puk, Pin } } };
        QStringList texts;
        for (const auto &sent : calls) {
            QDBusMessage call = QDBusMessage::createMethodCall(
                "org.ofono", "/sim_0", "org.ofono.SimManager", sent.first);
            call.setArguments(sent.second);
            texts << QDBusConnection::systemBus().call(call).errorMessage();
        }
        QVERIFY2(!texts.first().isEmpty(), "the wrong PIN was taken");
        modem.terminate();
        QVERIFY(modem.waitForFinished());
        texts << QString::fromUtf8(modem.readAll());
        for (const QString &code : { Pin, Puk, UnlockCode, WrongPin }) {
            for (const QString &text : qAsConst(texts))
                QVERIFY2(!text.contains(code), qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestSimClients)
#include "tst_simclients.moc"
