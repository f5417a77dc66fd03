#include "commandfeed.h"

#include "scriptparser.h"
#include "scriptrunner.h"

#include <QTextStream>

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace {
constexpr int ReadChunk = 4096;
} // namespace

CommandFeed::CommandFeed(ScriptRunner *runner, QTextStream *out, int fd, QObject *parent)
    : QObject(parent)
    , m_runner(runner)
    , m_out(out)
    , m_fd(fd)
    , m_notifier(fd, QSocketNotifier::Read)
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &CommandFeed::onReadable);
}

void CommandFeed::onReadable()
{
    char chunk[ReadChunk];
    const ssize_t count = ::read(m_fd, chunk, sizeof chunk);
    if (count > 0) {
        m_buffer.append(chunk, int(count));
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
        m_endOfInput = true;
        m_notifier.setEnabled(false);
    }
    runPending();
}

void CommandFeed::runPending()
{
    if (m_running || m_done) {
        return;
    }
    m_running = true;
    int end;
    while (!m_done && (end = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        runLine(line);
    }
    if (!m_done && m_endOfInput && !m_buffer.isEmpty()) {
        runLine(std::exchange(m_buffer, QByteArray()));
    }
    m_running = false;
    if (m_done || m_endOfInput) {
        m_done = true;
        m_notifier.setEnabled(false);
        Q_EMIT finished(m_ok);
    }
}

void CommandFeed::runLine(const QByteArray &line)
{
    ++m_lineNumber;
    const ScriptParser::Result parsed = ScriptParser::parse(QString::fromUtf8(line));
    if (!parsed.errors.isEmpty()) {
        // The parser counts lines itself; this one is always its first.
        QString reason = parsed.errors.first();
        reason.remove(0, reason.indexOf(QLatin1String(": ")) + 2);
        *m_out << "FAILED line " << m_lineNumber << ": " << reason << '\n';
        m_out->flush();
        m_ok = false;
        return;
    }
    if (parsed.commands.isEmpty()) {
        return; // blank or a comment
    }
    ScriptCommand command = parsed.commands.first();
    command.line = m_lineNumber;
    if (!m_runner->run({ command })) {
        m_ok = false;
    }
    m_done = command.kind == ScriptCommand::Quit;
}
