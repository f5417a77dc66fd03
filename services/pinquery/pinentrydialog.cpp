#include "pinentrydialog.h"

#include "codeprompt.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

PinEntryDialog::PinEntryDialog(QWidget *parent)
    : QDialog(parent)
    , m_question(new QLabel(this))
    , m_attempts(new QLabel(this))
    , m_code(new QLineEdit(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("SIM card"));
    m_code->setEchoMode(QLineEdit::Password);
    m_code->setMaxLength(CodePrompt::MaxDigits);
    m_code->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    m_code->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(CodePrompt::MaxDigits)), m_code));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_question);
    layout->addWidget(m_code);
    layout->addWidget(m_attempts);
    layout->addWidget(m_buttons);

    connect(m_code, SIGNAL(textChanged(QString)), this, SLOT(onTextChanged()));
    connect(m_buttons, SIGNAL(accepted()), this, SLOT(accept()));
    connect(m_buttons, SIGNAL(rejected()), this, SLOT(reject()));
    onTextChanged();
}

void PinEntryDialog::setQuestion(const QString &text, int attemptsLeft)
{
    m_question->setText(text);
    m_attempts->setText(attemptsLeft < 0 ? QString() : tr("Attempts left: %1").arg(attemptsLeft));
    m_attempts->setVisible(attemptsLeft >= 0);
    m_code->clear();
    m_code->setFocus();
}

QString PinEntryDialog::code() const
{
    return m_code->text();
}

void PinEntryDialog::clearCode()
{
    m_code->clear();
}

void PinEntryDialog::onTextChanged()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(CodePrompt::isValidCode(m_code->text()));
}
