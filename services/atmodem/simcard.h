#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The SIM card and the few modem commands around it, as AT text: PIN and PUK
// with attempts counting down, the PIN lock, ICCID and IMSI reads. It knows
// nothing of sockets; the modem feeds it one command line at a time.
class SimCard : public QObject
{
    Q_OBJECT

public:
    enum State { PinAsked, PukAsked, Ready, Absent, Dead };
    Q_ENUM(State)

    // The states' names on the command line and the control interface.
    static const QStringList StateNames;
    static const int PinAttempts = 3;
    static const int PukAttempts = 10;

    struct Settings
    {
        QString pin = QStringLiteral("1234");
        QString puk = QStringLiteral("12345678");
        QString iccid = QStringLiteral("8949000000000000001");
        QString imsi = QStringLiteral("246813579135790");
        State state = PinAsked;
        bool pinLock = true;
    };

    // How soon an answer comes: real cards take their time for file reads
    // and for the PIN state and attempt counters.
    enum Pace { Immediate, FileRead, PinStatus };

    struct Answer
    {
        QStringList lines;
        QString result;
        Pace pace = Immediate;
    };

    explicit SimCard(const Settings &settings, QObject *parent = nullptr);

    Answer answer(const QString &command);
    State state() const { return m_state; }
    bool pinLock() const { return m_pinLock; }
    // A new card in the given state, with full attempts and the start codes.
    void replace(State state, bool pinLock);
    void remove();
    void insert();
    // Reports the card as taken out and put back, so that the modem reads it again.
    void restart();

Q_SIGNALS:
    void unsolicited(const QString &line);
    // After an accepted PIN or PUK the card starts: reported as re-inserted.
    void codeAccepted();

private:
    Answer pinEntry(const QStringList &codes);
    Answer lockCommand(const QStringList &arguments);
    Answer changePin(const QStringList &arguments);
    Answer readFile(const QStringList &arguments) const;
    // Checks the PIN of a lock or change command; a wrong one costs an attempt.
    bool checkPin(const QString &pin, Answer *refusal);

    Settings m_settings;
    State m_state;
    State m_stateBeforeRemoval;
    QString m_pin;
    bool m_pinLock;
    int m_pinLeft;
    int m_pukLeft;
};
