#include "zulayout.h"

#include "zulinearlayoutpolicy.h"

#include <QGraphicsLinearLayout>
#include <QWidget>

ZuLayout::ZuLayout(QGraphicsLayoutItem *parent)
    : QGraphicsLayout(parent)
{ }

ZuLayout::~ZuLayout()
{
    // The policies' inner layouts point back at this layout; cut them loose
    // first so that their destruction does not call back into a half-gone one.
    m_policy = nullptr;
    const QList<ZuLinearLayoutPolicy *> policies = m_policies;
    m_policies.clear();
    for (ZuLinearLayoutPolicy *policy : policies) {
        policy->m_linear->setParentLayoutItem(nullptr);
        policy->m_layout = nullptr;
        delete policy;
    }
}

ZuLinearLayoutPolicy *ZuLayout::policy() const
{
    return m_policy;
}

void ZuLayout::setPolicy(ZuLinearLayoutPolicy *policy)
{
    if (policy == m_policy || (policy && !m_policies.contains(policy))) {
        return;
    }
    m_policy = policy;
    invalidate();
}

int ZuLayout::count() const
{
    return m_policy ? 1 : 0;
}

QGraphicsLayoutItem *ZuLayout::itemAt(int index) const
{
    return m_policy && index == 0 ? m_policy->m_linear : nullptr;
}

void ZuLayout::removeAt(int index)
{
    // The only item is the active policy's arrangement: removing it leaves
    // the layout without an active policy (the policy itself stays owned).
    if (m_policy && index == 0) {
        m_policy = nullptr;
        invalidate();
    }
}

void ZuLayout::setGeometry(const QRectF &rect)
{
    QGraphicsLayout::setGeometry(rect);
    if (m_policy) {
        qreal left = 0;
        qreal top = 0;
        qreal right = 0;
        qreal bottom = 0;
        getContentsMargins(&left, &top, &right, &bottom);
        m_policy->m_linear->setGeometry(geometry().adjusted(left, top, -right, -bottom));
    }
}

void ZuLayout::invalidate()
{
    if (m_policy) {
        m_policy->m_linear->invalidate();
    }
    QGraphicsLayout::invalidate();
}

QSizeF ZuLayout::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    getContentsMargins(&left, &top, &right, &bottom);
    const QSizeF margins(left + right, top + bottom);
    if (!m_policy) {
        return which == Qt::MaximumSize ? QSizeF(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : margins;
    }
    QSizeF inner = constraint;
    if (inner.width() >= 0) {
        inner.setWidth(qMax<qreal>(0, inner.width() - margins.width()));
    }
    if (inner.height() >= 0) {
        inner.setHeight(qMax<qreal>(0, inner.height() - margins.height()));
    }
    return m_policy->m_linear->effectiveSizeHint(which, inner) + margins;
}

void ZuLayout::addPolicy(ZuLinearLayoutPolicy *policy)
{
    m_policies.append(policy);
    m_policy = policy;
    invalidate();
}
