#pragma once

#include "pinbackend.h"

// A backend that decides from codes it was given at start, for running the
// service without a modem.
class LocalPinBackend : public PinBackend
{
    Q_OBJECT

public:
    static const int PinAttempts = 3;
    static const int PukAttempts = 10;

    struct Config
    {
        QString pin;
        QString puk;
        QString unlockCode;
        bool pinRequest;
        bool simLocked;
    };

    explicit LocalPinBackend(const Config &config, QObject *parent = nullptr);

    void setPinRequest(bool enable, const QString &pin, Done done) override;
    void changePin(const QString &oldPin, const QString &newPin, Done done) override;
    void enterPin(const QString &pin, Done done) override;
    void resetPin(const QString &puk, const QString &newPin, Done done) override;
    void unlockSimLock(const QString &code, Done done) override;
    void attemptsLeft(CodeType type, Number done) override;
    void pinRequestState(Number done) override;
    void reset() override;

private:
    Result verifyPin(const QString &pin);
    void later(const std::function<void()> &answer);

    Config m_config;
    QString m_pin;
    bool m_pinRequest;
    bool m_simLocked;
    int m_pinAttempts;
    int m_pukAttempts;
};
