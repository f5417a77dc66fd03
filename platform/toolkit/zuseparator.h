#pragma once

#include "zuwidgetcontroller.h"

// A thin divider line across (horizontal) or down (vertical) its space.
class ZuSeparator : public ZuWidgetController
{
    Q_OBJECT

public:
    explicit ZuSeparator(
        QGraphicsItem *parent = nullptr, Qt::Orientation orientation = Qt::Horizontal);
    ~ZuSeparator() override;

    Qt::Orientation orientation() const;
    void setOrientation(Qt::Orientation orientation);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
        QWidget *widget = nullptr) override;

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;

private:
    Qt::Orientation m_orientation;
};
