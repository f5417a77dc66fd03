#include "peerprocess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDebug>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <peernames.h>

namespace {
struct Names
{
    QString program, publicName, controlName;
};

Names namesOf(PeerProcess::Kind kind)
{
    switch (kind) {
    case PeerProcess::Modem:
        return { QStringLiteral("modem-sim"), PeerNames::Modem::Service,
            PeerNames::Modem::ControlService };
    case PeerProcess::ModeControl:
        return { QStringLiteral("mode-control-daemon"), PeerNames::ModeControl::Service,
            PeerNames::ModeControl::ControlService };
    case PeerProcess::PinQuery:
        break;
    }
    return { QStringLiteral("pin-query-service"), PeerNames::PinQuery::Service,
        PeerNames::PinQuery::ControlService };
}
} // namespace

PeerProcess::PeerProcess(Kind kind, QObject *parent)
    : PeerProcess(QString(), QString(), QString(), parent)
{
    const Names names = namesOf(kind);
    m_program = names.program;
    m_publicName = names.publicName;
    m_controlName = names.controlName;
}

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
    m_process.start(QDir(buildDir).filePath(QStringLiteral("bin/") + m_program), arguments);
    if (waitForName(true))
        return true;
    m_lastError = m_process.state() == QProcess::NotRunning
        ? QStringLiteral("%1 ended before it owned %2: %3")
              .arg(m_program, m_publicName, m_process.errorString())
        : QStringLiteral("%1 did not own %2 in time").arg(m_program, m_publicName);
    stop();
    return false;
}

void PeerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    const bool wasOnBus = !owner().isEmpty();
    m_process.terminate();
    if (!m_process.waitForFinished(DefaultTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(DefaultTimeoutMs);
    }
    // The bus notices the closed socket a moment later; the next start must
    // not mistake the old owner for the new one.
    if (wasOnBus)
        waitForName(false);
}

QString PeerProcess::owner() const
{
    const QDBusReply<QString> reply
        = QDBusConnection::systemBus().interface()->serviceOwner(m_publicName);
    return reply.isValid() ? reply.value() : QString();
}

bool PeerProcess::waitForName(bool registered, int timeoutMs)
{
    // While this object's process runs, its end stops the wait too.
    const bool running = m_process.state() != QProcess::NotRunning;
    const auto reached = [&] { return owner().isEmpty() != registered; };
    return QTest::qWaitFor(
               [&] { return reached() || (running && m_process.state() == QProcess::NotRunning); },
               timeoutMs)
        && reached();
}

QDBusMessage PeerProcess::control(
    const QString &interface, const QString &method, const QVariantList &arguments)
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(m_controlName, PeerNames::ControlPath, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::systemBus().call(call);
}

bool PeerProcess::peerControl(const QString &method, const QVariantList &arguments)
{
    const QDBusMessage reply = control(PeerControlInterface, method, arguments);
    m_lastError = reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage;
}

QList<PeerProcess::Call> PeerProcess::calls()
{
    const QDBusMessage reply = control(PeerControlInterface, QStringLiteral("GetCalls"));
    m_lastError = reply.errorMessage();
    const bool replied = reply.type() == QDBusMessage::ReplyMessage;
    const QByteArray json = replied ? reply.arguments().value(0).toString().toUtf8() : QByteArray();
    QList<Call> calls;
    for (const QJsonValue &value : QJsonDocument::fromJson(json).array()) {
        const QJsonObject call = value.toObject();
        const auto field
            = [&call](const char *name) { return call.value(QLatin1String(name)).toString(); };
        calls.append({ field("method"), field("signature"), field("arguments"), field("sender") });
    }
    return calls;
}
