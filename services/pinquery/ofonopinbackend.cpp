#include "ofonopinbackend.h"

#include "ofononames.h"
#include "simtracker.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace {
const QString PinKind = QStringLiteral("pin");
const QString PukKind = QStringLiteral("puk");
// How the service refuses a code: a wrong one (Failed, or IncorrectPassword
// from other services), or one of the wrong kind or format, which costs no
// attempt.
const QString Failed = QStringLiteral("org.ofono.Error.Failed");
const QString IncorrectPassword = QStringLiteral("org.ofono.Error.IncorrectPassword");
const QString InvalidFormat = QStringLiteral("org.ofono.Error.InvalidFormat");
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

int OfonoPinBackend::attempts(const QString &codeKind) const
{
    const QVariantMap retries
        = m_tracker->snapshot().properties.value(OfonoSim::RetriesProperty).toMap();
    return retries.contains(codeKind) ? retries.value(codeKind).toInt() : UnknownAttempts;
}

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
        const int before = attempts(codeKind);
        auto *watcher
            = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, codeKind, before, done] {
                watcher->deleteLater();
                const QDBusMessage reply = watcher->reply();
                if (reply.type() == QDBusMessage::ReplyMessage) {
                    done(Result::Ok);
                } else if (reply.errorName() == InvalidFormat) {
                    done(Result::BadFormat);
                } else if (reply.errorName() != Failed && reply.errorName() != IncorrectPassword) {
                    done(Result::Failed);
                } else if (codeKind.isEmpty()) {
                    done(Result::WrongCode); // the unlock code counts no attempts
                } else {
                    awaitRecheck(reply, codeKind, before, done);
                }
            });
    });
}

void OfonoPinBackend::awaitRecheck(
    const QDBusMessage &reply, const QString &codeKind, int attemptsBefore, const Done &done)
{
    // The service answers first and reports the new count later, after it
    // asked the card; some modems report it earlier, some never. So the
    // count is read now and on each change until it moves, whatever came
    // first; without a move, only IncorrectPassword says the code was wrong.
    // The wait ends with its context object; the decision is made once.
    // A count that was not known before the attempt (the card was still
    // being read) is no move when it arrives: it may be the count from before
    // the attempt, so it only becomes the one to compare with. Once the wait
    // is over, a count that came only during it is trusted.
    auto *wait = new QObject(this);
    auto decided = std::make_shared<bool>(false);
    auto before = std::make_shared<int>(attemptsBefore);
    auto decide = [this, wait, decided, before, attemptsBefore, codeKind, reply, done](
                      bool timedOut) {
        if (*decided)
            return;
        const int now = attempts(codeKind);
        if (!timedOut && *before == UnknownAttempts && now != UnknownAttempts) {
            *before = now;
            return;
        }
        const bool moved = now != UnknownAttempts
            && (now != *before || (timedOut && attemptsBefore == UnknownAttempts));
        if (!moved && !timedOut)
            return;
        Result result = now > 0 ? Result::WrongCode : Result::Blocked;
        if (!moved) {
            const QString required
                = m_tracker->snapshot().properties.value(OfonoSim::PinRequiredProperty).toString();
            if (codeKind == PinKind && required == PukKind)
                result = Result::Blocked;
            else
                result
                    = reply.errorName() == IncorrectPassword ? Result::WrongCode : Result::Failed;
        }
        *decided = true;
        wait->deleteLater();
        done(result);
    };
    connect(m_tracker, &OfonoSim::SimTracker::snapshotChanged, wait, [decide] { decide(false); });
    QTimer::singleShot(RecheckTimeoutMs, wait, [decide] { decide(true); });
    // Queued: an answer never comes from inside the reply's handler.
    QMetaObject::invokeMethod(
        wait, [decide] { decide(false); }, Qt::QueuedConnection);
}
