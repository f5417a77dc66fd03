#include "zuwidget.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsLayout>
#include <QList>
#include <QPointer>

namespace {

// Keeps the live widgets in creation order and listens on the application for
// language changes, which graphics widgets never receive themselves.
class LanguageWatcher : public QObject
{
public:
    void add(ZuWidget *widget)
    {
        m_widgets.append(widget);
        watchApplication();
    }

    void remove(ZuWidget *widget) { m_widgets.removeOne(widget); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::LanguageChange) {
            retranslateAll();
        }
        return false;
    }

private:
    void watchApplication()
    {
        QCoreApplication *app = QCoreApplication::instance();
        if (app && app != m_application) {
            m_application = app;
            app->installEventFilter(this);
        }
    }

    void retranslateAll()
    {
        // A retranslateUi() may destroy or create widgets; work on guarded
        // copies so that a destroyed widget is skipped rather than called.
        QList<QPointer<ZuWidget>> widgets;
        widgets.reserve(m_widgets.size());
        for (ZuWidget *widget : qAsConst(m_widgets)) {
            widgets.append(widget);
        }
        for (const QPointer<ZuWidget> &widget : qAsConst(widgets)) {
            if (widget && m_widgets.contains(widget.data())) {
                widget->retranslateUi();
            }
        }
    }

    QList<ZuWidget *> m_widgets;
    QPointer<QCoreApplication> m_application;
};

LanguageWatcher *watcher()
{
    // Never destroyed: widgets of plug-ins may be destroyed after this
    // library's statics, and must still find the watcher.
    static LanguageWatcher *instance = new LanguageWatcher;
    return instance;
}

} // namespace

ZuWidget::ZuWidget(QGraphicsItem *parent)
    : QGraphicsWidget(parent)
{
    watcher()->add(this);
}

ZuWidget::~ZuWidget()
{
    watcher()->remove(this);
}

void ZuWidget::retranslateUi() { }

void ZuWidget::setObjectName(const QString &name)
{
    QObject::setObjectName(name);
}

QVariant ZuWidget::itemChange(GraphicsItemChange change, const QVariant &value)
{
    const QVariant result = QGraphicsWidget::itemChange(change, value);
    if (change == ItemVisibleHasChanged) {
        // Layouts leave hidden items out. Qt tells only the nearest layout of
        // the change, and only later through the event loop; a layout nested
        // in another (a row in a list in a page) would go on measuring the
        // widget as absent. Tell every enclosing layout now.
        for (QGraphicsLayoutItem *item = parentLayoutItem(); item;
             item = item->parentLayoutItem()) {
            if (item->isLayout()) {
                static_cast<QGraphicsLayout *>(item)->invalidate();
            }
        }
    }
    return result;
}
