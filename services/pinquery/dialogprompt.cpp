#include "dialogprompt.h"

#include "pinentrydialog.h"

DialogPrompt::DialogPrompt(QObject *parent)
    : CodePrompt(parent)
    , m_dialog(nullptr)
{ }

DialogPrompt::~DialogPrompt()
{
    delete m_dialog;
}

void DialogPrompt::showQuestion(Question question, int attemptsLeft, Notice notice)
{
    if (!m_dialog) {
        m_dialog = new PinEntryDialog;
        connect(m_dialog, SIGNAL(accepted()), this, SLOT(onAccepted()));
        connect(m_dialog, SIGNAL(rejected()), this, SLOT(onRejected()));
    }
    QString text;
    switch (question) {
    case Question::Pin:
        text = tr("Enter the PIN code");
        break;
    case Question::NewPin:
        text = tr("Enter the new PIN code");
        break;
    case Question::NewPinAgain:
        text = tr("Enter the new PIN code again");
        break;
    case Question::Puk:
        text = tr("The PIN code is blocked. Enter the PUK code");
        break;
    case Question::UnlockCode:
        text = tr("Enter the SIM lock unlock code");
        break;
    }
    switch (notice) {
    case Notice::None:
        break;
    case Notice::WrongCode:
        text = tr("Wrong code.") + QLatin1Char('\n') + text;
        break;
    case Notice::BadFormat:
        text = tr("This code is not accepted here: check that it is the right code and "
                  "has the right number of digits.")
            + QLatin1Char('\n') + text;
        break;
    }
    m_dialog->setQuestion(text, attemptsLeft);
    m_dialog->open();
}

void DialogPrompt::hideQuestion()
{
    if (m_dialog) {
        m_dialog->hide();
        m_dialog->clearCode();
    }
}

void DialogPrompt::onAccepted()
{
    answerWith(m_dialog->code());
}

void DialogPrompt::onRejected()
{
    cancelQuestion();
}
