#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

// Watches the method calls that one connection sends on the bus, through a
// dbus-monitor child process (the bus's monitoring interface): only the
// calls that really went out count, whoever in the process made them.
// Windows are marked by Ping calls to the bus on distinctive paths, sent in
// order with everything else on the watched connection.
class BusMonitor : public QObject
{
    Q_OBJECT

public:
    static const int DefaultTimeoutMs = 10000;

    explicit BusMonitor(QObject *parent = nullptr);
    ~BusMonitor() override;

    // Starts monitoring the calls of the process's system bus connection and
    // waits until the monitor is in place.
    bool start(int timeoutMs = DefaultTimeoutMs);
    void stop();
    QString lastError() const { return m_lastError; }

    // Sends the marker that opens a window.
    void begin();
    // Sends the closing marker, waits until the monitor has seen it, and
    // returns the calls in between as "destination interface.member".
    QStringList end(int timeoutMs = DefaultTimeoutMs);

private:
    void sendMarker(const QString &path);
    bool waitForLine(const QString &needle, int timeoutMs);

    QProcess m_process;
    QStringList m_lines;
    QByteArray m_partial;
    QString m_lastError;
    int m_window = 0;
};
