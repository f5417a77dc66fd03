#include "signalargs.h"
#include "simlock.h"
#include "simsecurity.h"
#include "simstatus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

using Cellular::SIM::SIMSecurity;
using Cellular::SIM::SIMStatus;
using simlock::SIMLock;

namespace {
const QString Daemon = QStringLiteral("/usr/sbin/ofonod");
const int StopTimeoutMs = 10000;
} // namespace

// The real telephony daemon on the test's private bus, with no modem: keeps
// the simulated modem honest about the API, since the libraries must reach
// "no SIM" through the very code path they use with the simulator.
class TestRealOfono : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFileInfo(Daemon).isExecutable())
            QSKIP("the telephony daemon is not installed");
        QDBusConnection bus = QDBusConnection::systemBus();
        QDBusServiceWatcher watcher("org.ofono", bus, QDBusServiceWatcher::WatchForRegistration);
        QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
        m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_daemon.start(Daemon, { "-n" }); // in the foreground, without debug output
        QVERIFY2(m_daemon.waitForStarted(), qPrintable(m_daemon.errorString()));
        if (!bus.interface()->isServiceRegistered("org.ofono"))
            QVERIFY(registered.wait());
    }

    void cleanupTestCase()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.terminate();
        QVERIFY(m_daemon.waitForFinished(StopTimeoutMs));
    }

    void librariesReportNoSim()
    {
        SIMStatus status;
        SIMSecurity security;
        SIMLock lock;
        QSignalSpy statusSpy(&status, SIGNAL(statusComplete(SIMStatus::Status, SIMError)));
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
        QCOMPARE(statusSpy.at(0), signalArgs(SIMStatus::NoSIM, Cellular::SIM::NoError));
        QCOMPARE(securitySpy.at(0),
            signalArgs(SIMSecurity::UnknownQuery, Cellular::SIM::SIMAbsent));
        QCOMPARE(lockSpy.at(0), signalArgs(SIMLock::SIMLockNotActive, SIMLock::NoError));
    }

private:
    QProcess m_daemon;
};

QTEST_GUILESS_MAIN(TestRealOfono)
#include "tst_realofono.moc"
