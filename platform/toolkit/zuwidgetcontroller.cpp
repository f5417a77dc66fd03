#include "zuwidgetcontroller.h"

#include "zutheme.h"
#include "zuwidgetmodel.h"

#include <QPainter>
#include <QWidget>

namespace {
const qreal unlimitedSize = QWIDGETSIZE_MAX;
} // namespace

ZuWidgetController::ZuWidgetController(QGraphicsItem *parent)
    : ZuWidgetController(nullptr, parent)
{ }

ZuWidgetController::ZuWidgetController(ZuWidgetModel *model, QGraphicsItem *parent)
    : ZuWidget(parent)
    , m_model(model ? model : new ZuWidgetModel(this))
{
    if (!m_model->parent()) {
        m_model->setParent(this);
    }
    connect(m_model, &ZuWidgetModel::modified, this, [this] { update(); });
}

ZuWidgetController::~ZuWidgetController() = default;

void ZuWidgetController::setStyleName(const QString &name)
{
    if (m_styleName == name) {
        return;
    }
    m_styleName = name;
    styleChanged();
}

QString ZuWidgetController::styleName() const
{
    return m_styleName;
}

void ZuWidgetController::setViewType(const QString &type)
{
    if (m_viewType == type) {
        return;
    }
    m_viewType = type;
    styleChanged();
}

QString ZuWidgetController::viewType() const
{
    return m_viewType;
}

ZuWidgetModel *ZuWidgetController::model() const
{
    return m_model;
}

ZuStyle ZuWidgetController::style() const
{
    return ZuTheme::instance()->style(m_styleName);
}

void ZuWidgetController::paint(
    QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    const ZuStyle look = style();
    const QColor background = look.backgroundColor();
    if (!background.isValid() || background.alpha() == 0) {
        return;
    }
    const qreal radius = look.number(QStringLiteral("radius"));
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, radius > 0);
    painter->setPen(Qt::NoPen);
    painter->setBrush(background);
    painter->drawRoundedRect(rect(), radius, radius);
    painter->restore();
}

QSizeF ZuWidgetController::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    QSizeF hint;
    if (layout()) {
        hint = ZuWidget::sizeHint(which, constraint);
    } else {
        qreal left = 0;
        qreal top = 0;
        qreal right = 0;
        qreal bottom = 0;
        getContentsMargins(&left, &top, &right, &bottom);
        hint = which == Qt::MaximumSize ? QSizeF(unlimitedSize, unlimitedSize)
                                        : QSizeF(left + right, top + bottom);
    }
    const ZuStyle look = style();
    if (which == Qt::MaximumSize && look.contains(QStringLiteral("max-height"))) {
        // A look may cap the height, but never below what the content needs.
        const qreal needed = sizeHint(Qt::PreferredSize, constraint).height();
        hint.setHeight(qMax(look.number(QStringLiteral("max-height")), needed));
    }
    if (which == Qt::MinimumSize || which == Qt::PreferredSize) {
        hint = hint.expandedTo(QSizeF(
            look.number(QStringLiteral("min-width")), look.number(QStringLiteral("min-height"))));
        if (which == Qt::PreferredSize) {
            if (look.contains(QStringLiteral("preferred-width"))) {
                hint.setWidth(qMax(hint.width(), look.number(QStringLiteral("preferred-width"))));
            }
            if (look.contains(QStringLiteral("preferred-height"))) {
                hint.setHeight(
                    qMax(hint.height(), look.number(QStringLiteral("preferred-height"))));
            }
        }
    }
    return hint;
}

void ZuWidgetController::styleChanged()
{
    const QMarginsF margins = style().contentMargins();
    setContentsMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
    updateGeometry();
    update();
}

QRectF ZuWidgetController::styledContentsRect() const
{
    return contentsRect();
}
