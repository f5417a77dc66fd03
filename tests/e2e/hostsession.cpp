#include "hostsession.h"

#include <QtTest>

const int AnswerTimeoutMs = 30000;

HostSession::~HostSession()
{
    // The host ends with its input; the process's destructor kills one that hangs.
    m_process.closeWriteChannel();
    m_process.waitForFinished(AnswerTimeoutMs);
}

bool HostSession::open()
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral(SIM_HOST_PROGRAM),
        { "--plugin", QStringLiteral(SIM_APPLET_FILE), "--interactive" });
    if (m_process.waitForStarted(AnswerTimeoutMs) && ok(QStringLiteral("open 0"))) {
        return true;
    }
    qWarning().noquote() << m_lines.join(QLatin1Char('\n'));
    return false;
}

bool HostSession::ok(const QString &command)
{
    const QRegularExpression status(QStringLiteral("^(ok|FAILED) line %1:").arg(++m_commands));
    int scanned = m_lines.size();
    m_process.write(command.toUtf8() + '\n');
    const QDeadlineTimer deadline(AnswerTimeoutMs);
    while (true) {
        for (; scanned < m_lines.size(); ++scanned) {
            const QRegularExpressionMatch match = status.match(m_lines.at(scanned));
            if (match.hasMatch()) {
                return match.captured(1) == QLatin1String("ok");
            }
        }
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            return false;
        }
        m_partial += m_process.readAll();
        for (int end; (end = m_partial.indexOf('\n')) >= 0; m_partial.remove(0, end + 1)) {
            m_lines.append(QString::fromUtf8(m_partial.left(end)));
        }
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
    // One widget a line, indented two spaces a level: the page, its parts,
    // the list's rows, their parts. Only widgets in a layout have a place.
    static const QRegularExpression widgetPattern(
        QStringLiteral("^( *)(?:(\\w+) \"(\\w+)\" (visible|hidden).*? layout=(\\d+)$)?"));
    static const QRegularExpression textPattern(QStringLiteral(" text=\"((?:[^\"\\\\]|\\\\.)*)\""));
    QMap<int, QString> shown;
    bool spinning = false;
    bool inList = false;
    int row = -1;
    for (const QString &line : output) {
        const QRegularExpressionMatch widget = widgetPattern.match(line);
        const int level = widget.capturedLength(1) / 2;
        const bool visible = widget.captured(4) == QLatin1String("visible");
        spinning |= line.contains(QLatin1String("ZuProgressIndicator"))
            && line.contains(QLatin1String(" visible "))
            && line.contains(QLatin1String("spinning=true"));
        if (level == 1) {
            inList = line.startsWith(QLatin1String("  SimContainer "));
        } else if (level == 2 && inList) {
            row = visible ? widget.captured(5).toInt() : -1;
            if (visible) {
                shown[row] = widget.captured(3);
                if (widget.captured(3) == QLatin1String("SimErrorItem")) {
                    shown[row] += QLatin1Char(':') + textPattern.match(line).captured(1);
                }
            }
        } else if (level > 2 && row >= 0 && line.contains(QLatin1String(" view=switch "))) {
            shown[row] += line.contains(QLatin1String("checked=true")) ? QLatin1String(":on")
                                                                       : QLatin1String(":off");
        }
    }
    QStringList parts = shown.values();
    if (spinning) {
        parts.prepend(QStringLiteral("spinner"));
    }
    return parts.join(QLatin1Char(' '));
}

bool HostSession::shows(const QString &expected, int timeoutMs)
{
    QString shown;
    if (QTest::qWaitFor([&] { return (shown = rows()) == expected; }, timeoutMs))
        return true;
    qWarning().noquote() << "the page shows" << shown << "instead of" << expected;
    return false;
}
