#include "pindialogue.h"

using Question = CodePrompt::Question;
using Result = PinBackend::Result;
using CodeType = PinBackend::CodeType;

PinDialogue::PinDialogue(Kind kind, PinBackend *backend, CodePrompt *prompt, QObject *parent)
    : QObject(parent)
    , m_kind(kind)
    , m_backend(backend)
    , m_prompt(prompt)
    , m_notice(CodePrompt::Notice::None)
    , m_reported(false)
    , m_finished(false)
{ }

PinDialogue::~PinDialogue()
{
    if (!m_finished && m_prompt) {
        m_prompt->abort();
    }
}

template <typename F> auto PinDialogue::guarded(F f)
{
    return [self = QPointer<PinDialogue>(this), f](auto &&...args) {
        if (self && !self->m_finished) {
            f(std::forward<decltype(args)>(args)...);
        }
    };
}

void PinDialogue::start()
{
    switch (m_kind) {
    case Kind::EnablePinRequest:
        runPinRequest(true);
        break;
    case Kind::DisablePinRequest:
        runPinRequest(false);
        break;
    case Kind::ChangePin:
        runChangePin();
        break;
    case Kind::UnlockSimLock:
        runUnlock();
        break;
    case Kind::EnterPin:
        runEnterPin();
        break;
    case Kind::EnterPuk:
        askPuk();
        break;
    }
}

void PinDialogue::runPinRequest(bool enable)
{
    askPin([this, enable](const QString &pin) {
        m_backend->setPinRequest(enable, pin, guarded([this, enable](Result result) {
            switch (result) {
            case Result::Ok:
                reportPinQuery(enable ? PinBackend::PinRequestOn : PinBackend::PinRequestOff);
                finish();
                break;
            case Result::WrongCode:
            case Result::BadFormat:
                askAgainAfter(result);
                runPinRequest(enable);
                break;
            case Result::Blocked:
                // The request stays as it was; the card now wants its PUK.
                reportPinQuery(PinBackend::PinRequestUnknown);
                askPuk();
                break;
            case Result::Failed:
                reportPinQuery(PinBackend::PinRequestUnknown);
                finish();
                break;
            }
        }));
    });
}

void PinDialogue::runChangePin()
{
    askPin([this](const QString &oldPin) {
        askNewPin([this, oldPin](const QString &newPin) {
            m_backend->changePin(oldPin, newPin, guarded([this](Result result) {
                switch (result) {
                case Result::WrongCode:
                case Result::BadFormat:
                    askAgainAfter(result);
                    runChangePin();
                    break;
                case Result::Blocked:
                    askPuk();
                    break;
                case Result::Ok:
                case Result::Failed:
                    finish();
                    break;
                }
            }));
        });
    });
}

void PinDialogue::runUnlock()
{
    m_backend->attemptsLeft(CodeType::UnlockCode, guarded([this](int attempts) {
        ask(Question::UnlockCode, attempts, [this](const QString &code) {
            m_backend->unlockSimLock(code, guarded([this](Result result) {
                if (result == Result::BadFormat) {
                    askAgainAfter(result);
                    runUnlock();
                    return;
                }
                Q_EMIT simLockUnlockComplete(result == Result::Ok);
                finish();
            }));
        });
    }));
}

void PinDialogue::runEnterPin()
{
    m_backend->attemptsLeft(CodeType::Pin, guarded([this](int attempts) {
        // A card that wants its PUK is not asked for the PIN first.
        if (attempts == 0) {
            askPuk();
            return;
        }
        ask(Question::Pin, attempts, [this](const QString &pin) {
            m_backend->enterPin(pin, guarded([this](Result result) {
                switch (result) {
                case Result::Ok:
                case Result::Failed:
                    finish();
                    break;
                case Result::WrongCode:
                case Result::BadFormat:
                    askAgainAfter(result);
                    runEnterPin();
                    break;
                case Result::Blocked:
                    askPuk();
                    break;
                }
            }));
        });
    }));
}

void PinDialogue::askPuk()
{
    m_backend->attemptsLeft(CodeType::Puk, guarded([this](int attempts) {
        ask(Question::Puk, attempts, [this](const QString &puk) {
            askNewPin([this, puk](const QString &newPin) {
                m_backend->resetPin(puk, newPin, guarded([this](Result result) {
                    if (result == Result::WrongCode || result == Result::BadFormat) {
                        askAgainAfter(result);
                        askPuk();
                    } else {
                        finish();
                    }
                }));
            });
        });
    }));
}

void PinDialogue::askPin(const CodeThen &then)
{
    m_backend->attemptsLeft(
        CodeType::Pin, guarded([this, then](int attempts) { ask(Question::Pin, attempts, then); }));
}

void PinDialogue::askNewPin(const CodeThen &then)
{
    ask(Question::NewPin, PinBackend::UnknownAttempts, [this, then](const QString &newPin) {
        ask(Question::NewPinAgain, PinBackend::UnknownAttempts,
            [this, then, newPin](const QString &again) {
                if (again == newPin) {
                    then(newPin);
                } else {
                    // Typed differently twice: start the new code over.
                    askNewPin(then);
                }
            });
    });
}

void PinDialogue::ask(Question question, int attemptsLeft, const CodeThen &then)
{
    if (!m_prompt || !m_backend) {
        cancelled();
        return;
    }
    const CodePrompt::Notice notice = std::exchange(m_notice, CodePrompt::Notice::None);
    m_prompt->ask(
        question, attemptsLeft, notice, guarded([this, then](bool given, const QString &code) {
            if (given) {
                then(code);
            } else {
                cancelled();
            }
        }));
}

void PinDialogue::askAgainAfter(Result result)
{
    m_notice = result == Result::BadFormat ? CodePrompt::Notice::BadFormat
                                           : CodePrompt::Notice::WrongCode;
}

void PinDialogue::reportPinQuery(int state)
{
    if (!m_reported) {
        m_reported = true;
        Q_EMIT pinQueryEnabled(state);
    }
}

void PinDialogue::cancelled()
{
    switch (m_kind) {
    case Kind::EnablePinRequest:
    case Kind::DisablePinRequest:
        reportPinQuery(PinBackend::PinRequestUnknown);
        break;
    case Kind::UnlockSimLock:
        Q_EMIT simLockUnlockComplete(false);
        break;
    case Kind::ChangePin:
    case Kind::EnterPin:
    case Kind::EnterPuk:
        break;
    }
    finish();
}

void PinDialogue::finish()
{
    if (!m_finished) {
        m_finished = true;
        Q_EMIT finished();
    }
}
