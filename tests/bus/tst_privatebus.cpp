#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

// The test runner starts every test executable on a bus of its own. These
// checks make sure that what the product code reaches as "the system bus" is
// that private bus and never the machine's.
class TestPrivateBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void systemBusIsThePrivateOne()
    {
        const QString address = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
        QVERIFY2(!address.isEmpty(), "DBUS_SYSTEM_BUS_ADDRESS is not set");

        const QRegularExpressionMatch path = QRegularExpression(QStringLiteral("unix:path=([^,]+)")).match(address);
        QVERIFY2(path.hasMatch(), qPrintable(address));
        const QString socket = path.captured(1);
        QVERIFY(!socket.startsWith(QLatin1String("/run/dbus")));
        QVERIFY(!socket.startsWith(QLatin1String("/var/run/dbus")));
        QVERIFY(QFileInfo(socket).absolutePath().contains(QLatin1String("simbus.")));

        QDBusConnection bus = QDBusConnection::systemBus();
        QVERIFY(bus.isConnected());

        // The process behind the bus is the daemon that the test runner
        // started for this test, and no other.
        bool ok = false;
        const uint daemonPid = qEnvironmentVariable("SIM_PRIVATE_BUS_PID").toUInt(&ok);
        QVERIFY2(ok, "SIM_PRIVATE_BUS_PID is not set");
        QDBusMessage query = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
            QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
            QStringLiteral("GetConnectionUnixProcessID"));
        query << QStringLiteral("org.freedesktop.DBus");
        QDBusReply<uint> pid = bus.call(query);
        QVERIFY2(pid.isValid(), qPrintable(pid.error().message()));
        QCOMPARE(pid.value(), daemonPid);
    }

    void policyLetsTheLocalUserOwnNames()
    {
        QDBusConnection bus = QDBusConnection::systemBus();
        const QString name = QStringLiteral("com.tavik.oxa");
        QVERIFY(bus.registerService(name));
        QVERIFY(bus.interface()->isServiceRegistered(name));

        // A second connection on the same private bus sees the name.
        QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SystemBus, QStringLiteral("other"));
        QVERIFY(other.isConnected());
        QCOMPARE(other.interface()->serviceOwner(name).value(), bus.baseService());
        QDBusConnection::disconnectFromBus(QStringLiteral("other"));
        QVERIFY(bus.unregisterService(name));
    }
};

QTEST_GUILESS_MAIN(TestPrivateBus)
#include "tst_privatebus.moc"
