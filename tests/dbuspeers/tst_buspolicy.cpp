#include "peerprocess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
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
    struct Outcome
    {
        bool ok;
        QString output;
    };

    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_address;
    QProcess m_daemon;
    QProcess m_pin;

    // dbus-send on our bus, as root or as nobody.
    Outcome send(bool asNobody, const QStringList &arguments)
    {
        QStringList command;
        if (asNobody) {
            command << QStringLiteral("setpriv") << QStringLiteral("--reuid=nobody")
                    << QStringLiteral("--regid=nogroup") << QStringLiteral("--clear-groups")
                    << QStringLiteral("--");
        }
        command << QStringLiteral("dbus-send") << (QStringLiteral("--bus=") + m_address)
                << QStringLiteral("--print-reply") << arguments;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(command.takeFirst(), command);
        process.waitForFinished(PeerProcess::DefaultTimeoutMs);
        return { process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromLocal8Bit(process.readAll()) };
    }

    // Starts a reference peer on our bus as root and waits for its name.
    bool startPeer(QProcess &process, const QString &program, const QString &name,
        const QStringList &arguments)
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("policy"));
        QDBusServiceWatcher watcher(name, bus, QDBusServiceWatcher::WatchForRegistration);
        QSignalSpy registered(&watcher, SIGNAL(serviceRegistered(QString)));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(
            QDir(qEnvironmentVariable("SIM_BUILD_DIR")).filePath("bin/" + program), arguments);
        return registered.count() > 0 || bus.interface()->isServiceRegistered(name).value()
            || registered.wait(PeerProcess::DefaultTimeoutMs);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (geteuid() != 0) {
            QSKIP("needs root: the claimants run as nobody");
        }
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("dbus-send")).isEmpty()) {
            QSKIP("needs setpriv and dbus-send");
        }
        QVERIFY(m_dir.isValid());
        // nobody must reach the socket in there.
        QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755) == 0);
        const QString policies = qEnvironmentVariable("SIM_SOURCE_DIR") + "/dbus/system.d/";
        const QString socket = m_dir.filePath(QStringLiteral("bus"));
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        QFile source(
            qEnvironmentVariable("SIM_SOURCE_DIR") + "/tests/dbuspeers/policytestbus.conf");
        QVERIFY(source.open(QIODevice::ReadOnly));
        config.write(QString::fromUtf8(source.readAll())
                         .replace(QStringLiteral("@SOCKET@"), socket)
                         .replace(QStringLiteral("@POLICIES@"), policies)
                         .toUtf8());
        config.close();

        m_bus.start(QStringLiteral("dbus-daemon"),
            { "--nofork", "--nopidfile", "--config-file=" + config.fileName(),
                "--print-address=1" });
        while (!m_bus.canReadLine()) {
            QVERIFY2(m_bus.waitForReadyRead(PeerProcess::DefaultTimeoutMs),
                qPrintable(m_bus.readAllStandardError()));
        }
        m_address = QString::fromLocal8Bit(m_bus.readLine()).trimmed();
        // Connecting to a socket takes write permission on it.
        QVERIFY(::chmod(QFile::encodeName(socket).constData(), 0666) == 0);

        QVERIFY(startPeer(m_daemon, QStringLiteral("mode-control-daemon"), "com.tavik.oxa", {}));
        QVERIFY(startPeer(m_pin, QStringLiteral("pin-query-service"), "com.tavik.ronwe.pin",
            { QStringLiteral("--headless") }));
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("policy"));
        for (QProcess *process : { &m_pin, &m_daemon, &m_bus }) {
            if (process->state() == QProcess::NotRunning) {
                continue;
            }
            process->terminate();
            process->waitForFinished();
        }
    }

    void onlyRootOwnsTheNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("asNobody");
        QTest::addColumn<bool>("owned");
        // The running peers hold the names; root may still queue for them.
        for (const char *name : { "com.tavik.oxa", "com.tavik.sim.ModeControl",
                 "com.tavik.ronwe.pin", "com.tavik.sim.PinQuery" }) {
            QTest::addRow("%s as root", name) << name << false << true;
            QTest::addRow("%s as nobody", name) << name << true << false;
        }
    }
    void onlyRootOwnsTheNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, asNobody);
        QFETCH(bool, owned);
        const QString allowQueueing = QStringLiteral("uint32:0");
        const Outcome outcome = send(asNobody,
            { "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                "org.freedesktop.DBus.RequestName", "string:" + name, allowQueueing });
        QVERIFY2(outcome.ok == owned, qPrintable(outcome.output));
        if (!owned) {
            QVERIFY2(
                outcome.output.contains(QLatin1String("AccessDenied")), qPrintable(outcome.output));
        }
    }

    void anyoneCallsThePublicMethodsOnly_data()
    {
        QTest::addColumn<QStringList>("call");
        QTest::addColumn<bool>("allowed");
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
    void anyoneCallsThePublicMethodsOnly()
    {
        QFETCH(QStringList, call);
        QFETCH(bool, allowed);
        const Outcome asNobody = send(true, call);
        QVERIFY2(asNobody.ok == allowed, qPrintable(asNobody.output));
        if (!allowed) {
            QVERIFY2(asNobody.output.contains(QLatin1String("AccessDenied")),
                qPrintable(asNobody.output));
            // Root is let through, so the denial above is the policy's.
            const Outcome asRoot = send(false, call);
            QVERIFY2(asRoot.ok, qPrintable(asRoot.output));
        }
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
