#pragma once

#include <Qt>
#include <QtGlobal>

class QGraphicsLayoutItem;
class QGraphicsLinearLayout;
class ZuLayout;

// Arranges a ZuLayout's items in a row or column. The policy belongs to the
// layout it is made on and becomes that layout's active policy.
class ZuLinearLayoutPolicy
{
public:
    ZuLinearLayoutPolicy(ZuLayout *layout, Qt::Orientation orientation);
    ~ZuLinearLayoutPolicy();

    ZuLayout *layout() const;
    Qt::Orientation orientation() const;

    void addItem(QGraphicsLayoutItem *item);
    void insertItem(int index, QGraphicsLayoutItem *item);
    // Takes the item out of the policy; the item itself is not destroyed.
    void removeAt(int index);
    void removeItem(QGraphicsLayoutItem *item);
    int indexOf(const QGraphicsLayoutItem *item) const;
    int count() const;
    QGraphicsLayoutItem *itemAt(int index) const;

    void setSpacing(qreal spacing);
    qreal spacing() const;
    void setContentsMargins(qreal left, qreal top, qreal right, qreal bottom);
    void setStretchFactor(QGraphicsLayoutItem *item, int stretch);

private:
    Q_DISABLE_COPY(ZuLinearLayoutPolicy)
    friend class ZuLayout;

    ZuLayout *m_layout;
    QGraphicsLinearLayout *m_linear;
};
