#pragma once

#include <QString>

class QGraphicsItem;
class QGraphicsWidget;
class ZuButton;

// Reads what the SIM page shows without knowing its classes, so that it works
// the same on a page from the loaded plug-in and on one linked in statically.
class PageProbe
{
public:
    // The page's item list (the widget whose class is "SimContainer"), or null.
    static QGraphicsWidget *itemList(QGraphicsItem *page);

    // The visible rows of the item list, top to bottom, separated by spaces:
    // "SimPinRequestItem:on" with the switch's state, "SimErrorItem:TEXT"
    // with the error text, other rows by object name. A row that is visible
    // although out of the layout comes last as "stray:NAME": the page then
    // shows something the list no longer holds. "(no list)" without a list.
    static QString rows(QGraphicsItem *page);

    // The PIN request row's switch, or null while that row was never made.
    static ZuButton *pinSwitch(QGraphicsItem *page);
};
