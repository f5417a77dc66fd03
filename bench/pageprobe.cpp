#include "pageprobe.h"

#include <QGraphicsLayout>
#include <QGraphicsWidget>
#include <QSet>
#include <QStringList>
#include <zubutton.h>
#include <zulabel.h>

namespace {
const char *const ListClass = "SimContainer";
const QString PinRequestName = QStringLiteral("SimPinRequestItem");
const QString ErrorName = QStringLiteral("SimErrorItem");

ZuButton *switchOf(QGraphicsItem *row)
{
    for (QGraphicsItem *child : row->childItems()) {
        if (auto *button = qobject_cast<ZuButton *>(child->toGraphicsObject()))
            return button;
        if (ZuButton *inner = switchOf(child))
            return inner;
    }
    return nullptr;
}

QString describe(QGraphicsObject *row)
{
    const QString name = row->objectName();
    if (name == PinRequestName) {
        const ZuButton *button = switchOf(row);
        return name + QLatin1String(button && button->isChecked() ? ":on" : ":off");
    }
    if (name == ErrorName) {
        const auto *label = qobject_cast<ZuLabel *>(row);
        return name + QLatin1Char(':') + (label ? label->text() : QString());
    }
    return name;
}
} // namespace

QGraphicsWidget *PageProbe::itemList(QGraphicsItem *page)
{
    if (!page)
        return nullptr;
    QGraphicsObject *object = page->toGraphicsObject();
    if (object && object->inherits(ListClass))
        return static_cast<QGraphicsWidget *>(object);
    for (QGraphicsItem *child : page->childItems()) {
        if (QGraphicsWidget *list = itemList(child))
            return list;
    }
    return nullptr;
}

QString PageProbe::rows(QGraphicsItem *page)
{
    QGraphicsWidget *list = itemList(page);
    if (!list || !list->layout())
        return QStringLiteral("(no list)");

    QStringList shown;
    QSet<QGraphicsItem *> inLayout;
    QGraphicsLayout *layout = list->layout();
    for (int i = 0; i < layout->count(); ++i) {
        QGraphicsItem *item = layout->itemAt(i)->graphicsItem();
        inLayout.insert(item);
        QGraphicsObject *row = item ? item->toGraphicsObject() : nullptr;
        if (row && row->isVisible())
            shown << describe(row);
    }
    for (QGraphicsItem *child : list->childItems()) {
        QGraphicsObject *row = child->toGraphicsObject();
        if (row && row->isVisible() && !inLayout.contains(child))
            shown << QStringLiteral("stray:") + row->objectName();
    }
    return shown.join(QLatin1Char(' '));
}

ZuButton *PageProbe::pinSwitch(QGraphicsItem *page)
{
    QGraphicsWidget *list = itemList(page);
    if (!list)
        return nullptr;
    for (QGraphicsItem *child : list->childItems()) {
        QGraphicsObject *row = child->toGraphicsObject();
        if (row && row->objectName() == PinRequestName)
            return switchOf(row);
    }
    return nullptr;
}
