#include "zuseparator.h"

#include <QPainter>
#include <QWidget>

namespace {
const qreal defaultLineWidth = 2;
const QColor defaultLineColor(0x44, 0x44, 0x44);
const qreal unlimitedSize = QWIDGETSIZE_MAX;
} // namespace

ZuSeparator::ZuSeparator(QGraphicsItem *parent, Qt::Orientation orientation)
    : ZuWidgetController(parent)
    , m_orientation(orientation)
{
    setOrientation(orientation);
}

ZuSeparator::~ZuSeparator() = default;

Qt::Orientation ZuSeparator::orientation() const
{
    return m_orientation;
}

void ZuSeparator::setOrientation(Qt::Orientation orientation)
{
    m_orientation = orientation;
    if (orientation == Qt::Horizontal) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    updateGeometry();
    update();
}

void ZuSeparator::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    ZuWidgetController::paint(painter, option, widget);
    const ZuStyle look = style();
    const qreal lineWidth = look.number(QStringLiteral("line-width"), defaultLineWidth);
    const QRectF area = styledContentsRect();
    QRectF line = area;
    if (m_orientation == Qt::Horizontal) {
        line.setHeight(lineWidth);
        line.moveCenter(area.center());
    } else {
        line.setWidth(lineWidth);
        line.moveCenter(area.center());
    }
    painter->fillRect(line, look.color(QStringLiteral("color"), defaultLineColor));
}

QSizeF ZuSeparator::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    const QSizeF base = ZuWidgetController::sizeHint(which, constraint);
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    getContentsMargins(&left, &top, &right, &bottom);
    const qreal thickness = style().number(QStringLiteral("line-width"), defaultLineWidth);
    if (m_orientation == Qt::Horizontal) {
        const qreal height = thickness + top + bottom;
        return QSizeF(which == Qt::MaximumSize ? unlimitedSize : base.width(), height);
    }
    const qreal width = thickness + left + right;
    return QSizeF(width, which == Qt::MaximumSize ? unlimitedSize : base.height());
}
