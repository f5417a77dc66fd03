#include "peerprocess.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

const QString PeerProcess::PeerControlInterface = QStringLiteral("com.tavik.sim.PeerControl");
const QString PeerProcess::ModemControlInterface = QStringLiteral("com.tavik.sim.ModemControl");
const QString PeerProcess::ModeControlInterface
    = QStringLiteral("com.tavik.sim.ModeControlControl");
const QString PeerProcess::PinQueryControlInterface
    = QStringLiteral("com.tavik.sim.PinQueryControl");

namespace {
const QString ControlPath = QStringLiteral("/control");

struct PeerNames
{
    const char *program;
    const char *publicName;
    const char *controlName;
};

PeerNames namesOf(PeerProcess::Kind kind)
{
    switch (kind) {
    case PeerProcess::Modem:
        return { "modem-sim", "org.ofono", "com.tavik.sim.Modem" };
    case PeerProcess::ModeControl:
        return { "mode-control-daemon", "com.tavik.oxa", "com.tavik.sim.ModeControl" };
    case PeerProcess::PinQuery:
        return { "pin-query-service", "com.tavik.ronwe.pin", "com.tavik.sim.PinQuery" };
    }
    return {};
}
} // namespace

PeerProcess::PeerProcess(Kind kind, QObject *parent)
    : PeerProcess(QString::fromLatin1(namesOf(kind).program),
        QString::fromLatin1(namesOf(kind).publicName),
        QString::fromLatin1(namesOf(kind).controlName), parent)
{ }

PeerProcess::PeerProcess(
    const QString &program, const QString &publicName, const QString &controlName, QObject *parent)
    : QObject(parent)
    , m_program(program)
    , m_publicName(publicName)
    , m_controlName(controlName)
{
    // The peer's own messages help when a test fails.
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
}

PeerProcess::~PeerProcess()
{
    stop();
}

bool PeerProcess::succeeded(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning() << "control call failed:" << reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool PeerProcess::start(const QStringList &arguments)
{
    stop();
    const QString buildDir = qEnvironmentVariable("SIM_BUILD_DIR");
    if (buildDir.isEmpty()) {
        m_lastError = QStringLiteral("SIM_BUILD_DIR is not set");
        return false;
    }
    m_process.setProgram(QDir(buildDir).filePath(QStringLiteral("bin/") + m_program));
    m_process.setArguments(arguments);
    // The watcher exists before the process, so the registration cannot be missed.
    QDBusServiceWatcher watcher(
        m_publicName, QDBusConnection::systemBus(), QDBusServiceWatcher::WatchForRegistration);
    QEventLoop loop;
    connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, [&loop] { loop.exit(0); });
    connect(&m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
        [&loop] { loop.exit(1); });
    connect(&m_process, &QProcess::errorOccurred, &loop, [&loop] { loop.exit(1); });
    QTimer::singleShot(DefaultTimeoutMs, &loop, [&loop] { loop.exit(2); });
    m_process.start();
    const int result = loop.exec();
    disconnect(&m_process, nullptr, &loop, nullptr);
    if (result == 0) {
        return true;
    }
    m_lastError = result == 1
        ? QStringLiteral("%1 ended before it owned %2: %3")
              .arg(m_program, m_publicName, m_process.errorString())
        : QStringLiteral("%1 did not own %2 in time").arg(m_program, m_publicName);
    stop();
    return false;
}

void PeerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    const bool wasOnBus = !owner().isEmpty();
    m_process.terminate();
    if (!m_process.waitForFinished(DefaultTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(DefaultTimeoutMs);
    }
    // The bus notices the closed socket a moment later; the next start must
    // not mistake the old owner for the new one.
    if (wasOnBus) {
        waitForName(false);
    }
}

bool PeerProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

QString PeerProcess::owner() const
{
    const QDBusReply<QString> reply
        = QDBusConnection::systemBus().interface()->serviceOwner(m_publicName);
    return reply.isValid() ? reply.value() : QString();
}

bool PeerProcess::waitForName(bool registered, int timeoutMs)
{
    QDBusServiceWatcher watcher(m_publicName, QDBusConnection::systemBus(),
        registered ? QDBusServiceWatcher::WatchForRegistration
                   : QDBusServiceWatcher::WatchForUnregistration);
    QEventLoop loop;
    connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, [&loop] { loop.exit(0); });
    connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &loop, [&loop] { loop.exit(0); });
    QTimer::singleShot(timeoutMs, &loop, [&loop] { loop.exit(1); });
    // Asked only now that the watcher is in place, so no change slips through.
    if (owner().isEmpty() != registered) {
        return true;
    }
    return loop.exec() == 0;
}

QDBusMessage PeerProcess::control(
    const QString &interface, const QString &method, const QVariantList &arguments)
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(m_controlName, ControlPath, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::systemBus().call(call);
}

bool PeerProcess::reset()
{
    const QDBusMessage reply = control(PeerControlInterface, QStringLiteral("Reset"));
    m_lastError = reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool PeerProcess::setFault(const QString &method, const QString &kind, uint delayMs)
{
    const QDBusMessage reply
        = control(PeerControlInterface, QStringLiteral("SetFault"), { method, kind, delayMs });
    m_lastError = reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage;
}

QList<PeerProcess::Call> PeerProcess::calls()
{
    const QDBusMessage reply = control(PeerControlInterface, QStringLiteral("GetCalls"));
    QList<Call> calls;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_lastError = reply.errorMessage();
        return calls;
    }
    const QJsonArray array
        = QJsonDocument::fromJson(reply.arguments().constFirst().toString().toUtf8()).array();
    for (const QJsonValue &value : array) {
        const QJsonObject call = value.toObject();
        calls.append({ call.value(QStringLiteral("method")).toString(),
            call.value(QStringLiteral("signature")).toString(),
            call.value(QStringLiteral("arguments")).toString(),
            call.value(QStringLiteral("sender")).toString() });
    }
    return calls;
}

bool PeerProcess::waitForCalls(int count, int timeoutMs)
{
    // The peer has no signal for received calls; ask again after each turn
    // of the event loop until the deadline.
    QElapsedTimer clock;
    clock.start();
    while (calls().size() < count) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
