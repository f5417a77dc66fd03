#include "zubutton.h"

#include "zubuttonmodel.h"
#include "zutheme.h"

#include <QFontMetricsF>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

const QString ZuButton::switchType = QStringLiteral("switch");
const QString ZuButton::iconType = QStringLiteral("icon");

namespace {

const QSizeF defaultSwitchSize(76, 44);
const qreal defaultIconSize = 32;
const qreal pushButtonHeight = 64;
const qreal pushButtonPadding = 24;
const qreal knobInset = 4;
const QColor defaultOnColor(0x3d, 0x9b, 0xf5);
const QColor defaultOffColor(0x4a, 0x4a, 0x4a);
const QColor defaultKnobColor(0xf2, 0xf2, 0xf2);
const QColor defaultPushColor(0x33, 0x33, 0x33);
// How much a held-down button darkens.
const int pressedDarkness = 140;

} // namespace

ZuButton::ZuButton(QGraphicsItem *parent, ZuButtonModel *model)
    : ZuWidgetController(model ? model : new ZuButtonModel, parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
}

ZuButton::~ZuButton() = default;

ZuButtonModel *ZuButton::model() const
{
    return static_cast<ZuButtonModel *>(ZuWidgetController::model());
}

void ZuButton::setText(const QString &text)
{
    model()->setText(text);
    updateGeometry();
}

QString ZuButton::text() const
{
    return model()->text();
}

void ZuButton::setIconID(const QString &id)
{
    model()->setIconID(id);
    updateGeometry();
}

QString ZuButton::iconID() const
{
    return model()->iconID();
}

void ZuButton::setCheckable(bool checkable)
{
    model()->setCheckable(checkable);
}

bool ZuButton::isCheckable() const
{
    return model()->checkable();
}

bool ZuButton::isChecked() const
{
    return model()->checked();
}

bool ZuButton::isDown() const
{
    return model()->down();
}

void ZuButton::setChecked(bool checked)
{
    // Like any push button, one that is not checkable has no state to set.
    if (!isCheckable() || isChecked() == checked) {
        return;
    }
    model()->setChecked(checked);
    Q_EMIT toggled(checked);
}

void ZuButton::click()
{
    if (isCheckable()) {
        setChecked(!isChecked());
    }
    Q_EMIT clicked(isChecked());
}

void ZuButton::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    ZuWidgetController::paint(painter, option, widget);
    const QRectF area = styledContentsRect();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (viewType() == switchType) {
        paintSwitch(painter, area);
    } else if (viewType() == iconType) {
        paintIcon(painter, area);
    } else {
        paintPushButton(painter, area);
    }
    painter->restore();
}

void ZuButton::paintSwitch(QPainter *painter, const QRectF &rect)
{
    const ZuStyle look = style();
    QSizeF trackSize = defaultSwitchSize.scaled(rect.size(), Qt::KeepAspectRatio);
    QRectF track(QPointF(), trackSize);
    track.moveCenter(rect.center());
    QColor trackColor = isChecked() ? look.color(QStringLiteral("on-color"), defaultOnColor)
                                    : look.color(QStringLiteral("off-color"), defaultOffColor);
    if (isDown()) {
        trackColor = trackColor.darker(pressedDarkness);
    }
    const qreal radius = track.height() / 2;
    painter->setPen(Qt::NoPen);
    painter->setBrush(trackColor);
    painter->drawRoundedRect(track, radius, radius);

    const qreal knobSide = track.height() - 2 * knobInset;
    QRectF knob(0, 0, knobSide, knobSide);
    const qreal knobX
        = isChecked() ? track.right() - knobInset - knobSide : track.left() + knobInset;
    knob.moveTopLeft(QPointF(knobX, track.top() + knobInset));
    painter->setBrush(look.color(QStringLiteral("knob-color"), defaultKnobColor));
    painter->drawEllipse(knob);
}

void ZuButton::paintIcon(QPainter *painter, const QRectF &rect)
{
    if (isDown()) {
        painter->setOpacity(0.5);
    }
    ZuTheme::instance()->drawImage(painter, iconID(), rect);
}

void ZuButton::paintPushButton(QPainter *painter, const QRectF &rect)
{
    const ZuStyle look = style();
    if (!look.backgroundColor().isValid()) {
        QColor face = defaultPushColor;
        if (isDown() || isChecked()) {
            face = face.lighter(pressedDarkness);
        }
        painter->setPen(Qt::NoPen);
        painter->setBrush(face);
        painter->drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
    }
    painter->setFont(look.font());
    painter->setPen(look.textColor());
    painter->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

QSizeF ZuButton::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    const bool fixedLook = viewType() == switchType || viewType() == iconType;
    if (which == Qt::MaximumSize) {
        // Switches and icons keep their size; the layout aligns them in their cell.
        return fixedLook ? sizeHint(Qt::PreferredSize, constraint)
                         : ZuWidgetController::sizeHint(which, constraint);
    }
    const QSizeF base = ZuWidgetController::sizeHint(which, constraint);
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    getContentsMargins(&left, &top, &right, &bottom);
    const ZuStyle look = style();
    QSizeF content;
    if (viewType() == switchType) {
        content = defaultSwitchSize;
    } else if (viewType() == iconType) {
        const qreal side = look.number(QStringLiteral("size"), defaultIconSize);
        content = QSizeF(side, side);
    } else {
        const QFontMetricsF metrics(look.font());
        content
            = QSizeF(metrics.horizontalAdvance(text()) + 2 * pushButtonPadding, pushButtonHeight);
    }
    return base.expandedTo(content + QSizeF(left + right, top + bottom));
}

void ZuButton::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    model()->setDown(true);
    Q_EMIT pressed();
}

void ZuButton::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    // Sliding off the button takes the press back; sliding on again restores it.
    model()->setDown(rect().contains(event->pos()));
}

void ZuButton::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const bool tapped = isDown() && rect().contains(event->pos());
    model()->setDown(false);
    Q_EMIT released();
    if (tapped) {
        click();
    }
}

void ZuButton::ungrabMouseEvent(QEvent *event)
{
    Q_UNUSED(event)
    model()->setDown(false);
}
