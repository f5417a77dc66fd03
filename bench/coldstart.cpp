#include "coldstart.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcessEnvironment>

namespace {
const QString DisplayServer = QStringLiteral("Xvfb");
const int ColourDepth = 24;
// QtWidgets writes this when it hands a window's new contents to the screen.
const QByteArray FrameLine = QByteArrayLiteral("qt.widgets.painting: Flushing");
const double NsPerMs = 1e6;
} // namespace

ColdStart::~ColdStart()
{
    if (m_display.state() == QProcess::NotRunning)
        return;
    m_display.terminate();
    if (!m_display.waitForFinished())
        m_display.kill();
    m_display.waitForFinished();
}

bool ColdStart::startDisplay(int width, int height, int timeoutMs)
{
    // The server picks a free display and writes its number to the file
    // descriptor given, here its standard output.
    m_display.start(DisplayServer,
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
            QStringLiteral("0"), QStringLiteral("%1x%2x%3").arg(width).arg(height).arg(ColourDepth),
            QStringLiteral("-nolisten"), QStringLiteral("tcp") });
    if (!m_display.waitForStarted(timeoutMs)) {
        m_lastError = QStringLiteral("%1: %2").arg(DisplayServer, m_display.errorString());
        return false;
    }
    QByteArray number;
    QDeadlineTimer deadline(timeoutMs);
    while (!number.endsWith('\n') && !deadline.hasExpired()
        && m_display.state() == QProcess::Running) {
        m_display.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        number += m_display.readAllStandardOutput();
    }
    if (!number.endsWith('\n') || !m_runtimeDir.isValid()) {
        m_lastError
            = QStringLiteral("%1 did not start: %2")
                  .arg(DisplayServer, QString::fromLocal8Bit(m_display.readAllStandardError()));
        return false;
    }
    m_displayName = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    return true;
}

double ColdStart::firstFrameMs(
    const QString &program, const QStringList &arguments, const QString &after, int timeoutMs)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_displayName);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(
        QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.widgets.painting.info=true"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);

    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QDeadlineTimer deadline(timeoutMs);
    QByteArray output;
    int scanned = 0;
    bool started = after.isEmpty();
    double ms = -1;
    while (ms < 0 && !deadline.hasExpired() && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        output += process.readAll();
        int newline;
        while (ms < 0 && (newline = output.indexOf('\n', scanned)) >= 0) {
            const QByteArray line = output.mid(scanned, newline - scanned);
            scanned = newline + 1;
            if (!started)
                started = line.contains(after.toUtf8());
            else if (line.startsWith(FrameLine))
                ms = double(timer.nsecsElapsed()) / NsPerMs;
        }
    }
    process.kill();
    process.waitForFinished();
    if (ms < 0)
        m_lastError
            = QStringLiteral("%1 showed no frame%2; its last output: %3")
                  .arg(program, started ? QString() : QStringLiteral(" after \"%1\"").arg(after),
                      QString::fromLocal8Bit(output.right(500)));
    return ms;
}
