#include "logcapture.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtTest/QTest>

namespace {
QMutex captureMutex;
LogCapture *current = nullptr;
} // namespace

LogCapture::LogCapture()
{
    QMutexLocker locker(&captureMutex);
    m_outer = current;
    current = this;
    m_previous = qInstallMessageHandler(&LogCapture::handler);
}

LogCapture::~LogCapture()
{
    QMutexLocker locker(&captureMutex);
    current = m_outer;
    qInstallMessageHandler(m_previous);
}

void LogCapture::handler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    QMutexLocker locker(&captureMutex);
    if (current)
        current->m_lines.append({ type, text });
    if (type == QtFatalMsg || !current) {
        // Fatal messages must still reach the default handler, which aborts.
        locker.unlock();
        qt_message_output(type, context, text);
    }
}

QList<LogCapture::Line> LogCapture::lines() const
{
    QMutexLocker locker(&captureMutex);
    return m_lines;
}

QStringList LogCapture::texts(QtMsgType type) const
{
    QStringList result;
    for (const Line &line : lines()) {
        if (line.type == type)
            result.append(line.text);
    }
    return result;
}

void LogCapture::clear()
{
    QMutexLocker locker(&captureMutex);
    m_lines.clear();
}

char *toString(const LogCapture::Line &line)
{
    // Indexed by QtMsgType: debug, warning, critical, fatal, info.
    static const char *const levels[] = { "debug", "warning", "critical", "fatal", "info" };
    const QString level = QLatin1String(uint(line.type) < 5 ? levels[line.type] : "?");
    return QTest::toString(QStringLiteral("[%1] %2").arg(level, line.text));
}
