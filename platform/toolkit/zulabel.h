#pragma once

#include "zuwidgetcontroller.h"

#include <QTextOption>

class ZuLabelModel;

// A line of text, elided to fit or wrapped over several lines. A wrapping
// label reports height-for-width, so layouts give it the lines it needs.
class ZuLabel : public ZuWidgetController
{
    Q_OBJECT

public:
    // With a null model the label makes its own.
    explicit ZuLabel(QGraphicsItem *parent = nullptr, ZuLabelModel *model = nullptr);
    ~ZuLabel() override;

    ZuLabelModel *model() const;

    void setText(const QString &text);
    QString text() const;
    void setTextElide(bool elide);
    bool textElide() const;
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const;
    void setWordWrap(bool wrap);
    bool wordWrap() const;
    void setWrapMode(QTextOption::WrapMode mode);
    QTextOption::WrapMode wrapMode() const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
        QWidget *widget = nullptr) override;

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;

private:
    void onModelModified(const QString &member);
};
