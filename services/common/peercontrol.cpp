#include "peercontrol.h"

#include "buspresence.h"
#include "calllog.h"
#include "faultinjector.h"

#include <QDBusError>
#include <QTimer>

namespace {
const QString ReleaseName = QStringLiteral("release");
const QString DropConnection = QStringLiteral("disconnect");
} // namespace

PeerControl::PeerControl(
    const QStringList &methods, CallLog *log, FaultInjector *faults, QObject *parent)
    : QObject(parent)
    , m_methods(methods)
    , m_log(log)
    , m_faults(faults)
    , m_presence(nullptr)
{ }

void PeerControl::SetFault(const QString &method, const QString &kind, uint delay_ms)
{
    FaultInjector::Kind parsed;
    if (!m_methods.contains(method)) {
        refuse(QStringLiteral("no method %1; known: %2")
                   .arg(method, m_methods.join(QLatin1Char(' '))));
    } else if (!FaultInjector::parseKind(kind, &parsed)) {
        refuse(
            QStringLiteral("no fault %1; known: none error noargs wrongtype late never").arg(kind));
    } else {
        m_faults->setFault(method, parsed, delay_ms);
    }
}

QString PeerControl::GetCalls()
{
    return m_log->toJson();
}

void PeerControl::ClearCalls()
{
    m_log->clear();
}

void PeerControl::Reset()
{
    m_faults->clear();
    m_log->clear();
    resetState();
    m_presence->reclaimPublicName();
}

void PeerControl::LeaveBus(const QString &how, uint rejoin_after_ms)
{
    if (how == ReleaseName) {
        if (rejoin_after_ms > 0) {
            QTimer::singleShot(int(rejoin_after_ms), m_presence,
                [presence = m_presence]() { presence->reclaimPublicName(); });
        }
        m_presence->releasePublicName();
    } else if (how == DropConnection) {
        // The caller gets its reply before the connection goes.
        setDelayedReply(true);
        connection().send(message().createReply());
        QTimer::singleShot(0, m_presence, [presence = m_presence, rejoin_after_ms]() {
            presence->disconnectFor(rejoin_after_ms);
        });
    } else {
        refuse(QStringLiteral("leave the bus how? %1 or %2").arg(ReleaseName, DropConnection));
    }
}

void PeerControl::RejoinBus()
{
    if (!m_presence->reclaimPublicName()) {
        sendErrorReply(QDBusError::Failed, QStringLiteral("cannot own the public name again"));
    }
}

void PeerControl::refuse(const QString &text) const
{
    sendErrorReply(QDBusError::InvalidArgs, text);
}
