#include <QDBusConnection>
#include <QDBusReply>
#include <QtTest>

// The test runner starts every test executable on a bus of its own. This
// makes sure that what the product code reaches as "the system bus" is that
// private bus and never the machine's.
class TestPrivateBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void systemBusIsThePrivateOne()
    {
        // The process behind the bus is the daemon that the test runner
        // started for this test, and no other.
        bool ok = false;
        const uint daemonPid = qEnvironmentVariable("SIM_PRIVATE_BUS_PID").toUInt(&ok);
        QVERIFY2(ok, "SIM_PRIVATE_BUS_PID is not set");
        QDBusMessage query = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
            QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
            QStringLiteral("GetConnectionUnixProcessID"));
        query << QStringLiteral("org.freedesktop.DBus");
        const QDBusReply<uint> pid = QDBusConnection::systemBus().call(query);
        QVERIFY2(pid.isValid(), qPrintable(pid.error().message()));
        QCOMPARE(pid.value(), daemonPid);
    }
};

QTEST_GUILESS_MAIN(TestPrivateBus)
#include "tst_privatebus.moc"
