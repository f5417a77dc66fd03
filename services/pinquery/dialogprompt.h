#pragma once

#include "codeprompt.h"

class PinEntryDialog;

// A prompt that asks in a window on the display.
class DialogPrompt : public CodePrompt
{
    Q_OBJECT

public:
    explicit DialogPrompt(QObject *parent = nullptr);
    ~DialogPrompt() override;

protected:
    void showQuestion(Question question, int attemptsLeft, Notice notice) override;
    void hideQuestion() override;

private Q_SLOTS:
    void onAccepted();
    void onRejected();

private:
    PinEntryDialog *m_dialog;
};
