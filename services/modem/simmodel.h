#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

// The simulated SIM card behind the modem: presence, start-up, PIN and PUK
// with their attempt counters, the PIN request at power-up and a
// personalisation lock. It knows nothing of D-Bus: its properties use the
// names and values of the telephony SIM manager, and every operation says
// which of that API's errors it would answer.
class SimModel : public QObject
{
    Q_OBJECT

public:
    enum class Result { Ok, Failed, InvalidFormat, NotImplemented, InProgress, IncorrectPassword };

    static const int PinAttempts = 3;
    static const int PukAttempts = 10;
    static const int DefaultStartUpMs = 300;

    struct Config
    {
        bool present = true;
        bool pinRequest = true;
        // Whether the PIN is asked at start (only with the request on).
        bool pinRequired = true;
        QString pin = QStringLiteral("1234");
        QString puk = QStringLiteral("12345678");
        QString unlockCode = QStringLiteral("11223344");
        bool simLocked = false;
        QString lockType = QStringLiteral("network");
        // How long the card takes to start after insertion or after the SIM
        // lock was opened.
        int startUpMs = DefaultStartUpMs;
    };

    explicit SimModel(const Config &config, QObject *parent = nullptr);

    // Why a configuration cannot be used, or an empty string.
    static QString configProblem(const Config &config);
    static QString errorName(Result result);
    static QString errorMessage(Result result);
    static bool isPinFormat(const QString &code);
    static bool isPukFormat(const QString &code);
    static bool isUnlockCodeFormat(const QString &code);

    // The SIM manager's properties: only Present while no card is inserted
    // or the card is starting; Retries as a map from code type to int.
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
    // Holds the card in its start-up phase (false) or ends it now (true).
    void setReady(bool ready);
    void setSimLocked(bool locked);
    // Puts the card straight into one of the states that state() names.
    bool setState(const QString &state);
    void reset();

Q_SIGNALS:
    void propertyChanged(const QString &name, const QVariant &value);

private:
    QString pinRequired() const;
    bool pinBlocked() const { return m_pinAttempts <= 0; }
    bool pukBlocked() const { return m_pukAttempts <= 0; }
    Result checkReady(const QString &type, const QString &wanted) const;
    Result verifyPin(const QString &pin);
    void startUp();
    // Applies a change and reports every property that it moved, Present first.
    template <typename Change> void change(Change apply);

    Config m_config;
    bool m_present = false;
    bool m_ready = false;
    bool m_pinRequest = false;
    bool m_pinEntered = false;
    bool m_simLocked = false;
    QString m_pin;
    int m_pinAttempts = PinAttempts;
    int m_pukAttempts = PukAttempts;
    QTimer m_startUp;
};
