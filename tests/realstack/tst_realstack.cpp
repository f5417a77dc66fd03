// The SIM page on the real telephony stack: the distribution's oFono daemon
// drives our simulated AT modem, and the real settings host with the real
// plug-in, the mode-control daemon and the headless PIN query service (which
// decides about codes through the daemon) run on the test's private bus.
// Skipped when the daemon is not installed.

#include "hostsession.h"
#include "peerprocess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString Ofono = QStringLiteral("org.ofono");
// The daemon names the modem after its group in the configuration.
const QString ModemPath = QStringLiteral("/phonesim");
const QString AtModemName = QStringLiteral("com.tavik.sim.AtModem");
const QString PinQueryName = QStringLiteral("com.tavik.ronwe.pin");
const QString Pin = QStringLiteral("1357");
const QString Puk = QStringLiteral("24681357");
const QString WrongPin = QStringLiteral("9999");
// Slow enough that the daemon's start-up window and the late attempt counts
// are seen, as with a real card; short enough for the suite.
const QString FileReadDelayMs = QStringLiteral("150");
const QString PinStatusDelayMs = QStringLiteral("500");
const int PageTimeoutMs = 20000;

const QString Normal = QStringLiteral("SimPinRequestItem:on SimPinChangeItem");
const QString RequestOff = QStringLiteral("SimPinRequestItem:off");
const QString Activate = QStringLiteral("SimActivateSimItem");
const QString NoSim = QStringLiteral("SimErrorItem:qtn_cell_sim_not_available");

QDBusMessage call(const QString &service, const QString &path, const QString &interface,
    const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::systemBus().call(message);
}

QVariantMap simProperties()
{
    const QDBusMessage reply
        = call(Ofono, ModemPath, QStringLiteral("org.ofono.SimManager"), "GetProperties");
    return qdbus_cast<QVariantMap>(reply.arguments().value(0));
}

int pinAttempts()
{
    const QDBusMessage reply
        = call(Ofono, ModemPath, QStringLiteral("org.ofono.SimManager"), "GetProperties");
    // The counts are bytes by name, read while the reply is alive.
    const auto retries = qdbus_cast<QMap<QString, uchar>>(
        qdbus_cast<QVariantMap>(reply.arguments().value(0)).value(QStringLiteral("Retries")));
    return retries.contains(QStringLiteral("pin")) ? retries.value(QStringLiteral("pin")) : -1;
}

bool nameOnBus(const QString &name)
{
    return QDBusConnection::systemBus().interface()->isServiceRegistered(name);
}
} // namespace

// A program of the stack as a child process, its standard output kept as
// lines or written to a log file.
class StackProcess
{
public:
    ~StackProcess()
    {
        if (m_process.state() == QProcess::NotRunning) {
            return;
        }
        m_process.terminate();
        if (!m_process.waitForFinished(PeerProcess::DefaultTimeoutMs)) {
            m_process.kill();
            m_process.waitForFinished();
        }
        // The next one of its kind must not find the old one's name.
        if (!QTest::qWaitFor(
                [this] { return !nameOnBus(m_busName); }, PeerProcess::DefaultTimeoutMs)) {
            qWarning() << m_busName << "stayed on the bus";
        }
    }

    bool start(const QString &program, const QStringList &arguments, const QString &busName,
        const QString &logFile = QString(), const QProcessEnvironment &environment = {})
    {
        m_busName = busName;
        if (!logFile.isEmpty()) {
            m_process.setStandardOutputFile(logFile);
            m_process.setStandardErrorFile(logFile, QIODevice::Append);
        } else {
            m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
                while (m_process.canReadLine()) {
                    m_lines.append(QString::fromUtf8(m_process.readLine()).trimmed());
                }
            });
        }
        if (!environment.isEmpty()) {
            m_process.setProcessEnvironment(environment);
        }
        m_process.start(program, arguments);
        return m_process.waitForStarted()
            && QTest::qWaitFor(
                [&] { return nameOnBus(busName) || m_process.state() == QProcess::NotRunning; },
                PeerProcess::DefaultTimeoutMs)
            && m_process.state() == QProcess::Running;
    }

    QStringList lines() const { return m_lines; }
    bool waitForLine(const QString &line, int timeoutMs)
    {
        return QTest::qWaitFor([&] { return m_lines.contains(line); }, timeoutMs);
    }

private:
    QProcess m_process;
    QString m_busName;
    QStringList m_lines;
};

