#include "busmonitor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcessEnvironment>

namespace {
const QString BusService = QStringLiteral("org.freedesktop.DBus");
const QString PeerInterface = QStringLiteral("org.freedesktop.DBus.Peer");
const QString MarkerPath = QStringLiteral("/com/tavik/bench/window%1/%2");
// The bus confirms a new monitor by taking its unique name away again.
const QString MonitorReady = QStringLiteral("\tNameLost");

// Columns of dbus-monitor --profile lines.
enum Column { Type, Time, Serial, Sender, Destination, Path, Interface, Member, ColumnCount };
} // namespace

BusMonitor::BusMonitor(QObject *parent)
    : QObject(parent)
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this, [this] {
        m_partial += m_process.readAllStandardOutput();
        int newline;
        while ((newline = m_partial.indexOf('\n')) >= 0) {
            m_lines << QString::fromUtf8(m_partial.left(newline));
            m_partial.remove(0, newline + 1);
        }
    });
}

BusMonitor::~BusMonitor()
{
    stop();
}

bool BusMonitor::start(int timeoutMs)
{
    const QString address
        = QProcessEnvironment::systemEnvironment().value(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"));
    const QString sender = QDBusConnection::systemBus().baseService();
    if (address.isEmpty() || sender.isEmpty()) {
        m_lastError = QStringLiteral("no system bus connection");
        return false;
    }
    const QString rule = QStringLiteral("type='method_call',sender='%1'").arg(sender);
    // The bus's own confirmation comes as signals: let those through too.
    const QString busRule = QStringLiteral("type='signal',sender='%1'").arg(BusService);
    m_process.start(QStringLiteral("dbus-monitor"),
        { QStringLiteral("--address"), address, QStringLiteral("--profile"), rule, busRule });
    if (!m_process.waitForStarted(timeoutMs)) {
        m_lastError = QStringLiteral("dbus-monitor: %1").arg(m_process.errorString());
        return false;
    }
    if (!waitForLine(MonitorReady, timeoutMs)) {
        m_lastError = QStringLiteral("dbus-monitor did not become a monitor");
        return false;
    }
    return true;
}

void BusMonitor::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(DefaultTimeoutMs))
        m_process.kill();
    m_process.waitForFinished(DefaultTimeoutMs);
}

void BusMonitor::begin()
{
    ++m_window;
    m_lines.clear();
    sendMarker(MarkerPath.arg(m_window).arg(QStringLiteral("begin")));
}

QStringList BusMonitor::end(int timeoutMs)
{
    const QString beginPath = MarkerPath.arg(m_window).arg(QStringLiteral("begin"));
    const QString endPath = MarkerPath.arg(m_window).arg(QStringLiteral("end"));
    sendMarker(endPath);
    if (!waitForLine(endPath, timeoutMs)) {
        m_lastError = QStringLiteral("the monitor did not see the end of window %1").arg(m_window);
        return QStringList();
    }

    QStringList calls;
    bool inside = false;
    for (const QString &line : qAsConst(m_lines)) {
        const QStringList columns = line.split(QLatin1Char('\t'));
        if (columns.size() < ColumnCount || columns.at(Type) != QLatin1String("mc"))
            continue;
        if (columns.at(Path) == beginPath) {
            inside = true;
        } else if (columns.at(Path) == endPath) {
            break;
        } else if (inside) {
            calls << columns.at(Destination) + QLatin1Char(' ') + columns.at(Interface)
                    + QLatin1Char('.') + columns.at(Member);
        }
    }
    return calls;
}

void BusMonitor::sendMarker(const QString &path)
{
    // Not waited for: the marker must not add a round trip of its own.
    QDBusConnection::systemBus().send(
        QDBusMessage::createMethodCall(BusService, path, PeerInterface, QStringLiteral("Ping")));
}

bool BusMonitor::waitForLine(const QString &needle, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        for (const QString &line : qAsConst(m_lines)) {
            if (line.contains(needle))
                return true;
        }
        if (m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    return false;
}
