#include "headlessprompt.h"

#include <cstdio>

HeadlessPrompt::HeadlessPrompt(QObject *parent)
    : CodePrompt(parent)
{ }

void HeadlessPrompt::showQuestion(Question question, int attemptsLeft, Notice notice)
{
    // Tells a person at the terminal what to supply; never a code.
    std::fprintf(stdout, "pin-query-service: waiting for the %s (attempts left: %s)%s%s\n",
        qPrintable(questionName(question)),
        attemptsLeft < 0 ? "unknown" : qPrintable(QString::number(attemptsLeft)),
        notice == Notice::None ? "" : ", ", qPrintable(noticeText(notice)));
    std::fflush(stdout);
}

void HeadlessPrompt::hideQuestion() { }
