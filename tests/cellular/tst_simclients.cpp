#include "logcapture.h"
#include "peerprocess.h"
#include "simlock.h"
#include "simsecurity.h"
#include "simstatus.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
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

    LogCapture m_log;
    PeerProcess m_modem;

private Q_SLOTS:
    void initTestCase()
    {
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
            QVariantList({ SIMStatus::UnknownStatus, Cellular::SIM::ServiceUnavailable }));
        QCOMPARE(securitySpy.at(0),
            QVariantList({ SIMSecurity::UnknownQuery, Cellular::SIM::ServiceUnavailable }));
        QCOMPARE(lockSpy.at(0),
            QVariantList({ SIMLock::SIMLockStatusUnknown, SIMLock::ServiceUnavailable }));

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

    void faultyService()
    {
        QFETCH(QString, method);
        QFETCH(QString, fault);
        QVERIFY(m_modem.setFault(method, fault));
        SIMStatus status;
        QSignalSpy spy(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
        status.status();
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(
            spy.at(0), QVariantList({ SIMStatus::UnknownStatus, Cellular::SIM::ServiceFailed }));
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
        for (const LogCapture::Line &line : m_log.lines())
            replies << line.text;
        for (const QString &code : Codes) {
            QVERIFY2(!output.contains(code), qPrintable(output));
            for (const QString &text : replies)
                QVERIFY2(!text.contains(code), qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestSimClients)
#include "tst_simclients.moc"
