#pragma once

#include "defaultcodes.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

// The simulated SIM card behind the modem: presence, start-up, PIN and PUK
// with their attempt counters, the PIN request at power-up and a
// personalisation lock. It knows nothing of D-Bus: its properties use the
// names and values of the telephony SIM manager, its property changes come in
// the service's order, and every operation says which of that API's errors it
// would answer.
class SimModel : public QObject
{
    Q_OBJECT

public:
    enum class Result {
        Ok,
        Failed,
        InvalidFormat,
        NotImplemented,
        InProgress,
        IncorrectPassword,
        InvalidArguments,
        NotAvailable,
    };

    static const int PinAttempts = 3;
    static const int PukAttempts = 10;
    // The telephony service reads a card for about this long after power-up
    // or insertion, showing it as a card that asks for nothing meanwhile.
    static const int DefaultStartUpMs = 1500;
    // How long the service takes, after it has refused a wrong code, to read
    // the card's new PIN state and attempts left.
    static const int DefaultRecheckMs = 2000;
    static const QString SubscriberIdentity;
    static const QString CardIdentifier;

    struct Config
    {
        bool present = true;
        bool pinRequest = true;
        // Whether the PIN is asked at start (only with the request on).
        bool pinRequired = true;
        QString pin = DefaultCodes::Pin;
        QString puk = DefaultCodes::Puk;
        QString unlockCode = DefaultCodes::UnlockCode;
        bool simLocked = false;
        QString lockType = QStringLiteral("network");
        // How long the card is read after power-up, insertion or opening its
        // SIM lock.
        int startUpMs = DefaultStartUpMs;
        // The delay between a wrong code's error reply and the report of its
        // consequences; 0 reports them before the reply (a fault: the
        // service never does).
        int recheckMs = DefaultRecheckMs;
        // What a wrong code is answered with: Failed as the service does, or
        // IncorrectPassword (a fault).
        Result wrongCode = Result::Failed;
    };

    explicit SimModel(const Config &config, QObject *parent = nullptr);

    // Why a configuration cannot be used, or an empty string.
    static QString configProblem(const Config &config);
    static QString errorName(Result result);
    static QString errorMessage(Result result);
    static bool isPinFormat(const QString &code);
    static bool isPukFormat(const QString &code);
    static bool isUnlockCodeFormat(const QString &code);

    // The SIM manager's properties: only Present while no card is inserted;
    // while the card is read, a card that asks for nothing, without its
    // identities; Retries as a map from code type to int.
    QVariantMap properties() const;
    // One of "absent", "starting", "pin", "puk", "blocked", "locked", "ready".
    QString state() const;

    Result enterPin(const QString &type, const QString &code);
    Result resetPin(const QString &type, const QString &puk, const QString &newPin);
    Result changePin(const QString &type, const QString &oldPin, const QString &newPin);
    Result lockPin(const QString &type, const QString &pin);
    Result unlockPin(const QString &type, const QString &pin);

    void insert();
    void remove();
    // The modem's power: off forgets an entered PIN; on reads the card afresh.
    // Neither is reported: the SIM manager comes and goes with the power, and
    // its listeners read it when it comes.
    void setPowered(bool powered);
    // Holds the card in its start-up phase (false) or ends it now (true).
    void setReady(bool ready);
    void setSimLocked(bool locked);
    // Puts the card straight into one of the states that state() names.
    bool setState(const QString &state);
    void reset();

Q_SIGNALS:
    void propertyChanged(const QString &name, const QVariant &value);

private:
    Result setPinLock(const QString &type, const QString &pin, bool on);
    QString pinRequired() const;
    bool pinBlocked() const { return m_pinAttempts <= 0; }
    bool pukBlocked() const { return m_pukAttempts <= 0; }
    Result checkReady(const QString &type) const;
    Result verifyPin(const QString &pin);
    // Counts a wrong code against counter, now or after the recheck delay.
    Result wrongCode(int *pendingMisses);
    // Reports the misses counted since the last wrong code.
    void recheck();
    void startUp();
    // Applies a change and reports what it moved, in the service's order.
    // always is reported even when unchanged.
    template <typename Change> void change(Change apply, const QString &always = QString());

    Config m_config;
    bool m_present = false;
    bool m_ready = false;
    bool m_pinRequest = false;
    bool m_pinEntered = false;
    bool m_simLocked = false;
    QString m_pin;
    int m_pinAttempts = PinAttempts;
    int m_pukAttempts = PukAttempts;
    int m_pinMisses = 0;
    int m_pukMisses = 0;
    QTimer m_startUp;
    QTimer m_recheck;
};
