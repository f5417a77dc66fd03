#include "pincodequery.h"

#include "calllog.h"
#include "faultinjector.h"

#include <QDBusError>

const QStringList PinCodeQuery::Methods
    = { QStringLiteral("ChangePinCode"), QStringLiteral("SimLockUnlock"),
          QStringLiteral("EnablePinQuery"), QStringLiteral("LaunchPinQuery") };

namespace {
const QString PinCode = QStringLiteral("PIN");
const QString PukCode = QStringLiteral("PUK");
// The methods reply with nothing; a "wrong type" fault adds a number.
const int WrongReply = 0;
} // namespace

PinCodeQuery::PinCodeQuery(
    PinBackend *backend, CodePrompt *prompt, CallLog *log, FaultInjector *faults, QObject *parent)
    : QObject(parent)
    , m_backend(backend)
    , m_prompt(prompt)
    , m_log(log)
    , m_faults(faults)
{ }

void PinCodeQuery::abortAll()
{
    m_queue.clear();
    delete m_current;
}

void PinCodeQuery::emitPinQueryEnabled(int state, uint count)
{
    for (uint i = 0; i < count; ++i) {
        Q_EMIT PinQueryEnabled(state);
    }
}

void PinCodeQuery::emitSimLockUnlockComplete(bool success, uint count)
{
    for (uint i = 0; i < count; ++i) {
        Q_EMIT SimLockUnlockComplete(success);
    }
}

void PinCodeQuery::ChangePinCode()
{
    request(PinDialogue::Kind::ChangePin);
}

void PinCodeQuery::SimLockUnlock()
{
    request(PinDialogue::Kind::UnlockSimLock);
}

void PinCodeQuery::EnablePinQuery(bool enable)
{
    request(enable ? PinDialogue::Kind::EnablePinRequest : PinDialogue::Kind::DisablePinRequest);
}

void PinCodeQuery::LaunchPinQuery(const QString &code)
{
    if (code == PinCode) {
        request(PinDialogue::Kind::EnterPin);
    } else if (code == PukCode) {
        request(PinDialogue::Kind::EnterPuk);
    } else {
        m_log->record(message());
        sendErrorReply(QDBusError::InvalidArgs,
            QStringLiteral("LaunchPinQuery knows the codes %1 and %2").arg(PinCode, PukCode));
    }
}

void PinCodeQuery::request(PinDialogue::Kind kind)
{
    m_log->record(message());
    setDelayedReply(true);
    m_faults->answer(connection(), message(), {}, WrongReply, [this, kind]() {
        m_queue.enqueue(kind);
        if (!m_current) {
            startNext();
        }
    });
}

void PinCodeQuery::startNext()
{
    if (m_queue.isEmpty()) {
        return;
    }
    m_current = new PinDialogue(m_queue.dequeue(), m_backend, m_prompt, this);
    connect(m_current, SIGNAL(pinQueryEnabled(int)), this, SIGNAL(PinQueryEnabled(int)));
    connect(
        m_current, SIGNAL(simLockUnlockComplete(bool)), this, SIGNAL(SimLockUnlockComplete(bool)));
    connect(m_current, SIGNAL(finished()), this, SLOT(onDialogueFinished()));
    m_current->start();
}

void PinCodeQuery::onDialogueFinished()
{
    // Called from inside the dialogue's own code: it may only go later.
    m_current->deleteLater();
    m_current = nullptr;
    startNext();
}
