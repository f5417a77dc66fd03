#pragma once

#include <QDBusMessage>
#include <QProcess>
#include <QStringList>
#include <QtTest/QTest>
#include <peernames.h>

// Runs a reference D-Bus peer from the build tree as a child process on the
// test's private bus, and reaches its control interface: reset, faults, the
// calls it received. Waits for bus events, never for fixed times.
class PeerProcess : public QObject
{
    Q_OBJECT

public:
    enum Kind { Modem, ModeControl, PinQuery };
    Q_ENUM(Kind)

    struct Call
    {
        QString method, signature, arguments, sender;
    };

    static const int DefaultTimeoutMs = 10000;
    // The control interface all peers share, and each peer's own one, at "/control".
    inline static const QString PeerControlInterface = PeerNames::PeerControlInterface;
    inline static const QString ModemControlInterface = PeerNames::Modem::ControlInterface;
    inline static const QString ModeControlInterface = PeerNames::ModeControl::ControlInterface;
    inline static const QString PinQueryControlInterface = PeerNames::PinQuery::ControlInterface;

    // True for a method reply; otherwise warns with the error, to show why a test fails.
    static bool succeeded(const QDBusMessage &reply);

    explicit PeerProcess(Kind kind, QObject *parent = nullptr);
    // Any peer that offers the shared control interface at "/control".
    PeerProcess(const QString &program, const QString &publicName, const QString &controlName,
        QObject *parent = nullptr);
    ~PeerProcess() override { stop(); }

    // Starts the program (SIM_BUILD_DIR/bin) and waits until it owns its
    // public name. False, with lastError(), when it exits or times out first.
    bool start(const QStringList &arguments = QStringList());
    // Ends the process and waits until its names are gone from the bus.
    void stop();
    bool isRunning() const { return m_process.state() == QProcess::Running; }

    QString publicName() const { return m_publicName; }
    QString controlName() const { return m_controlName; }
    QString lastError() const { return m_lastError; }

    QDBusMessage control(const QString &interface, const QString &method,
        const QVariantList &arguments = QVariantList());
    // Initial state, no faults, no recorded calls.
    bool reset() { return peerControl(QStringLiteral("Reset")); }
    bool setFault(const QString &method, const QString &kind, uint delayMs = 0)
    {
        return peerControl(QStringLiteral("SetFault"), { method, kind, delayMs });
    }
    QList<Call> calls();
    bool waitForCalls(int count, int timeoutMs = DefaultTimeoutMs)
    {
        return QTest::qWaitFor([=] { return calls().size() >= count; }, timeoutMs);
    }
    // Waits for the public name to appear on, or vanish from, the bus; while
    // this object's process runs, also stops waiting for it when it ends.
    bool waitForName(bool registered, int timeoutMs = DefaultTimeoutMs);

private:
    // The unique bus name that owns the public name now, or "".
    QString owner() const;
    bool peerControl(const QString &method, const QVariantList &arguments = QVariantList());

    QString m_program;
    QString m_publicName;
    QString m_controlName;
    QProcess m_process;
    QString m_lastError;
};
