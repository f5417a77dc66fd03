#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QGraphicsLayout;
class QGraphicsLayoutItem;

// Describes a grid layout as one readable line per item, e.g.
// "title 0,0 1x1 left|vcenter", sorted by cell, so that tests compare a whole
// grid against a table row. Items are named through the given map; an
// unnamed widget is named by its object name, else by its class. Any other
// layout is "not a grid", and no layout "no layout".
QStringList describeLayout(
    const QGraphicsLayout *layout, const QHash<const QGraphicsLayoutItem *, QString> &names = {});
