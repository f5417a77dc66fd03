#pragma once

#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Runs a reference D-Bus peer from the build tree as a child process on the
// test's private bus, and reaches its control interface: reset, faults, the
// calls it received. Waits for bus events, never for fixed times.
class PeerProcess : public QObject
{
    Q_OBJECT

public:
    enum Kind { Modem, ModeControl, PinQuery };

    struct Call
    {
        QString method;
        QString signature;
        QString arguments;
        QString sender;
    };

    static const int DefaultTimeoutMs = 10000;
    static const QString PeerControlInterface;
    // Each reference peer's own control interface at "/control".
    static const QString ModemControlInterface;
    static const QString ModeControlInterface;
    static const QString PinQueryControlInterface;

    // True for a method reply; otherwise warns with the error so a failing
    // test shows why.
    static bool succeeded(const QDBusMessage &reply);

    explicit PeerProcess(Kind kind, QObject *parent = nullptr);
    // Any peer that offers the shared control interface at "/control".
    PeerProcess(const QString &program, const QString &publicName, const QString &controlName,
        QObject *parent = nullptr);
    ~PeerProcess() override;

    // Starts the program (SIM_BUILD_DIR/bin) and waits until it owns its
    // public name. False, with lastError(), when it exits or times out first.
    bool start(const QStringList &arguments = QStringList());
    // Ends the process and waits until its names are gone from the bus.
    void stop();
    bool isRunning() const;

    QString publicName() const { return m_publicName; }
    QString controlName() const { return m_controlName; }
    // The unique bus name that owns the public name now, or "".
    QString owner() const;
    QString lastError() const { return m_lastError; }

    // Calls a method of the control object; the reply, or an error message.
    QDBusMessage control(const QString &interface, const QString &method,
        const QVariantList &arguments = QVariantList());
    // Initial state, no faults, no recorded calls. Fresh state for a test function.
    bool reset();
    bool setFault(const QString &method, const QString &kind, uint delayMs = 0);
    QList<Call> calls();
    // Waits until at least count calls are recorded.
    bool waitForCalls(int count, int timeoutMs = DefaultTimeoutMs);

    // Waits for the public name to appear on, or vanish from, the bus.
    bool waitForName(bool registered, int timeoutMs = DefaultTimeoutMs);

private:
    QString m_program;
    QString m_publicName;
    QString m_controlName;
    QProcess m_process;
    QString m_lastError;
};
