#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Where the PIN query service's decisions about codes are made: the SIM card
// itself, or a stand-in. Every operation answers exactly once through its
// callback, later from the event loop and never from inside the call. The
// dialogue logic knows nothing else about the backend.
class PinBackend : public QObject
{
    Q_OBJECT

public:
    enum class Result {
        Ok,
        WrongCode, // refused; the code still has attempts left
        Blocked, // refused, and no attempts are left for that code
        BadFormat, // refused unseen: a code of the wrong kind or format
        Failed, // could not be decided (no SIM, backend error)
    };
    enum class CodeType { Pin, Puk, UnlockCode };

    static const int UnknownAttempts = -1;
    // The PIN code request as the service reports it: on, off, or unknown.
    static const int PinRequestOn = 0;
    static const int PinRequestOff = 1;
    static const int PinRequestUnknown = -1;

    using Done = std::function<void(Result)>;
    using Number = std::function<void(int)>;

    explicit PinBackend(QObject *parent = nullptr);
    ~PinBackend() override;

    // Turns the PIN code request at power-up on or off; needs the PIN.
    virtual void setPinRequest(bool enable, const QString &pin, Done done) = 0;
    virtual void changePin(const QString &oldPin, const QString &newPin, Done done) = 0;
    // Opens a SIM card that waits for its PIN.
    virtual void enterPin(const QString &pin, Done done) = 0;
    // Unblocks a blocked PIN with the PUK and sets a new PIN.
    virtual void resetPin(const QString &puk, const QString &newPin, Done done) = 0;
    // Opens the SIM lock (personalisation lock).
    virtual void unlockSimLock(const QString &code, Done done) = 0;
    // Attempts left for a code, or UnknownAttempts.
    virtual void attemptsLeft(CodeType type, Number done) = 0;
    // PinRequestOn, PinRequestOff or PinRequestUnknown.
    virtual void pinRequestState(Number done) = 0;
    // Back to the state the service started with (test control).
    virtual void reset() = 0;
};
