#pragma once

#include "scriptcommand.h"

#include <QPoint>
#include <QString>
#include <QVector>
#include <functional>

class QGraphicsObject;
class QTextStream;
class SettingsHost;

// Runs automation commands against a settings host, printing one status line
// per command (after whatever the command itself prints):
//   ok line N: COMMAND[: DETAIL]
//   FAILED line N: COMMAND: REASON
// and stops at the first failure.
class ScriptRunner
{
public:
    ScriptRunner(SettingsHost *host, QTextStream *out);

    // Returns true when every command succeeded (or quit was reached).
    bool run(const QVector<ScriptCommand> &commands);

    // Runs the event loop until condition holds or timeoutMs have passed.
    // Returns whether the condition held.
    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs);

private:
    bool execute(const ScriptCommand &command, QString *detail, bool *quit);
    bool tap(const QString &objectName, QString *detail);
    // The first visible widget of that name and its centre in the view's
    // viewport's coordinates; null with the reason when none is on the screen.
    QGraphicsObject *centreOf(const QString &objectName, QPoint *pos, QString *detail);
    bool wait(const ScriptCommand &command, QString *detail);
    bool holds(const ScriptCommand &command, QString *state) const;
    QString dump() const;

    SettingsHost *m_host;
    QTextStream *m_out;
};
