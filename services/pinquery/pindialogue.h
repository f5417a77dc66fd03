#pragma once

#include "codeprompt.h"
#include "pinbackend.h"

#include <QObject>
#include <QPointer>

// One dialogue of the PIN query service, from its first question to its
// outcome: which codes to ask for, in which order, what to do with a wrong
// one, and which result to report. Codes go from the prompt to the backend
// and nowhere else.
class PinDialogue : public QObject
{
    Q_OBJECT

public:
    enum class Kind {
        ChangePin,
        UnlockSimLock,
        EnablePinRequest,
        DisablePinRequest,
        EnterPin,
        EnterPuk,
    };

    PinDialogue(Kind kind, PinBackend *backend, CodePrompt *prompt, QObject *parent = nullptr);
    // Closes an open question: a dialogue destroyed early reports nothing.
    ~PinDialogue() override;

    void start();

Q_SIGNALS:
    // 0 on, 1 off, -1 when cancelled or failed (PIN request dialogues only).
    void pinQueryEnabled(int state);
    // Unlock dialogues only.
    void simLockUnlockComplete(bool success);
    // Emitted once, last.
    void finished();

private:
    using CodeThen = std::function<void(const QString &)>;

    void askPin(const CodeThen &then);
    void askNewPin(const CodeThen &then);
    void askPuk();
    void ask(CodePrompt::Question question, int attemptsLeft, const CodeThen &then);

    void runPinRequest(bool enable);
    void runChangePin();
    void runUnlock();
    void runEnterPin();

    // Wraps a callback so that it does nothing once this dialogue is gone.
    template <typename F> auto guarded(F f);
    // The next question is asked again after a refused code.
    void askAgainAfter(PinBackend::Result result);
    // Reports the PIN request state once per dialogue.
    void reportPinQuery(int state);
    void cancelled();
    void finish();

    Kind m_kind;
    QPointer<PinBackend> m_backend;
    QPointer<CodePrompt> m_prompt;
    CodePrompt::Notice m_notice;
    bool m_reported;
    bool m_finished;
};
