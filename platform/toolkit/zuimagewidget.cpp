#include "zuimagewidget.h"

#include "zutheme.h"

#include <QPainter>

namespace {
// Used when neither the style nor the image gives a size.
const qreal defaultImageSize = 32;
} // namespace

ZuImageWidget::ZuImageWidget(QGraphicsItem *parent)
    : ZuWidgetController(parent)
{ }

ZuImageWidget::~ZuImageWidget() = default;

void ZuImageWidget::setImage(const QString &id)
{
    if (m_image == id) {
        return;
    }
    m_image = id;
    updateGeometry();
    update();
}

QString ZuImageWidget::image() const
{
    return m_image;
}

void ZuImageWidget::paint(
    QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    ZuWidgetController::paint(painter, option, widget);
    if (m_image.isEmpty()) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    ZuTheme::instance()->drawImage(painter, m_image, styledContentsRect());
    painter->restore();
}

QSizeF ZuImageWidget::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    const QSizeF base = ZuWidgetController::sizeHint(which, constraint);
    if (which == Qt::MaximumSize || m_image.isEmpty()) {
        return base;
    }
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    getContentsMargins(&left, &top, &right, &bottom);
    const ZuStyle look = style();
    QSizeF image;
    if (look.contains(QStringLiteral("size"))) {
        const qreal side = look.number(QStringLiteral("size"), defaultImageSize);
        image = QSizeF(side, side);
    } else {
        image = ZuTheme::instance()->imageSize(m_image);
        if (image.isEmpty()) {
            image = QSizeF(defaultImageSize, defaultImageSize);
        }
    }
    return base.expandedTo(image + QSizeF(left + right, top + bottom));
}
