#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Times programs from their start to the first frame they put on screen, on
// a virtual X display of its own: Qt's painting log says when a window's
// contents reach the screen.
class ColdStart
{
public:
    static const int DefaultTimeoutMs = 20000;

    ColdStart() = default;
    ~ColdStart();
    ColdStart(const ColdStart &) = delete;
    ColdStart &operator=(const ColdStart &) = delete;

    // Starts the display server with a screen of this size; false, with
    // lastError(), when there is none to start.
    bool startDisplay(int width, int height, int timeoutMs = DefaultTimeoutMs);
    // Milliseconds from starting the program to its first frame, counting
    // only frames after a line of its output that contains after (any frame
    // when empty); negative, with lastError(), when none came in time. The
    // program is killed once its frame is seen.
    double firstFrameMs(const QString &program, const QStringList &arguments,
        const QString &after = QString(), int timeoutMs = DefaultTimeoutMs);
    QString lastError() const { return m_lastError; }

private:
    QProcess m_display;
    QString m_displayName;
    QTemporaryDir m_runtimeDir;
    QString m_lastError;
};
