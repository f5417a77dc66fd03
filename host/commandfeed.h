#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

class ScriptRunner;
class QTextStream;

// Runs automation commands as their lines arrive on a file descriptor
// (standard input), so that whoever drives the host can change the world
// between two commands and see each command's status line before writing the
// next. Unlike a script, a failed or malformed command does not end the run.
class CommandFeed : public QObject
{
    Q_OBJECT

public:
    CommandFeed(ScriptRunner *runner, QTextStream *out, int fd, QObject *parent = nullptr);

Q_SIGNALS:
    // At the end of the input or at quit; ok when no command failed.
    void finished(bool ok);

private Q_SLOTS:
    void onReadable();

private:
    void runPending();
    void runLine(const QByteArray &line);

    ScriptRunner *m_runner;
    QTextStream *m_out;
    int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_buffer;
    int m_lineNumber = 0;
    // A wait runs the event loop, which may deliver more input: lines are
    // only queued then, never run inside the command.
    bool m_running = false;
    bool m_endOfInput = false;
    bool m_done = false;
    bool m_ok = true;
};
