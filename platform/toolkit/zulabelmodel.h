#pragma once

#include "zuwidgetmodel.h"

#include <QString>
#include <QTextOption>

// Content of a ZuLabel.
class ZuLabelModel : public ZuWidgetModel
{
    Q_OBJECT

public:
    explicit ZuLabelModel(QObject *parent = nullptr);
    ~ZuLabelModel() override;

    QString text() const;
    void setText(const QString &text);
    bool textElide() const;
    void setTextElide(bool elide);
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment);
    bool wordWrap() const;
    void setWordWrap(bool wrap);
    QTextOption::WrapMode wrapMode() const;
    void setWrapMode(QTextOption::WrapMode mode);

private:
    QString m_text;
    bool m_textElide = false;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool m_wordWrap = false;
    QTextOption::WrapMode m_wrapMode = QTextOption::WordWrap;
};
