#include "pinquerycontrol.h"

#include "codeprompt.h"
#include "pinbackend.h"
#include "pincodequery.h"

const QString PinQueryControl::CancelAnswer = QStringLiteral("cancel");

PinQueryControl::PinQueryControl(PinCodeQuery *query, PinBackend *backend, CodePrompt *prompt,
    const QStringList &initialAnswers, CallLog *log, FaultInjector *faults, QObject *parent)
    : PeerControl(PinCodeQuery::Methods, log, faults, parent)
    , m_query(query)
    , m_backend(backend)
    , m_prompt(prompt)
    , m_initialAnswers(initialAnswers)
{ }

void PinQueryControl::supplyInitialAnswers()
{
    for (const QString &answer : qAsConst(m_initialAnswers)) {
        if (answer == CancelAnswer) {
            m_prompt->supplyCancel();
        } else {
            m_prompt->supplyCode(answer);
        }
    }
}

void PinQueryControl::EnterCode(const QString &code)
{
    if (!m_prompt->supplyCode(code)) {
        // The code itself is not repeated: it may be nearly right.
        refuse(QStringLiteral("a code is %1 to %2 digits")
                   .arg(CodePrompt::MinDigits)
                   .arg(CodePrompt::MaxDigits));
    }
}

void PinQueryControl::Cancel()
{
    m_prompt->supplyCancel();
}

QString PinQueryControl::PendingQuestion()
{
    return m_prompt->pendingQuestion();
}

void PinQueryControl::EmitPinQueryEnabled(int state, uint count)
{
    m_query->emitPinQueryEnabled(state, count);
}

void PinQueryControl::EmitSimLockUnlockComplete(bool success, uint count)
{
    m_query->emitSimLockUnlockComplete(success, count);
}

void PinQueryControl::resetState()
{
    m_query->abortAll();
    m_prompt->clearSupplied();
    m_backend->reset();
    supplyInitialAnswers();
}
