#pragma once

#include <QProcess>

// The settings-host program with the real SIM applet plug-in, driven one
// command at a time through its --interactive input. Its status lines and the
// applet's log lines arrive on one channel, in the order they were written.
class HostSession
{
public:
    ~HostSession();

    // Starts the host and opens the SIM page; on failure warns with the host's output.
    bool open();
    // Runs one automation command: true when the host answers "ok line N: ..."
    // in time, false on "FAILED line N: ..." or silence.
    bool ok(const QString &command);

    // What the page shows, from the host's dump: the visible rows of the
    // item list in their order, "SimPinRequestItem:on" with the switch's
    // state, "SimErrorItem:TEXT" with the error text, preceded by "spinner"
    // while the header's spinner turns; "(no page)" without a page.
    QString rows();
    // Waits until rows() is expected; on time-out warns with what it was.
    bool shows(const QString &expected, int timeoutMs = 20000);

    // How often the host wrote this line since it started.
    int count(const QString &line) const { return m_lines.count(line); }

private:
    QProcess m_process;
    QByteArray m_partial;
    QStringList m_lines;
    int m_commands = 0;
};
