#include "zulinearlayoutpolicy.h"

#include "zulayout.h"

#include <QGraphicsLinearLayout>

ZuLinearLayoutPolicy::ZuLinearLayoutPolicy(ZuLayout *layout, Qt::Orientation orientation)
    : m_layout(layout)
    , m_linear(new QGraphicsLinearLayout(orientation, layout))
{
    if (m_layout) {
        m_layout->addPolicy(this);
    }
}

ZuLinearLayoutPolicy::~ZuLinearLayoutPolicy()
{
    if (m_layout) {
        m_layout->m_policies.removeOne(this);
        if (m_layout->m_policy == this) {
            m_layout->m_policy = nullptr;
            m_layout->invalidate();
        }
        m_linear->setParentLayoutItem(nullptr);
    }
    delete m_linear;
}

ZuLayout *ZuLinearLayoutPolicy::layout() const
{
    return m_layout;
}

Qt::Orientation ZuLinearLayoutPolicy::orientation() const
{
    return m_linear->orientation();
}

void ZuLinearLayoutPolicy::addItem(QGraphicsLayoutItem *item)
{
    m_linear->addItem(item);
}

void ZuLinearLayoutPolicy::insertItem(int index, QGraphicsLayoutItem *item)
{
    m_linear->insertItem(index, item);
}

void ZuLinearLayoutPolicy::removeAt(int index)
{
    m_linear->removeAt(index);
}

void ZuLinearLayoutPolicy::removeItem(QGraphicsLayoutItem *item)
{
    m_linear->removeItem(item);
}

int ZuLinearLayoutPolicy::indexOf(const QGraphicsLayoutItem *item) const
{
    for (int i = 0; i < m_linear->count(); ++i) {
        if (m_linear->itemAt(i) == item) {
            return i;
        }
    }
    return -1;
}

int ZuLinearLayoutPolicy::count() const
{
    return m_linear->count();
}

QGraphicsLayoutItem *ZuLinearLayoutPolicy::itemAt(int index) const
{
    return index >= 0 && index < m_linear->count() ? m_linear->itemAt(index) : nullptr;
}

void ZuLinearLayoutPolicy::setSpacing(qreal spacing)
{
    m_linear->setSpacing(spacing);
}

qreal ZuLinearLayoutPolicy::spacing() const
{
    return m_linear->spacing();
}

void ZuLinearLayoutPolicy::setContentsMargins(qreal left, qreal top, qreal right, qreal bottom)
{
    m_linear->setContentsMargins(left, top, right, bottom);
}

void ZuLinearLayoutPolicy::setStretchFactor(QGraphicsLayoutItem *item, int stretch)
{
    m_linear->setStretchFactor(item, stretch);
}
