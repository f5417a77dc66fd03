#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// The settings-host program with the real SIM applet plug-in, driven one
// command at a time through its --interactive input. Its status lines and the
// applet's log lines arrive on one channel, in the order they were written.
class HostSession
{
public:
    static const int AnswerTimeoutMs = 30000;

    HostSession();
    ~HostSession();

    // Starts the host and opens the SIM page; on failure warns with the host's output.
    bool open();
    // Runs one automation command; its status line ("ok line N: ...",
    // "FAILED line N: ..."), or "" when the host did not answer in time.
    QString run(const QString &command);
    bool ok(const QString &command) { return run(command).startsWith(QLatin1String("ok ")); }

    // What the page shows, from the host's dump: the visible rows of the
    // item list in their order, "SimPinRequestItem:on" with the switch's
    // state, "SimErrorItem:TEXT" with the error text, preceded by "spinner"
    // while the header's spinner turns; "(no page)" without a page.
    QString rows();
    // Waits until rows() is expected; on time-out warns with what it was.
    bool waitForRows(const QString &expected, int timeoutMs);

    // How often the host wrote this line since it started.
    int count(const QString &line) const { return m_lines.count(line); }

private:
    QProcess m_process;
    QByteArray m_partial;
    QStringList m_lines;
    int m_commands = 0;
    // SIM_E2E_ECHO set: every line is echoed as it arrives, for debugging.
    bool m_echo;
};
