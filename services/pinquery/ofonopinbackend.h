#pragma once

#include "pinbackend.h"

class QDBusMessage;

namespace OfonoSim {
class SimTracker;
}

// Decides about codes by asking the SIM card itself, through the telephony
// service's SIM manager on the system bus (the simulated modem, or a real
// one). Attempts left and the PIN request state come from the SIM manager's
// properties, read the same way the applet's client libraries read them.
class OfonoPinBackend : public PinBackend
{
    Q_OBJECT

public:
    explicit OfonoPinBackend(QObject *parent = nullptr);
    ~OfonoPinBackend() override;

    void setPinRequest(bool enable, const QString &pin, Done done) override;
    void changePin(const QString &oldPin, const QString &newPin, Done done) override;
    void enterPin(const QString &pin, Done done) override;
    void resetPin(const QString &puk, const QString &newPin, Done done) override;
    void unlockSimLock(const QString &code, Done done) override;
    void attemptsLeft(CodeType type, Number done) override;
    void pinRequestState(Number done) override;
    // The SIM's state belongs to the modem; there is nothing to reset here.
    void reset() override;

    // How long a refused code waits for the card's new attempts left.
    static const int RecheckTimeoutMs = 5000;

private:
    // Calls a SIM manager method on the modem in use. A wrong code counts as
    // Blocked when it leaves no attempt for codeKind, else WrongCode.
    void callSim(
        const QString &method, const QVariantList &arguments, const QString &codeKind, Done done);
    // Decides about a refused code from the attempts left for codeKind,
    // which the service reports only after its error reply.
    void awaitRecheck(
        const QDBusMessage &reply, const QString &codeKind, int attemptsBefore, const Done &done);
    int attempts(const QString &codeKind) const;

    OfonoSim::SimTracker *m_tracker;
};
