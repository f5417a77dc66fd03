// The SIM page on the real telephony stack: the distribution's oFono daemon
// drives our simulated AT modem, on the test's private bus with the real host
// and plug-in, the mode-control daemon and the headless PIN query service
// (deciding about codes through the daemon). Skipped without the daemon.

#include "hostsession.h"
#include "pagerows.h"
#include "peerprocess.h"

#include <QTcpServer>
#include <QtDBus>
#include <QtTest>

using namespace PageRows;

namespace {
const QString Ofono = QStringLiteral("org.ofono");
// The daemon names the modem after its group in the configuration.
const QString ModemPath = QStringLiteral("/phonesim");
const QString Pin = QStringLiteral("1357");
const QString Puk = QStringLiteral("24681357");
const QString WrongPin = QStringLiteral("9999");
// Slow enough that the daemon's start-up window and the late attempt counts
// are seen, as with a real card; short enough for the suite.
const QString FileReadDelayMs = QStringLiteral("150");
const QString PinStatusDelayMs = QStringLiteral("500");
const int PageTimeoutMs = 20000;


QDBusMessage ofono(
    const QString &interface, const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        Ofono, ModemPath, QStringLiteral("org.ofono.") + interface, method);
    message.setArguments(arguments);
    return QDBusConnection::systemBus().call(message);
}

bool setPowered(bool powered)
{
    return PeerProcess::succeeded(ofono(QStringLiteral("Modem"), QStringLiteral("SetProperty"),
        { QStringLiteral("Powered"), QVariant::fromValue(QDBusVariant(powered)) }));
}

// A property of the SIM manager's reply, kept alive while nested values are read.
QVariant simProperty(const QDBusMessage &properties, const QString &name)
{
    return qdbus_cast<QVariantMap>(properties.arguments().value(0)).value(name);
}
} // namespace

class TestRealStack : public QObject
{
    Q_OBJECT

    // Puts a new card in the modem and powers it up: the daemon reads the card
    // from the start. Then opens a page.
    bool powerUpAndOpen(const QString &card, bool pinLock)
    {
        return setPowered(false) && atModem(QStringLiteral("SetCard"), { card, pinLock })
            && setPowered(true) && openPage();
    }

    bool atModem(const QString &method, const QVariantList &arguments = {})
    {
        return PeerProcess::succeeded(
            m_atModem.control(QStringLiteral("com.tavik.sim.AtModemControl"), method, arguments));
    }

    bool openPage()
    {
        m_host.reset(new HostSession);
        return m_host->open();
    }

