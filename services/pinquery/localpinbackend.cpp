#include "localpinbackend.h"

#include <QTimer>

LocalPinBackend::LocalPinBackend(const Config &config, QObject *parent)
    : PinBackend(parent)
    , m_config(config)
{
    reset();
}

void LocalPinBackend::setPinRequest(bool enable, const QString &pin, Done done)
{
    const Result result = verifyPin(pin);
    if (result == Result::Ok) {
        m_pinRequest = enable;
    }
    later([done, result] { done(result); });
}

void LocalPinBackend::changePin(const QString &oldPin, const QString &newPin, Done done)
{
    const Result result = verifyPin(oldPin);
    if (result == Result::Ok) {
        m_pin = newPin;
    }
    later([done, result] { done(result); });
}

void LocalPinBackend::enterPin(const QString &pin, Done done)
{
    const Result result = verifyPin(pin);
    later([done, result] { done(result); });
}

void LocalPinBackend::resetPin(const QString &puk, const QString &newPin, Done done)
{
    Result result = Result::Blocked;
    if (m_pukAttempts > 0) {
        if (puk == m_config.puk) {
            m_pin = newPin;
            m_pinAttempts = PinAttempts;
            m_pukAttempts = PukAttempts;
            result = Result::Ok;
        } else {
            result = (--m_pukAttempts > 0) ? Result::WrongCode : Result::Blocked;
        }
    }
    later([done, result] { done(result); });
}

void LocalPinBackend::unlockSimLock(const QString &code, Done done)
{
    // An open lock accepts any code: there is nothing left to refuse.
    Result result = Result::Ok;
    if (m_simLocked) {
        if (code == m_config.unlockCode) {
            m_simLocked = false;
        } else {
            result = Result::WrongCode;
        }
    }
    later([done, result] { done(result); });
}

void LocalPinBackend::attemptsLeft(CodeType type, Number done)
{
    int attempts = UnknownAttempts;
    switch (type) {
    case CodeType::Pin:
        attempts = m_pinAttempts;
        break;
    case CodeType::Puk:
        attempts = m_pukAttempts;
        break;
    case CodeType::UnlockCode:
        break;
    }
    later([done, attempts] { done(attempts); });
}

void LocalPinBackend::pinRequestState(Number done)
{
    const int state = m_pinRequest ? PinRequestOn : PinRequestOff;
    later([done, state] { done(state); });
}

void LocalPinBackend::reset()
{
    m_pin = m_config.pin;
    m_pinRequest = m_config.pinRequest;
    m_simLocked = m_config.simLocked;
    m_pinAttempts = PinAttempts;
    m_pukAttempts = PukAttempts;
}

PinBackend::Result LocalPinBackend::verifyPin(const QString &pin)
{
    if (m_pinAttempts == 0) {
        return Result::Blocked;
    }
    if (pin == m_pin) {
        m_pinAttempts = PinAttempts;
        return Result::Ok;
    }
    return (--m_pinAttempts > 0) ? Result::WrongCode : Result::Blocked;
}

void LocalPinBackend::later(const std::function<void()> &answer)
{
    // Answers come from the event loop as a modem's would, so the dialogue
    // logic never gets used to answers from inside its own call.
    QTimer::singleShot(0, this, answer);
}
