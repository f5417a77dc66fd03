#include "peerprocess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

// The deployment policies on a bus of their own, configured like a real
// system bus (everything denied unless allowed) plus our two policy files:
// only root may own the peers' names, anyone may call their public methods,
// and their control interfaces stay root's.
class TestBusPolicy : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_address;
    QProcess m_daemon;
    QProcess m_pin;

    // dbus-send on our bus, as root or as nobody; its output when it fails.
    bool send(bool asNobody, const QStringList &arguments, QString *output)
    {
        const QStringList nobody { "setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
            "--" };
        QStringList command = (asNobody ? nobody : QStringList())
            + QStringList { "dbus-send", "--bus=" + m_address, "--print-reply" } + arguments;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(command.takeFirst(), command);
        process.waitForFinished(PeerProcess::DefaultTimeoutMs);
        *output = QString::fromLocal8Bit(process.readAll());
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // Starts a reference peer on our bus as root and waits for its name.
    bool startPeer(QProcess &process, const QString &program, const QString &name,
        const QStringList &arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(
            QDir(qEnvironmentVariable("SIM_BUILD_DIR")).filePath("bin/" + program), arguments);
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("policy"));
        return QTest::qWaitFor([&] { return bus.interface()->isServiceRegistered(name).value(); },
            PeerProcess::DefaultTimeoutMs);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("dbus-send")).isEmpty()) {
            QSKIP("needs root (the claimants run as nobody), setpriv and dbus-send");
        }
        QVERIFY(m_dir.isValid());
        // nobody must reach the socket in there; the bus opens the socket
        // itself to everyone.
        QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755) == 0);
        // The configuration includes the policy files by paths relative to itself.
        m_bus.start(QStringLiteral("dbus-daemon"),
            { "--nofork", "--nopidfile", "--print-address=1",
                "--config-file=" + qEnvironmentVariable("SIM_SOURCE_DIR")
                    + "/tests/dbuspeers/policytestbus.conf",
                "--address=unix:path=" + m_dir.filePath(QStringLiteral("bus")) });
        while (!m_bus.canReadLine()) {
            QVERIFY2(m_bus.waitForReadyRead(PeerProcess::DefaultTimeoutMs),
                qPrintable(m_bus.readAllStandardError()));
        }
        m_address = QString::fromLocal8Bit(m_bus.readLine()).trimmed();

        QVERIFY(startPeer(m_daemon, QStringLiteral("mode-control-daemon"), "com.tavik.oxa"));
        QVERIFY(startPeer(m_pin, QStringLiteral("pin-query-service"), "com.tavik.ronwe.pin",
            { QStringLiteral("--headless") }));
    }

    // Root may do everything here, so a denial to nobody is the policy's.
    void nobodyMay_data()
    {
        QTest::addColumn<QStringList>("call");
        QTest::addColumn<bool>("allowed");
        // The running peers hold the names; root may still queue for them.
        for (const char *name : { "com.tavik.oxa", "com.tavik.sim.ModeControl",
                 "com.tavik.ronwe.pin", "com.tavik.sim.PinQuery" }) {
            QTest::addRow("own %s", name) << QStringList { "--dest=org.freedesktop.DBus",
                "/org/freedesktop/DBus", "org.freedesktop.DBus.RequestName",
                QStringLiteral("string:") + name, "uint32:0" }
                                          << false;
        }
        QTest::newRow("get_radio_states") << QStringList { "--dest=com.tavik.oxa",
            "/com/tavik/oxa/request", "com.tavik.oxa.request.get_radio_states" }
                                          << true;
        QTest::newRow("Introspect") << QStringList { "--dest=com.tavik.ronwe.pin",
            "/com/tavik/ronwe/pin", "org.freedesktop.DBus.Introspectable.Introspect" }
                                    << true;
        QTest::newRow("EnablePinQuery") << QStringList { "--dest=com.tavik.ronwe.pin",
            "/com/tavik/ronwe/pin", "com.tavik.ronwe.pin.PinCodeQuery.EnablePinQuery",
            "boolean:true" } << true;
        QTest::newRow("mode control reset through the public name")
            << QStringList { "--dest=com.tavik.oxa", "/control", "com.tavik.sim.PeerControl.Reset" }
            << false;
        QTest::newRow("mode control reset through the control name") << QStringList {
            "--dest=com.tavik.sim.ModeControl", "/control", "com.tavik.sim.PeerControl.Reset"
        } << false;
        QTest::newRow("PIN service code entry") << QStringList { "--dest=com.tavik.sim.PinQuery",
            "/control", "com.tavik.sim.PinQueryControl.EnterCode", "string:1234" }
                                                << false;
    }
    void nobodyMay()
    {
        QFETCH(QStringList, call);
        QFETCH(bool, allowed);
        QString output;
        QVERIFY2(send(true, call, &output) == allowed, qPrintable(output));
        QVERIFY2(allowed || output.contains(QLatin1String("AccessDenied")), qPrintable(output));
        QVERIFY2(allowed || send(false, call, &output), qPrintable(output));
    }

    // Runs last: it takes the bus away.
    void peersEndWithTheirBus()
    {
        const int busLost = 3;
        QDBusConnection::disconnectFromBus(QStringLiteral("policy"));
        m_bus.terminate();
        QVERIFY(m_bus.waitForFinished());
        for (QProcess *peer : { &m_daemon, &m_pin }) {
            QVERIFY(peer->waitForFinished(PeerProcess::DefaultTimeoutMs));
            QCOMPARE(peer->exitStatus(), QProcess::NormalExit);
            QCOMPARE(peer->exitCode(), busLost);
        }
    }
};

QTEST_GUILESS_MAIN(TestBusPolicy)
#include "tst_buspolicy.moc"