    PeerProcess m_atModem { "at-modem-sim", "com.tavik.sim.AtModem", "com.tavik.sim.AtModem" };
    QProcess m_ofono;
    PeerProcess m_modeControl { PeerProcess::ModeControl };
    PeerProcess m_pinQuery { PeerProcess::PinQuery };
    QScopedPointer<HostSession> m_host;

private Q_SLOTS:
    void initTestCase()
    {
        // SIM_OFONOD names another daemon binary to use.
        const QString ofonod = qEnvironmentVariableIsSet("SIM_OFONOD")
            ? QStandardPaths::findExecutable(qEnvironmentVariable("SIM_OFONOD"), { "/" })
            : QStandardPaths::findExecutable("ofonod", { "/usr/sbin", "/usr/local/sbin", "/sbin" });
        if (ofonod.isEmpty()) {
            QSKIP(
                "no ofonod (Debian package \"ofono\", installed by scripts/setup) nor SIM_OFONOD");
        }
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const QString port = QString::number(probe.serverPort());
        probe.close();
        QVERIFY2(m_atModem.start({ "--port", port, "--card", "pin", "--pin", Pin, "--puk", Puk,
                     "--read-delay-ms", FileReadDelayMs, "--pin-status-delay-ms", PinStatusDelayMs,
                     // The daemon's driver waits for the card to report itself
                     // ready after a code; re-inserting it is how this modem does that.
                     "--restart-after-code" }),
            qPrintable(m_atModem.lastError()));

        // The daemon's log, with its AT conversation, for a failing run.
        const QDir build(qEnvironmentVariable("SIM_BUILD_DIR"));
        QVERIFY(build.mkpath("Testing"));
        QFile config(build.filePath("Testing/realstack-modem.conf"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(
            "[phonesim]\nDriver=phonesim\nAddress=127.0.0.1\nPort=" + port.toLatin1() + '\n');
        config.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("OFONO_PHONESIM_CONFIG"), config.fileName());
        environment.insert(QStringLiteral("OFONO_AT_DEBUG"), QStringLiteral("1"));
        m_ofono.setProcessEnvironment(environment);
        m_ofono.setStandardOutputFile(build.filePath("Testing/realstack-ofonod.log"));
        m_ofono.setProcessChannelMode(QProcess::MergedChannels);
        m_ofono.start(ofonod, { "--nodetach", "--debug" });
        const auto settled = [this] {
            return QDBusConnection::systemBus().interface()->isServiceRegistered(Ofono)
                || m_ofono.state() == QProcess::NotRunning;
        };
        QVERIFY2(m_ofono.waitForStarted() && QTest::qWaitFor(settled, PeerProcess::DefaultTimeoutMs)
                && m_ofono.state() == QProcess::Running,
            "ofonod did not start; see Testing/realstack-ofonod.log in the build folder");
        QVERIFY2(m_modeControl.start(), qPrintable(m_modeControl.lastError()));
    }

    void cleanupTestCase()
    {
        m_ofono.terminate();
        m_ofono.waitForFinished(PeerProcess::DefaultTimeoutMs);
    }

    // A fresh service for each test, which finds the daemon's modem anew.
    void init() { QVERIFY(m_pinQuery.start({ "--headless", "--backend", "modem" })); }
    void cleanup() { m_host.reset(); }

    void powerUpOfPinCardNeverShowsTheSwitch()
    {
        QVERIFY(setPowered(false));
        QVERIFY(openPage());
        QVERIFY(m_host->shows(NoSim));
        QVERIFY(atModem(QStringLiteral("SetCard"), { QStringLiteral("pin"), true }));
        QVERIFY(setPowered(true));
        // While the daemon reads the card it reports it present with no PIN
        // asked for; the page must not take that for a ready card.
        QStringList shown;
        int inWindow = 0;
        QVERIFY(QTest::qWaitFor(
            [&] {
                const QDBusMessage sim = ofono(QStringLiteral("SimManager"), "GetProperties");
                if (simProperty(sim, QStringLiteral("Present")).toBool()
                    && simProperty(sim, QStringLiteral("PinRequired")).toString() == "none") {
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
        QVERIFY2(!shown.join(" ").contains("SimPinRequestItem"), qPrintable(shown.join(" | ")));
    }

    void wrongPinAsksAgainWithTheAttemptsLeft()
    {
        QVERIFY(powerUpAndOpen(QStringLiteral("pin"), true));
        QVERIFY(m_host->shows(Activate));
        // The dialogue opens before the attempt counts are known: they come
        // one card answer after the PIN state.
        const auto pinQuery = [this](const QString &method, const QVariantList &arguments = {}) {
            return m_pinQuery.control(PeerProcess::PinQueryControlInterface, method, arguments);
        };
        QVERIFY(PeerProcess::succeeded(pinQuery("EnterCode", { WrongPin })));
        QVERIFY(m_host->ok(QStringLiteral("tap ") + Activate));
        // The daemon refuses the code at once and tells the attempts left
        // only after asking the card again.
        QTRY_COMPARE_WITH_TIMEOUT(pinQuery("PendingQuestion").arguments().value(0),
            QVariant("pin, 2 attempts left, after a wrong code"), PageTimeoutMs);
        // The counts are bytes by name.
        const QDBusMessage sim = ofono(QStringLiteral("SimManager"), "GetProperties");
        const auto retries = qdbus_cast<QMap<QString, uchar>>(simProperty(sim, "Retries"));
        QCOMPARE(int(retries.value(QStringLiteral("pin"))), 2);
        QVERIFY(PeerProcess::succeeded(pinQuery("EnterCode", { Pin })));
        QVERIFY(m_host->shows(Normal));
    }

    void readyCardFollowsOtherPrograms_data()
    {
        QTest::addColumn<QStringList>("steps");
        // What the page shows after each step.
        QTest::addColumn<QStringList>("expected");

        // Another program locks and unlocks the card; each new page shows it.
        QTest::newRow("PIN locked and unlocked")
            << QStringList { "LockPin", "UnlockPin" } << QStringList { Normal, RequestOff };
        // The daemon takes the SIM manager away with the power.
        QTest::newRow("modem powered off") << QStringList { "power off" } << QStringList { NoSim };
        QTest::newRow("card taken out") << QStringList { "Remove" } << QStringList { NoSim };
    }

    void readyCardFollowsOtherPrograms()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        // A card whose lock is on would show the switch off here too: at
        // power-up this daemon's AT driver does not ask the card for its lock.
        QVERIFY(powerUpAndOpen(QStringLiteral("ready"), false));
        QVERIFY(m_host->shows(RequestOff));
        for (int i = 0; i < steps.size(); ++i) {
            const QString &step = steps.at(i);
            if (step.endsWith(QLatin1String("Pin"))) {
                QVERIFY(PeerProcess::succeeded(
                    ofono(QStringLiteral("SimManager"), step, { QStringLiteral("pin"), Pin })));
                QVERIFY(openPage());
            } else {
                QVERIFY(step == QLatin1String("power off") ? setPowered(false) : atModem(step));
            }
            QVERIFY(m_host->shows(expected.at(i)));
        }
    }
};

QTEST_GUILESS_MAIN(TestRealStack)
#include "tst_realstack.moc"
