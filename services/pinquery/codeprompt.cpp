#include "codeprompt.h"

#include <QRegularExpression>
#include <QStringList>

CodePrompt::CodePrompt(QObject *parent)
    : QObject(parent)
    , m_asking(false)
    , m_question(Question::Pin)
    , m_attemptsLeft(-1)
    , m_notice(Notice::None)
{ }

CodePrompt::~CodePrompt() = default;

bool CodePrompt::isValidCode(const QString &code)
{
    static const QRegularExpression digits(
        QStringLiteral("^[0-9]{%1,%2}$").arg(MinDigits).arg(MaxDigits));
    return digits.match(code).hasMatch();
}

QString CodePrompt::questionName(Question question)
{
    switch (question) {
    case Question::Pin:
        return QStringLiteral("pin");
    case Question::NewPin:
        return QStringLiteral("new-pin");
    case Question::NewPinAgain:
        return QStringLiteral("new-pin-again");
    case Question::Puk:
        return QStringLiteral("puk");
    case Question::UnlockCode:
        return QStringLiteral("unlock-code");
    }
    return QString();
}

QString CodePrompt::noticeText(Notice notice)
{
    switch (notice) {
    case Notice::None:
        break;
    case Notice::WrongCode:
        return QStringLiteral("after a wrong code");
    case Notice::BadFormat:
        return QStringLiteral("after a code of the wrong kind or format");
    }
    return QString();
}

void CodePrompt::ask(Question question, int attemptsLeft, Notice notice, Answer answer)
{
    m_asking = true;
    m_question = question;
    m_attemptsLeft = attemptsLeft;
    m_notice = notice;
    m_answer = std::move(answer);
    if (m_supplied.isEmpty()) {
        showQuestion(question, attemptsLeft, notice);
    } else {
        QMetaObject::invokeMethod(this, &CodePrompt::takeSupplied, Qt::QueuedConnection);
    }
}

void CodePrompt::abort()
{
    if (m_asking) {
        m_asking = false;
        m_answer = nullptr;
        hideQuestion();
    }
}

bool CodePrompt::supplyCode(const QString &code)
{
    if (!isValidCode(code)) {
        return false;
    }
    m_supplied.enqueue({ true, code });
    takeSupplied();
    return true;
}

void CodePrompt::supplyCancel()
{
    m_supplied.enqueue({ false, QString() });
    takeSupplied();
}

void CodePrompt::clearSupplied()
{
    m_supplied.clear();
}

QString CodePrompt::pendingQuestion() const
{
    if (!m_asking) {
        return QString();
    }
    QStringList parts { questionName(m_question) };
    if (m_attemptsLeft >= 0) {
        parts << QStringLiteral("%1 attempts left").arg(m_attemptsLeft);
    }
    if (m_notice != Notice::None) {
        parts << noticeText(m_notice);
    }
    return parts.join(QStringLiteral(", "));
}

void CodePrompt::answerWith(const QString &code)
{
    if (m_asking && isValidCode(code)) {
        finish(true, code);
    }
}

void CodePrompt::cancelQuestion()
{
    if (m_asking) {
        finish(false, QString());
    }
}

void CodePrompt::takeSupplied()
{
    if (m_asking && !m_supplied.isEmpty()) {
        const Supplied supplied = m_supplied.dequeue();
        finish(supplied.given, supplied.code);
    }
}

void CodePrompt::finish(bool given, const QString &code)
{
    m_asking = false;
    hideQuestion();
    // The answer may well ask the next question at once.
    const Answer answer = std::move(m_answer);
    m_answer = nullptr;
    answer(given, code);
}
