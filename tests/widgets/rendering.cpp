#include "rendering.h"

#include <QGraphicsScene>
#include <QGraphicsWidget>
#include <QPainter>

namespace {
bool isInk(const QImage &image, int x, int y, QRgb background)
{
    return image.pixel(x, y) != background;
}
} // namespace

QImage renderWidget(QGraphicsWidget *widget, const QColor &background)
{
    const QRectF source = widget->sceneBoundingRect();
    QImage image(source.size().toSize(), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    widget->scene()->render(&painter, QRectF(QPointF(0, 0), source.size()), source);
    painter.end();
    return image;
}

QRect imageRect(QGraphicsWidget *widget, QGraphicsWidget *root)
{
    const QRectF scene = widget->sceneBoundingRect();
    const QPointF origin = root->sceneBoundingRect().topLeft();
    return scene.translated(-origin).toAlignedRect().adjusted(1, 1, -1, -1);
}

int inkPixels(const QImage &image, const QRect &area, const QColor &background)
{
    const QRect clipped = area & image.rect();
    int count = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += isInk(image, x, y, background.rgb()) ? 1 : 0;
    }
    return count;
}

QList<QPair<int, int>> inkBands(const QImage &image, const QRect &area, const QColor &background)
{
    const QRect clipped = area & image.rect();
    QList<QPair<int, int>> bands;
    int start = -1;
    for (int y = clipped.top(); y <= clipped.bottom() + 1; ++y) {
        bool inked = false;
        if (y <= clipped.bottom()) {
            for (int x = clipped.left(); x <= clipped.right() && !inked; ++x)
                inked = isInk(image, x, y, background.rgb());
        }
        if (inked && start < 0) {
            start = y;
        } else if (!inked && start >= 0) {
            bands.append({ start, y - 1 });
            start = -1;
        }
    }
    return bands;
}

int firstInkColumn(
    const QImage &image, const QRect &area, int first, int last, const QColor &background)
{
    const QRect clipped = area & image.rect();
    for (int x = clipped.left(); x <= clipped.right(); ++x) {
        for (int y = qMax(first, clipped.top()); y <= qMin(last, clipped.bottom()); ++y) {
            if (isInk(image, x, y, background.rgb()))
                return x;
        }
    }
    return -1;
}
