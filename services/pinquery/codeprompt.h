#pragma once

#include <QObject>
#include <QQueue>
#include <QString>

#include <functional>

// Asks the user for one code at a time. Answers can also be supplied from
// outside (command line, control interface): they answer the open question,
// or wait in order for the next ones. Subclasses only show and hide the
// question.
class CodePrompt : public QObject
{
    Q_OBJECT

public:
    enum class Question { Pin, NewPin, NewPinAgain, Puk, UnlockCode };
    // Why a question is asked again.
    enum class Notice { None, WrongCode, BadFormat };
    // given is false when the question was cancelled.
    using Answer = std::function<void(bool given, const QString &code)>;

    static const int MinDigits = 4;
    static const int MaxDigits = 8;

    explicit CodePrompt(QObject *parent = nullptr);
    ~CodePrompt() override;

    static bool isValidCode(const QString &code);
    static QString questionName(Question question);

    // The answer comes later from the event loop, never from inside ask().
    // attemptsLeft is negative when unknown.
    void ask(Question question, int attemptsLeft, Notice notice, Answer answer);
    // Drops the open question without answering it.
    void abort();
    // False (and nothing supplied) unless the code is 4 to 8 digits.
    bool supplyCode(const QString &code);
    void supplyCancel();
    void clearSupplied();
    // The open question in words ("pin, 2 attempts left, after a wrong
    // code"), or "" when none is open.
    QString pendingQuestion() const;
    // What a notice tells the user, or "" for none.
    static QString noticeText(Notice notice);

protected:
    virtual void showQuestion(Question question, int attemptsLeft, Notice notice) = 0;
    virtual void hideQuestion() = 0;
    // For subclasses, when the user has answered.
    void answerWith(const QString &code);
    void cancelQuestion();

private:
    struct Supplied
    {
        bool given;
        QString code;
    };

    void takeSupplied();
    void finish(bool given, const QString &code);

    QQueue<Supplied> m_supplied;
    bool m_asking;
    Question m_question;
    int m_attemptsLeft;
    Notice m_notice;
    Answer m_answer;
};