class TestRealStack : public QObject
{
    Q_OBJECT

private:
    static QString program(const QString &name)
    {
        return QDir(qEnvironmentVariable("SIM_BUILD_DIR")).filePath(QStringLiteral("bin/") + name);
    }

    static bool setPowered(bool powered)
    {
        return PeerProcess::succeeded(
            call(Ofono, ModemPath, QStringLiteral("org.ofono.Modem"), QStringLiteral("SetProperty"),
                { QStringLiteral("Powered"), QVariant::fromValue(QDBusVariant(powered)) }));
    }

    static bool atModem(const QString &method, const QVariantList &arguments = {})
    {
        return PeerProcess::succeeded(call(AtModemName, QStringLiteral("/control"),
            QStringLiteral("com.tavik.sim.AtModemControl"), method, arguments));
    }

    // Puts a new card in the modem and powers it up: the daemon reads the
    // card from the start.
    static bool powerUp(const QString &card, bool pinLock)
    {
        return setPowered(false) && atModem(QStringLiteral("SetCard"), { card, pinLock })
            && setPowered(true);
    }

    static bool simCall(const QString &method, const QVariantList &arguments)
    {
        return PeerProcess::succeeded(
            call(Ofono, ModemPath, QStringLiteral("org.ofono.SimManager"), method, arguments));
    }

    bool openPage()
    {
        m_host.reset(new HostSession);
        const bool opened = m_host->open();
        if (!opened) {
            qWarning().noquote() << m_host->lines().join(QLatin1Char('\n'));
        }
        return opened;
    }

    QTemporaryDir m_dir;
    PeerProcess m_modeControl { PeerProcess::ModeControl };
    StackProcess m_atModem;
    StackProcess m_ofono;
    QScopedPointer<StackProcess> m_pinQuery;
    QScopedPointer<HostSession> m_host;

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void powerUpOfPinCardNeverShowsTheSwitch();
    void wrongPinAsksAgainWithTheAttemptsLeft();
    void readyCardShowsThePinRequest();
    void modemGoneShowsNoSim_data();
    void modemGoneShowsNoSim();
};

void TestRealStack::initTestCase()
{
    // SIM_OFONOD names another daemon binary to use.
    const QString ofonod = qEnvironmentVariableIsSet("SIM_OFONOD")
        ? QStandardPaths::findExecutable(
            qEnvironmentVariable("SIM_OFONOD"), { QStringLiteral("/") })
        : QStandardPaths::findExecutable(QStringLiteral("ofonod"),
            { QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"),
                QStringLiteral("/sbin") });
    if (ofonod.isEmpty()) {
        QSKIP("no ofonod to run (Debian package \"ofono\", which scripts/setup installs, or "
              "SIM_OFONOD)");
    }
    QVERIFY(m_dir.isValid());
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    // Logs for a failing run: the daemon's with its AT conversation, and the
    // modem's own view of it.
    const QString logs = QDir(qEnvironmentVariable("SIM_BUILD_DIR")).filePath("Testing");
    QDir().mkpath(logs);
    QVERIFY(m_atModem.start(program(QStringLiteral("at-modem-sim")),
        { "--port", QString::number(port), "--card", "pin", "--pin", Pin, "--puk", Puk,
            "--read-delay-ms", FileReadDelayMs, "--pin-status-delay-ms", PinStatusDelayMs,
            // The daemon's driver waits for the card to report itself
            // ready after a code; re-inserting it is how this modem does that.
            "--restart-after-code", "--verbose" },
        AtModemName, logs + QStringLiteral("/realstack-at-modem.log")));

    QFile config(m_dir.filePath(QStringLiteral("modem.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("[phonesim]\nDriver=phonesim\nAddress=127.0.0.1\nPort=%1\n")
                     .arg(port)
                     .toLatin1());
    config.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OFONO_PHONESIM_CONFIG"), config.fileName());
    environment.insert(QStringLiteral("OFONO_AT_DEBUG"), QStringLiteral("1"));
    QVERIFY2(m_ofono.start(ofonod, { "--nodetach", "--debug" }, Ofono,
                 logs + QStringLiteral("/realstack-ofonod.log"), environment),
        "ofonod did not start; see Testing/realstack-ofonod.log in the build folder");
    QVERIFY2(m_modeControl.start(), qPrintable(m_modeControl.lastError()));
}

void TestRealStack::init()
{
    m_pinQuery.reset(new StackProcess);
    QVERIFY(m_pinQuery->start(program(QStringLiteral("pin-query-service")),
        { "--headless", "--backend", "modem" }, PinQueryName));
}

void TestRealStack::cleanup()
{
    m_host.reset();
    m_pinQuery.reset();
}

void TestRealStack::powerUpOfPinCardNeverShowsTheSwitch()
{
    QVERIFY(setPowered(false));
    QVERIFY(openPage());
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), NoSim, PageTimeoutMs);
    QVERIFY(atModem(QStringLiteral("SetCard"), { QStringLiteral("pin"), true }));
    QVERIFY(setPowered(true));
    // While the daemon reads the card it reports it present with no PIN
    // asked for; the page must not take that for a ready card.
    QStringList shown;
    int inWindow = 0;
    QVERIFY(QTest::qWaitFor(
        [&] {
            const QVariantMap sim = simProperties();
            if (sim.value(QStringLiteral("Present")).toBool()
                && sim.value(QStringLiteral("PinRequired")).toString() == QLatin1String("none")) {
                ++inWindow;
            }
            const QString rows = m_host->rows();
            if (shown.isEmpty() || shown.last() != rows) {
                shown.append(rows);
            }
            return rows == Activate;
        },
        PageTimeoutMs));
    QVERIFY2(inWindow > 0, "the daemon's start-up window was not seen");
    for (const QString &rows : shown) {
        QVERIFY2(!rows.contains(QLatin1String("SimPinRequestItem")), qPrintable(shown.join(" | ")));
    }
}

