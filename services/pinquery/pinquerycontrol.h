#pragma once

#include "peercontrol.h"

class CodePrompt;
class PinBackend;
class PinCodeQuery;

// Control of the reference PIN query service (interface
// "com.tavik.sim.PinQueryControl" beside the shared peer control).
class PinQueryControl : public PeerControl
{
    Q_OBJECT

public:
    // initialAnswers: the answers from the command line, supplied again on reset.
    PinQueryControl(PinCodeQuery *query, PinBackend *backend, CodePrompt *prompt,
        const QStringList &initialAnswers, CallLog *log, FaultInjector *faults,
        QObject *parent = nullptr);

    static const QString CancelAnswer;
    void supplyInitialAnswers();

public Q_SLOTS:
    void EnterCode(const QString &code);
    void Cancel();
    QString PendingQuestion();
    void EmitPinQueryEnabled(int state, uint count);
    void EmitSimLockUnlockComplete(bool success, uint count);

protected:
    void resetState() override;

private:
    PinCodeQuery *m_query;
    PinBackend *m_backend;
    CodePrompt *m_prompt;
    QStringList m_initialAnswers;
};
