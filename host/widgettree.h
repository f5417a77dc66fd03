#pragma once

#include <QList>
#include <QString>

class QGraphicsItem;
class QGraphicsObject;

// Reads a page's widget tree for the automation interface: a stable text dump
// and look-ups by object name. Items that are not graphics objects (plain
// painted shapes inside a widget) are looked through, not shown.
class WidgetTree
{
public:
    // One line per graphics object under and including root, indented two
    // spaces per level, children in the scene's child order:
    //   ClassName "objectName" visible|hidden [style=S] [view=V] [text="T"]
    //   [checked=true|false] [spinning=true|false] [layout=N]
    // layout=N is the item's place in its parent's layout, counted from 0.
    static QString dump(QGraphicsItem *root);

    // Every graphics object under and including root with that object name,
    // in dump order.
    static QList<QGraphicsObject *> find(QGraphicsItem *root, const QString &objectName);

    // The text a widget shows: a label's text, a button's text, a list row's
    // title. Null when the widget shows none.
    static QString textOf(const QGraphicsObject *object);
    // The switch state of a switch button, or of the first switch inside the
    // widget (a row with a switch). False with *found false when there is none.
    static bool isChecked(const QGraphicsObject *object, bool *found);
    // Whether a spinner (the widget itself or one inside it) is visible and running.
    static bool isSpinning(const QGraphicsObject *object);
};