void TestRealStack::wrongPinAsksAgainWithTheAttemptsLeft()
{
    QVERIFY(powerUp(QStringLiteral("pin"), true));
    QVERIFY(openPage());
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), Activate, PageTimeoutMs);
    // The dialogue opens before the attempt counts are known: they come one
    // card answer after the PIN state.
    const auto enter = [](const QString &code) {
        return PeerProcess::succeeded(
            call(QStringLiteral("com.tavik.sim.PinQuery"), QStringLiteral("/control"),
                PeerProcess::PinQueryControlInterface, QStringLiteral("EnterCode"), { code }));
    };
    QVERIFY(enter(WrongPin));
    QVERIFY(m_host->ok(QStringLiteral("tap ") + Activate));
    // The daemon refuses the code at once and tells the attempts left only
    // after asking the card again.
    QVERIFY2(
        m_pinQuery->waitForLine(
            QStringLiteral(
                "pin-query-service: waiting for the pin (attempts left: 2), after a wrong code"),
            PageTimeoutMs),
        qPrintable(m_pinQuery->lines().join(QLatin1String(" | "))));
    QCOMPARE(pinAttempts(), 2);
    QVERIFY(enter(Pin));
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), Normal, PageTimeoutMs);
}

void TestRealStack::readyCardShowsThePinRequest()
{
    // A card whose lock is on would show the switch off here too: at
    // power-up this daemon's AT driver does not ask the card for its lock.
    QVERIFY(powerUp(QStringLiteral("ready"), false));
    QVERIFY(openPage());
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), RequestOff, PageTimeoutMs);
    // Another program locks and unlocks the card; each new page shows it.
    const QList<QPair<QString, QString>> steps { { "LockPin", Normal },
        { "UnlockPin", RequestOff } };
    for (const auto &step : steps) {
        QVERIFY2(simCall(step.first, { QStringLiteral("pin"), Pin }), qPrintable(step.first));
        QVERIFY(openPage());
        QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), step.second, PageTimeoutMs);
    }
}

void TestRealStack::modemGoneShowsNoSim_data()
{
    QTest::addColumn<QString>("how");
    // The daemon takes the SIM manager away with the power.
    QTest::newRow("modem powered off") << "power";
    QTest::newRow("card taken out") << "Remove";
}

void TestRealStack::modemGoneShowsNoSim()
{
    QFETCH(QString, how);
    QVERIFY(powerUp(QStringLiteral("ready"), false));
    QVERIFY(openPage());
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), RequestOff, PageTimeoutMs);
    QVERIFY(how == QLatin1String("power") ? setPowered(false) : atModem(how));
    QTRY_COMPARE_WITH_TIMEOUT(m_host->rows(), NoSim, PageTimeoutMs);
}

QTEST_GUILESS_MAIN(TestRealStack)
#include "tst_realstack.moc"
