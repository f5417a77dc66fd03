#include "layoutdescription.h"

#include <QGraphicsGridLayout>
#include <QGraphicsWidget>
#include <algorithm>

namespace {

QString alignmentText(Qt::Alignment alignment)
{
    QStringList parts;
    if (alignment & Qt::AlignLeft)
        parts << QStringLiteral("left");
    if (alignment & Qt::AlignRight)
        parts << QStringLiteral("right");
    if (alignment & Qt::AlignHCenter)
        parts << QStringLiteral("hcenter");
    if (alignment & Qt::AlignTop)
        parts << QStringLiteral("top");
    if (alignment & Qt::AlignBottom)
        parts << QStringLiteral("bottom");
    if (alignment & Qt::AlignVCenter)
        parts << QStringLiteral("vcenter");
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QLatin1Char('|'));
}

QString itemName(
    const QGraphicsLayoutItem *item, const QHash<const QGraphicsLayoutItem *, QString> &names)
{
    if (names.contains(item))
        return names.value(item);
    if (item->isLayout())
        return QStringLiteral("layout");
    const QGraphicsItem *graphicsItem = const_cast<QGraphicsLayoutItem *>(item)->graphicsItem();
    if (graphicsItem && graphicsItem->isWidget()) {
        const auto *widget = static_cast<const QGraphicsWidget *>(graphicsItem);
        if (!widget->objectName().isEmpty())
            return widget->objectName();
        return QString::fromLatin1(widget->metaObject()->className());
    }
    return QStringLiteral("item");
}

} // namespace

QStringList describeGrid(
    const QGraphicsGridLayout *grid, const QHash<const QGraphicsLayoutItem *, QString> &names)
{
    struct Cell
    {
        int row;
        int column;
        QString text;
    };
    QList<Cell> cells;
    for (int i = 0; i < grid->count(); ++i) {
        const QGraphicsLayoutItem *item = grid->itemAt(i);
        // A spanning item occupies every cell of its span, so scanning the
        // cells gives its position and size.
        int firstRow = -1, lastRow = -1, firstColumn = -1, lastColumn = -1;
        for (int r = 0; r < grid->rowCount(); ++r) {
            for (int c = 0; c < grid->columnCount(); ++c) {
                if (grid->itemAt(r, c) != item)
                    continue;
                if (firstRow < 0 || r < firstRow)
                    firstRow = r;
                if (firstColumn < 0 || c < firstColumn)
                    firstColumn = c;
                lastRow = qMax(lastRow, r);
                lastColumn = qMax(lastColumn, c);
            }
        }
        const QString text
            = QStringLiteral("%1 %2,%3 %4x%5 %6")
                  .arg(itemName(item, names))
                  .arg(firstRow)
                  .arg(firstColumn)
                  .arg(lastRow - firstRow + 1)
                  .arg(lastColumn - firstColumn + 1)
                  .arg(alignmentText(grid->alignment(const_cast<QGraphicsLayoutItem *>(item))));
        cells.append({ firstRow, firstColumn, text });
    }
    std::stable_sort(cells.begin(), cells.end(), [](const Cell &a, const Cell &b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    QStringList lines;
    for (const Cell &cell : cells)
        lines << cell.text;
    return lines;
}

QStringList describeLayout(
    const QGraphicsLayout *layout, const QHash<const QGraphicsLayoutItem *, QString> &names)
{
    if (!layout)
        return { QStringLiteral("no layout") };
    if (auto *grid = dynamic_cast<const QGraphicsGridLayout *>(layout))
        return describeGrid(grid, names);
    return { QStringLiteral("layout with %1 items").arg(layout->count()) };
}
