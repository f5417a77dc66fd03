#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>

class QGraphicsScene;
class QGraphicsWidget;

// Draws the widget's scene rectangle into an image of the same size, on the
// given background.
QImage renderWidget(QGraphicsWidget *widget, const QColor &background = Qt::black);

// The widget's rectangle in the image rendered from root (rounded inwards).
QRect imageRect(QGraphicsWidget *widget, QGraphicsWidget *root);

// Pixels within area that differ from the background.
int inkPixels(const QImage &image, const QRect &area, const QColor &background = Qt::black);

// Runs of consecutive pixel rows within area that hold ink: one per line of
// text, top to bottom, as (first row, last row).
QList<QPair<int, int>> inkBands(
    const QImage &image, const QRect &area, const QColor &background = Qt::black);

// The leftmost inked column within the rows first..last of area, or -1.
int firstInkColumn(const QImage &image, const QRect &area, int first, int last,
    const QColor &background = Qt::black);
