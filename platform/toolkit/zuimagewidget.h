#pragma once

#include "zuwidgetcontroller.h"

// Shows one theme image, scaled to fit and centred.
class ZuImageWidget : public ZuWidgetController
{
    Q_OBJECT

public:
    explicit ZuImageWidget(QGraphicsItem *parent = nullptr);
    ~ZuImageWidget() override;

    // Picks the image by its theme id.
    void setImage(const QString &id);
    QString image() const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
        QWidget *widget = nullptr) override;

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;

private:
    QString m_image;
};
