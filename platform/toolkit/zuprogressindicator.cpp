#include "zuprogressindicator.h"

#include <QPainter>
#include <QTimerEvent>

const QString ZuProgressIndicator::spinnerType = QStringLiteral("spinner");

namespace {

const int frameInterval = 40; // ms, 25 frames a second is smooth enough for a spinner
const int framesPerTurn = 30;
const qreal defaultSpinnerSize = 40;
const qreal defaultLineWidth = 4;
const int arcSpan = 270; // degrees of the circle the arc covers
const int qtAngleUnitsPerDegree = 16;
const int fullTurn = 360;
const QColor defaultArcColor(0xf2, 0xf2, 0xf2);

} // namespace

ZuProgressIndicator::ZuProgressIndicator(QGraphicsItem *parent, const QString &viewType)
    : ZuWidgetController(parent)
{
    setViewType(viewType);
    setFlag(ItemSendsGeometryChanges);
}

ZuProgressIndicator::~ZuProgressIndicator() = default;

void ZuProgressIndicator::setUnknownDuration(bool unknownDuration)
{
    m_unknownDuration = unknownDuration;
    updateAnimation();
    update();
}

bool ZuProgressIndicator::unknownDuration() const
{
    return m_unknownDuration;
}

bool ZuProgressIndicator::isAnimating() const
{
    return m_timer.isActive();
}

int ZuProgressIndicator::frame() const
{
    return m_frame;
}

void ZuProgressIndicator::paint(
    QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    ZuWidgetController::paint(painter, option, widget);
    const ZuStyle look = style();
    const qreal lineWidth = look.number(QStringLiteral("line-width"), defaultLineWidth);
    const QRectF area = styledContentsRect();
    const qreal side = qMin(area.width(), area.height()) - lineWidth;
    if (side <= 0) {
        return;
    }
    QRectF circle(0, 0, side, side);
    circle.moveCenter(area.center());
    QPen pen(look.color(QStringLiteral("color"), defaultArcColor));
    pen.setWidthF(lineWidth);
    pen.setCapStyle(Qt::RoundCap);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(pen);
    const int startDegrees = fullTurn - (m_frame % framesPerTurn) * fullTurn / framesPerTurn;
    painter->drawArc(circle, startDegrees * qtAngleUnitsPerDegree, arcSpan * qtAngleUnitsPerDegree);
    painter->restore();
}

QSizeF ZuProgressIndicator::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    if (which == Qt::MaximumSize) {
        return sizeHint(Qt::PreferredSize, constraint);
    }
    const QSizeF base = ZuWidgetController::sizeHint(which, constraint);
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    getContentsMargins(&left, &top, &right, &bottom);
    const qreal side = style().number(QStringLiteral("size"), defaultSpinnerSize);
    return base.expandedTo(QSizeF(side + left + right, side + top + bottom));
}

QVariant ZuProgressIndicator::itemChange(GraphicsItemChange change, const QVariant &value)
{
    const QVariant result = ZuWidgetController::itemChange(change, value);
    if (change == ItemVisibleHasChanged) {
        updateAnimation();
    }
    return result;
}

void ZuProgressIndicator::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        ZuWidgetController::timerEvent(event);
        return;
    }
    ++m_frame;
    update();
}

void ZuProgressIndicator::updateAnimation()
{
    // A hidden spinner costs nothing: no ticks, no repaints.
    const bool run = m_unknownDuration && isVisible();
    if (run && !m_timer.isActive()) {
        m_timer.start(frameInterval, this);
    } else if (!run && m_timer.isActive()) {
        m_timer.stop();
    }
}
