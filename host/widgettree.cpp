#include "widgettree.h"

#include "zubasiclistitem.h"
#include "zubutton.h"
#include "zulabel.h"
#include "zuprogressindicator.h"
#include "zuwidgetcontroller.h"

#include <QGraphicsLayout>
#include <QGraphicsObject>
#include <QGraphicsWidget>

namespace {

constexpr int IndentPerLevel = 2;

QString quoted(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('"'), QLatin1String("\\\""));
    out.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    out.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

// Collects the widgets of a layout, nested layouts flattened, in order.
void layoutWidgets(const QGraphicsLayoutItem *item, QList<const QGraphicsItem *> *widgets)
{
    if (!item) {
        return;
    }
    if (item->isLayout()) {
        const auto *layout = static_cast<const QGraphicsLayout *>(item);
        for (int i = 0; i < layout->count(); ++i) {
            layoutWidgets(layout->itemAt(i), widgets);
        }
    } else if (const QGraphicsItem *graphics = item->graphicsItem()) {
        widgets->append(graphics);
    }
}

int layoutIndex(const QGraphicsItem *item)
{
    const QGraphicsItem *parent = item->parentItem();
    if (!parent || !parent->isWidget()) {
        return -1;
    }
    QList<const QGraphicsItem *> widgets;
    layoutWidgets(static_cast<const QGraphicsWidget *>(parent)->layout(), &widgets);
    return widgets.indexOf(item);
}

const ZuButton *switchIn(const QGraphicsItem *item)
{
    if (const QGraphicsObject *object = item->toGraphicsObject()) {
        const auto *button = qobject_cast<const ZuButton *>(object);
        if (button && button->isCheckable()) {
            return button;
        }
    }
    const QList<QGraphicsItem *> children = item->childItems();
    for (const QGraphicsItem *child : children) {
        if (const ZuButton *button = switchIn(child)) {
            return button;
        }
    }
    return nullptr;
}

QString describe(const QGraphicsObject *object)
{
    QString line = QLatin1String(object->metaObject()->className()) + QLatin1Char(' ')
        + quoted(object->objectName())
        + (object->isVisible() ? QLatin1String(" visible") : QLatin1String(" hidden"));
    if (const auto *controller = qobject_cast<const ZuWidgetController *>(object)) {
        if (!controller->styleName().isEmpty()) {
            line += QLatin1String(" style=") + controller->styleName();
        }
        if (!controller->viewType().isEmpty()) {
            line += QLatin1String(" view=") + controller->viewType();
        }
    }
    const QString text = WidgetTree::textOf(object);
    if (!text.isNull()) {
        line += QLatin1String(" text=") + quoted(text);
    }
    if (const auto *button = qobject_cast<const ZuButton *>(object)) {
        if (button->isCheckable()) {
            line += button->isChecked() ? QLatin1String(" checked=true")
                                        : QLatin1String(" checked=false");
        }
    }
    if (const auto *spinner = qobject_cast<const ZuProgressIndicator *>(object)) {
        line += WidgetTree::isSpinning(spinner) ? QLatin1String(" spinning=true")
                                                : QLatin1String(" spinning=false");
    }
    const int index = layoutIndex(object);
    if (index >= 0) {
        line += QStringLiteral(" layout=%1").arg(index);
    }
    return line;
}

void dumpItem(const QGraphicsItem *item, int depth, QString *out)
{
    int childDepth = depth;
    if (const QGraphicsObject *object = item->toGraphicsObject()) {
        *out += QString(depth * IndentPerLevel, QLatin1Char(' ')) + describe(object)
            + QLatin1Char('\n');
        childDepth = depth + 1;
    }
    const QList<QGraphicsItem *> children = item->childItems();
    for (const QGraphicsItem *child : children) {
        dumpItem(child, childDepth, out);
    }
}

void findItems(QGraphicsItem *item, const QString &objectName, QList<QGraphicsObject *> *found)
{
    if (QGraphicsObject *object = item->toGraphicsObject()) {
        if (object->objectName() == objectName) {
            found->append(object);
        }
    }
    const QList<QGraphicsItem *> children = item->childItems();
    for (QGraphicsItem *child : children) {
        findItems(child, objectName, found);
    }
}

bool spinnerRunning(const QGraphicsItem *item)
{
    if (!item->isVisible()) {
        return false;
    }
    if (const QGraphicsObject *object = item->toGraphicsObject()) {
        if (const auto *spinner = qobject_cast<const ZuProgressIndicator *>(object)) {
            return spinner->isAnimating();
        }
    }
    const QList<QGraphicsItem *> children = item->childItems();
    for (const QGraphicsItem *child : children) {
        if (spinnerRunning(child)) {
            return true;
        }
    }
    return false;
}

} // namespace

QString WidgetTree::dump(QGraphicsItem *root)
{
    QString out;
    if (root) {
        dumpItem(root, 0, &out);
    }
    return out;
}

QList<QGraphicsObject *> WidgetTree::find(QGraphicsItem *root, const QString &objectName)
{
    QList<QGraphicsObject *> found;
    if (root) {
        findItems(root, objectName, &found);
    }
    return found;
}

QString WidgetTree::textOf(const QGraphicsObject *object)
{
    if (const auto *label = qobject_cast<const ZuLabel *>(object)) {
        return label->text();
    }
    if (const auto *button = qobject_cast<const ZuButton *>(object)) {
        return button->text().isEmpty() ? QString() : button->text();
    }
    if (const auto *row = qobject_cast<const ZuBasicListItem *>(object)) {
        return row->title();
    }
    return QString();
}

bool WidgetTree::isChecked(const QGraphicsObject *object, bool *found)
{
    const ZuButton *button = object ? switchIn(object) : nullptr;
    if (found) {
        *found = button != nullptr;
    }
    return button && button->isChecked();
}

bool WidgetTree::isSpinning(const QGraphicsObject *object)
{
    return object && spinnerRunning(object);
}
