#pragma once

#include "codeprompt.h"

// A prompt without a screen: questions wait for answers supplied from the
// command line or the control interface.
class HeadlessPrompt : public CodePrompt
{
    Q_OBJECT

public:
    explicit HeadlessPrompt(QObject *parent = nullptr);

protected:
    void showQuestion(Question question, int attemptsLeft, Notice notice) override;
    void hideQuestion() override;
};
