#include "rendering.h"

#include <QGraphicsScene>
#include <QGraphicsWidget>
#include <QPainter>

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
            count += image.pixel(x, y) != background.rgb() ? 1 : 0;
    }
    return count;
}

QList<QPair<int, int>> inkBands(const QImage &image, const QRect &area, const QColor &background)
{
    const QRect clipped = area & image.rect();
    QList<QPair<int, int>> bands;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        if (inkPixels(image, QRect(clipped.left(), y, clipped.width(), 1), background) == 0)
            continue;
        if (!bands.isEmpty() && bands.last().second == y - 1)
            bands.last().second = y;
        else
            bands.append({ y, y });
    }
    return bands;
}

int firstInkColumn(
    const QImage &image, const QRect &area, int first, int last, const QColor &background)
{
    const QRect rows = (area & image.rect()) & QRect(area.left(), first, area.width(), last - first + 1);
    for (int x = rows.left(); x <= rows.right(); ++x) {
        if (inkPixels(image, QRect(x, rows.top(), 1, rows.height()), background) > 0)
            return x;
    }
    return -1;
}
