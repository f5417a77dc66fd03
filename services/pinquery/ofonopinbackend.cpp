#include "ofonopinbackend.h"

#include "ofononames.h"
#include "simtracker.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QPointer>

namespace {
const QString PinKind = QStringLiteral("pin");
const QString PukKind = QStringLiteral("puk");
const QString IncorrectPassword = QStringLiteral("org.ofono.Error.IncorrectPassword");
} // namespace

OfonoPinBackend::OfonoPinBackend(QObject *parent)
    : PinBackend(parent)
    , m_tracker(new OfonoSim::SimTracker(this))
{ }

OfonoPinBackend::~OfonoPinBackend() = default;

void OfonoPinBackend::setPinRequest(bool enable, const QString &pin, Done done)
{
    callSim(enable ? QStringLiteral("LockPin") : QStringLiteral("UnlockPin"), { PinKind, pin },
        PinKind, std::move(done));
}

void OfonoPinBackend::changePin(const QString &oldPin, const QString &newPin, Done done)
{
    callSim(QStringLiteral("ChangePin"), { PinKind, oldPin, newPin }, PinKind, std::move(done));
}

void OfonoPinBackend::enterPin(const QString &pin, Done done)
{
    callSim(QStringLiteral("EnterPin"), { PinKind, pin }, PinKind, std::move(done));
}

void OfonoPinBackend::resetPin(const QString &puk, const QString &newPin, Done done)
{
    callSim(QStringLiteral("ResetPin"), { PukKind, puk, newPin }, PukKind, std::move(done));
}

void OfonoPinBackend::unlockSimLock(const QString &code, Done done)
{
    m_tracker->whenSettled(this, [this, code, done](const OfonoSim::Snapshot &snapshot) {
        // The lock to open is the one the card asks for.
        const QString required
            = snapshot.properties.value(OfonoSim::PinRequiredProperty).toString();
        if (!OfonoSim::isPersonalisationLock(required)) {
            // Nothing to open: not a success the caller could build on.
            done(Result::Failed);
            return;
        }
        callSim(QStringLiteral("EnterPin"), { required, code }, QString(), done);
    });
}

void OfonoPinBackend::attemptsLeft(CodeType type, Number done)
{
    m_tracker->whenSettled(this, [type, done](const OfonoSim::Snapshot &snapshot) {
        const QVariantMap retries = snapshot.properties.value(OfonoSim::RetriesProperty).toMap();
        const QString kind = type == CodeType::Pin ? PinKind
            : type == CodeType::Puk                ? PukKind
                                                   : QString();
        done(retries.contains(kind) ? retries.value(kind).toInt() : UnknownAttempts);
    });
}

void OfonoPinBackend::pinRequestState(Number done)
{
    m_tracker->whenSettled(this, [done](const OfonoSim::Snapshot &snapshot) {
        const OfonoSim::Readings readings = OfonoSim::readSnapshot(snapshot);
        if (readings.pinQueryError != Cellular::SIM::NoError)
            done(PinRequestUnknown);
        else
            done(readings.pinQuery == Cellular::SIM::SIMSecurity::Enabled ? PinRequestOn
                                                                          : PinRequestOff);
    });
}

void OfonoPinBackend::reset() { }

void OfonoPinBackend::callSim(
    const QString &method, const QVariantList &arguments, const QString &codeKind, Done done)
{
    m_tracker->whenSettled(this, [=](const OfonoSim::Snapshot &) {
        const QString path = m_tracker->modemPath();
        if (path.isEmpty()) {
            done(Result::Failed);
            return;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            OfonoSim::Service, path, OfonoSim::SimManagerInterface, method);
        call.setArguments(arguments);
        auto *watcher
            = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, codeKind, done] {
            watcher->deleteLater();
            const QDBusMessage reply = watcher->reply();
            // The card's property changes went out before its reply: let the
            // tracker take them in before the attempts left are read.
            QMetaObject::invokeMethod(
                this, [this, reply, codeKind, done] { done(readReply(reply, codeKind)); },
                Qt::QueuedConnection);
        });
    });
}

PinBackend::Result OfonoPinBackend::readReply(
    const QDBusMessage &reply, const QString &codeKind) const
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Result::Ok;
    if (reply.errorName() != IncorrectPassword)
        return Result::Failed;
    if (codeKind.isEmpty())
        return Result::WrongCode;
    const QVariantMap retries
        = m_tracker->snapshot().properties.value(OfonoSim::RetriesProperty).toMap();
    return retries.value(codeKind, 1).toInt() > 0 ? Result::WrongCode : Result::Blocked;
}
