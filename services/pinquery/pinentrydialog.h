#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// The code entry window: digits only, masked, OK only with 4 to 8 digits.
class PinEntryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PinEntryDialog(QWidget *parent = nullptr);

    // Clears the field; attemptsLeft is shown when not negative.
    void setQuestion(const QString &text, int attemptsLeft);
    QString code() const;
    // A code should not linger in a hidden window.
    void clearCode();

private Q_SLOTS:
    void onTextChanged();

private:
    QLabel *m_question;
    QLabel *m_attempts;
    QLineEdit *m_code;
    QDialogButtonBox *m_buttons;
};
