#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QGraphicsGridLayout;
class QGraphicsLayout;
class QGraphicsLayoutItem;

// Describes a grid layout as one readable line per item, e.g.
// "title 0,0 1x1 left|vcenter", sorted by cell, so that tests compare a whole
// grid against a table row. Items are named through the given map; an
// unnamed widget is named by its object name.
QStringList describeGrid(
    const QGraphicsGridLayout *grid, const QHash<const QGraphicsLayoutItem *, QString> &names = {});

// The same for any layout: a grid is described as above, anything else as
// "layout with <n> items", and no layout as "no layout".
QStringList describeLayout(
    const QGraphicsLayout *layout, const QHash<const QGraphicsLayoutItem *, QString> &names = {});
