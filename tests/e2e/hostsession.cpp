#include "hostsession.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QMap>
#include <QRegularExpression>

namespace {
const QString RowIndent = QStringLiteral("    ");
const QString PartIndent = QStringLiteral("      ");
} // namespace

HostSession::HostSession()
    : m_echo(qEnvironmentVariableIsSet("SIM_E2E_ECHO"))
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

HostSession::~HostSession()
{
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(AnswerTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool HostSession::open(const QStringList &arguments)
{
    m_process.start(QStringLiteral(SIM_HOST_PROGRAM),
        QStringList { "--plugin", QStringLiteral(SIM_APPLET_FILE), "--interactive" } + arguments);
    return m_process.waitForStarted(AnswerTimeoutMs) && ok(QStringLiteral("open 0"));
}

QString HostSession::run(const QString &command)
{
    const QString number = QString::number(++m_commands);
    const QString okPrefix = QStringLiteral("ok line ") + number + QLatin1Char(':');
    const QString failedPrefix = QStringLiteral("FAILED line ") + number + QLatin1Char(':');
    const int first = m_lines.size();
    m_process.write(command.toUtf8() + '\n');
    const QDeadlineTimer deadline(AnswerTimeoutMs);
    int scanned = first;
    while (true) {
        for (; scanned < m_lines.size(); ++scanned) {
            const QString &line = m_lines.at(scanned);
            if (line.startsWith(okPrefix) || line.startsWith(failedPrefix)) {
                return line;
            }
        }
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            return QString();
        }
        readAvailable();
    }
}

QString HostSession::rows()
{
    const int first = m_lines.size();
    if (!ok(QStringLiteral("dump"))) {
        return QStringLiteral("(no answer)");
    }
    const QStringList output = m_lines.mid(first);
    if (output.contains(QStringLiteral("(no page)"))) {
        return QStringLiteral("(no page)");
    }
    static const QRegularExpression rowPattern(
        QStringLiteral("^ {4}\\w+ \"(\\w+)\" (visible|hidden).*? layout=(\\d+)$"));
    static const QRegularExpression textPattern(QStringLiteral(" text=\"((?:[^\"\\\\]|\\\\.)*)\""));
    QMap<int, QString> shown;
    bool spinning = false;
    bool inList = false;
    int lastRow = -1;
    for (const QString &line : output) {
        if (line.contains(QLatin1String("ZuProgressIndicator"))
            && line.contains(QLatin1String(" visible "))
            && line.contains(QLatin1String("spinning=true"))) {
            spinning = true;
        }
        if (line.startsWith(QLatin1String("  ")) && !line.startsWith(RowIndent)) {
            inList = line.startsWith(QLatin1String("  SimContainer "));
            continue;
        }
        if (!inList) {
            continue;
        }
        if (!line.startsWith(PartIndent)) {
            lastRow = -1;
            const QRegularExpressionMatch row = rowPattern.match(line);
            if (row.hasMatch() && row.captured(2) == QLatin1String("visible")) {
                lastRow = row.captured(3).toInt();
                shown[lastRow] = row.captured(1);
                if (row.captured(1) == QLatin1String("SimErrorItem")) {
                    shown[lastRow] += QLatin1Char(':') + textPattern.match(line).captured(1);
                }
            }
        } else if (lastRow >= 0 && line.contains(QLatin1String(" view=switch "))) {
            shown[lastRow] += line.contains(QLatin1String("checked=true")) ? QLatin1String(":on")
                                                                           : QLatin1String(":off");
        }
    }
    QStringList parts = shown.values();
    if (spinning) {
        parts.prepend(QStringLiteral("spinner"));
    }
    return parts.join(QLatin1Char(' '));
}

void HostSession::readAvailable()
{
    m_partial += m_process.readAll();
    int end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        m_lines.append(QString::fromUtf8(m_partial.left(end)));
        if (m_echo) {
            qInfo().noquote() << "host:" << m_lines.last();
        }
        m_partial.remove(0, end + 1);
    }
}
