// The applet as the host drives it, and the page it builds.

#include "headerwidget.h"
#include "kivbrief.h"
#include "kivwidget.h"
#include "simapplet.h"
#include "simlogic.h"

#include <QPointer>
#include <QtTest>
#include <zulabel.h>
#include <zulayout.h>
#include <zulinearlayoutpolicy.h>
#include <zuprogressindicator.h>
#include <zuwidgetcontroller.h>

namespace {
template <class T> T *childOf(QGraphicsItem *parent)
{
    for (QGraphicsItem *child : parent->childItems()) {
        if (auto *widget = qobject_cast<T *>(static_cast<QGraphicsWidget *>(child)))
            return widget;
    }
    return nullptr;
}
} // namespace

class TestSimApplet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void briefIsKeptUntilInit()
    {
        SimApplet applet;
        applet.init();
        QPointer<KivBrief> first = applet.constructBrief(0);
        QVERIFY(first && !first->parent());
        QCOMPARE(applet.constructBrief(-1), first.data());
        // init() forgets the brief but leaves it to the host that holds it.
        applet.init();
        QPointer<KivBrief> second = applet.constructBrief(0);
        QVERIFY(second && second != first);
        delete first.data();
        // A brief the host deleted is replaced, not handed out dangling.
        second->setObjectName(QStringLiteral("deleted by the host"));
        delete second.data();
        QScopedPointer<KivBrief> third(applet.constructBrief(0));
        QVERIFY(third && third->objectName().isEmpty());
        // Read through the host's base class: empty, but not a null string.
        QVERIFY(third->valueText().isEmpty() && !third->valueText().isNull());
    }

    void pageAsBuilt()
    {
        SimApplet applet;
        QScopedPointer<KivWidget> page(applet.pageMain());
        // One page, whatever the host asks for.
        QCOMPARE(applet.constructWidget(0), page.data());
        QCOMPARE(applet.constructWidget(-1), page.data());
        auto *layout = dynamic_cast<ZuLayout *>(page->layout());
        QVERIFY(layout);
        qreal left, top, right, bottom;
        layout->getContentsMargins(&left, &top, &right, &bottom);
        QCOMPARE(QList<qreal>({ left, top, right, bottom }), QList<qreal>({ 0, 0, 0, 0 }));
        ZuLinearLayoutPolicy *policy = layout->policy();
        QCOMPARE(policy->orientation(), Qt::Vertical);
        QCOMPARE(policy->spacing(), qreal(0));
        // Top to bottom: class, object name and style name of each row.
        QStringList rows;
        for (int i = 0; i < policy->count(); ++i) {
            auto *row = static_cast<QGraphicsWidget *>(policy->itemAt(i)->graphicsItem());
            auto *styled = qobject_cast<ZuWidgetController *>(row);
            rows << QStringLiteral("%1 '%2' %3")
                        .arg(QLatin1String(row->metaObject()->className()), row->objectName(),
                            styled ? styled->styleName() : QString());
        }
        QCOMPARE(rows,
            QStringList(
                { "HeaderWidget 'SimSettings' ", "ZuSeparator '' CommonHeaderDividerInverted",
                    "SimContainer '' CommonContainerInverted" }));

        auto *header = static_cast<HeaderWidget *>(policy->itemAt(0)->graphicsItem());
        QCOMPARE(childOf<ZuLabel>(header)->text(), QStringLiteral("qtn_cell_sim_card"));
        ZuProgressIndicator *spinner = childOf<ZuProgressIndicator>(header);
        QVERIFY(!spinner->isVisibleTo(header));
        // The controller moves the header's spinner.
        auto *logic = page->findChild<SimLogic *>();
        QVERIFY(QMetaObject::invokeMethod(logic, "setSpinner", Q_ARG(bool, true)));
        QVERIFY(spinner->isVisibleTo(header));
        QVERIFY(spinner->unknownDuration());
        QVERIFY(QMetaObject::invokeMethod(logic, "setSpinner", Q_ARG(bool, false)));
        QVERIFY(!spinner->isVisibleTo(header));
    }
};

QTEST_MAIN(TestSimApplet)
#include "tst_simapplet.moc"
