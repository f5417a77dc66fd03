#include "layoutdescription.h"

#include <QGraphicsGridLayout>
#include <QGraphicsWidget>
#include <algorithm>
#include <climits>
#include <tuple>

namespace {

QString alignmentText(Qt::Alignment alignment)
{
    const QPair<Qt::Alignment, const char *> flags[] = { { Qt::AlignLeft, "left" },
        { Qt::AlignRight, "right" }, { Qt::AlignHCenter, "hcenter" }, { Qt::AlignTop, "top" },
        { Qt::AlignBottom, "bottom" }, { Qt::AlignVCenter, "vcenter" } };
    QStringList parts;
    for (const auto &flag : flags) {
        if (alignment & flag.first)
            parts << QLatin1String(flag.second);
    }
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QLatin1Char('|'));
}

QString itemName(
    const QGraphicsLayoutItem *item, const QHash<const QGraphicsLayoutItem *, QString> &names)
{
    if (names.contains(item))
        return names.value(item);
    const QGraphicsItem *graphicsItem = const_cast<QGraphicsLayoutItem *>(item)->graphicsItem();
    if (graphicsItem && graphicsItem->isWidget()) {
        const auto *widget = static_cast<const QGraphicsWidget *>(graphicsItem);
        return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                              : widget->objectName();
    }
    return item->isLayout() ? QStringLiteral("layout") : QStringLiteral("item");
}

} // namespace

QStringList describeLayout(
    const QGraphicsLayout *layout, const QHash<const QGraphicsLayoutItem *, QString> &names)
{
    const auto *grid = dynamic_cast<const QGraphicsGridLayout *>(layout);
    if (!grid)
        return { layout ? QStringLiteral("not a grid") : QStringLiteral("no layout") };
    // (row, column, text) per item; a spanning item occupies every cell of
    // its span, so scanning the cells gives its position and size.
    QList<std::tuple<int, int, QString>> cells;
    for (int i = 0; i < grid->count(); ++i) {
        const QGraphicsLayoutItem *item = grid->itemAt(i);
        int firstRow = INT_MAX, lastRow = -1, firstColumn = INT_MAX, lastColumn = -1;
        for (int r = 0; r < grid->rowCount(); ++r) {
            for (int c = 0; c < grid->columnCount(); ++c) {
                if (grid->itemAt(r, c) != item)
                    continue;
                firstRow = qMin(firstRow, r);
                firstColumn = qMin(firstColumn, c);
                lastRow = qMax(lastRow, r);
                lastColumn = qMax(lastColumn, c);
            }
        }
        cells.append({ firstRow, firstColumn,
            QStringLiteral("%1 %2,%3 %4x%5 %6")
                .arg(itemName(item, names))
                .arg(firstRow)
                .arg(firstColumn)
                .arg(lastRow - firstRow + 1)
                .arg(lastColumn - firstColumn + 1)
                .arg(alignmentText(grid->alignment(const_cast<QGraphicsLayoutItem *>(item)))) });
    }
    std::stable_sort(cells.begin(), cells.end(), [](const auto &a, const auto &b) {
        return std::make_pair(std::get<0>(a), std::get<1>(a))
            < std::make_pair(std::get<0>(b), std::get<1>(b));
    });
    QStringList lines;
    for (const auto &cell : cells)
        lines << std::get<2>(cell);
    return lines;
}
