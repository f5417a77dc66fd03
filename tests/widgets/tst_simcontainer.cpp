#include "drilldownlistitem.h"
#include "infowidget.h"
#include "logcapture.h"
#include "settingsitem.h"
#include "simcontainer.h"

#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QPointer>
#include <QtTest>
#include <zubutton.h>

namespace {

const char *const RowNames[] = { "SimActivateSimItem", "SimUnlockSimItem", "SimPinRequestItem",
    "SimPinChangeItem", "SimErrorItem" };

ZuWidget *rowNamed(SimContainer *list, const QString &name)
{
    for (QGraphicsItem *child : list->childItems()) {
        auto *widget = qobject_cast<ZuWidget *>(static_cast<QGraphicsWidget *>(child));
        if (widget && widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

// The list as one line: the layout's rows top to bottom with their texts,
// marked when in the layout but hidden; after "||" the rows that were made
// but are out of the layout (which must be hidden).
QString snapshot(SimContainer *list)
{
    auto *layout = static_cast<QGraphicsLinearLayout *>(list->layout());
    QStringList inLayout;
    for (int i = 0; i < layout->count(); ++i) {
        auto *row = static_cast<ZuWidget *>(layout->itemAt(i)->graphicsItem());
        QString text = row->objectName();
        if (auto *settings = qobject_cast<SettingsItem *>(row))
            text += QStringLiteral(" '%1' %2").arg(
                settings->title(), QLatin1String(settings->button()->isChecked() ? "on" : "off"));
        else if (auto *drillDown = qobject_cast<DrillDownListItem *>(row))
            text += QStringLiteral(" '%1'").arg(drillDown->title());
        else if (auto *info = qobject_cast<InfoWidget *>(row))
            text += QStringLiteral(" '%1'").arg(info->text());
        if (!row->isVisibleTo(list))
            text += QStringLiteral(" hidden");
        inLayout << text;
    }
    QStringList outside;
    for (const char *name : RowNames) {
        ZuWidget *row = rowNamed(list, QLatin1String(name));
        if (!row || list->itemIndex(row) >= 0)
            continue;
        QString text = row->objectName();
        if (auto *info = qobject_cast<InfoWidget *>(row))
            text += QStringLiteral(" '%1'").arg(info->text());
        if (row->isVisibleTo(list))
            text += QStringLiteral(" VISIBLE");
        outside << text;
    }
    QStringList parts;
    if (!inLayout.isEmpty())
        parts << inLayout.join(QStringLiteral(" | "));
    if (!outside.isEmpty())
        parts << QStringLiteral("|| ") + outside.join(QLatin1Char(' '));
    return parts.join(QLatin1Char(' '));
}

// One step of the little language of the sequence table.
void apply(SimContainer *list, const QString &step)
{
    const QString verb = step.section(QLatin1Char(' '), 0, 0);
    const QString argument = step.section(QLatin1Char(' '), 1);
    const bool on = argument == QLatin1String("on");
    if (verb == QLatin1String("pin"))
        list->showPinRequestItem(on);
    else if (verb == QLatin1String("unlock"))
        list->showUnlockSimItem(on);
    else if (verb == QLatin1String("activate"))
        list->showActivateSimItem(on);
    else if (verb == QLatin1String("state"))
        list->setPinRequestState(on);
    else if (verb == QLatin1String("error"))
        list->showErrorItem(argument);
    else
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
}

} // namespace

class TestSimContainer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequences_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("after");

        const QString pinOff = QStringLiteral("SimPinRequestItem 'qtn_cell_pin_code_request' off");
        const QString pinOn = QStringLiteral("SimPinRequestItem 'qtn_cell_pin_code_request' on");
        const QString changeHidden
            = QStringLiteral("SimPinChangeItem 'qtn_cell_change_pin' hidden");
        const QString change = QStringLiteral("SimPinChangeItem 'qtn_cell_change_pin'");
        const QString unlock = QStringLiteral("SimUnlockSimItem 'qtn_cell_enter_unlock_code'");
        const QString activate = QStringLiteral("SimActivateSimItem 'qtn_cell_activate_sim'");

        QTest::newRow("hiding rows never made")
            << QStringList { "pin off", "unlock off", "activate off", "error", "state on" }
            << QStringList { "", "", "", "", "" };
        // The change PIN row enters the layout hidden until the request is on.
        QTest::newRow("unlock row goes above the PIN rows")
            << QStringList { "pin on", "state on", "unlock on", "unlock on" }
            << QStringList { pinOff + " | " + changeHidden, pinOn + " | " + change,
                   unlock + " | " + pinOn + " | " + change,
                   unlock + " | " + pinOn + " | " + change };
        QTest::newRow("PIN rows go below the unlock row")
            << QStringList { "unlock on", "pin on", "unlock off" }
            << QStringList { unlock, unlock + " | " + pinOff + " | " + changeHidden,
                   pinOff + " | " + changeHidden + " || SimUnlockSimItem" };
        QTest::newRow("activate row stands alone")
            << QStringList { "error No SIM", "unlock on", "pin on", "activate on" }
            << QStringList { "SimErrorItem 'No SIM'", unlock + " | SimErrorItem 'No SIM'",
                   unlock + " | SimErrorItem 'No SIM' | " + pinOff + " | " + changeHidden,
                   activate
                       + " || SimUnlockSimItem SimPinRequestItem SimPinChangeItem "
                         "SimErrorItem ''" };
        QTest::newRow("error line replaces the activate row and its own text")
            << QStringList { "activate on", "error SIM error", "error Flight mode", "error" }
            << QStringList { activate, "SimErrorItem 'SIM error' || SimActivateSimItem",
                   "SimErrorItem 'Flight mode' || SimActivateSimItem",
                   "|| SimActivateSimItem SimErrorItem ''" };
        QTest::newRow("error line takes out every row")
            << QStringList { "unlock on", "pin on", "state on", "error Flight mode" }
            << QStringList { unlock, unlock + " | " + pinOff + " | " + changeHidden,
                   unlock + " | " + pinOn + " | " + change,
                   "SimErrorItem 'Flight mode' || SimUnlockSimItem SimPinRequestItem "
                   "SimPinChangeItem" };
        // Out of the layout the switch and the change PIN row stay as they are.
        QTest::newRow("state ignored while the PIN rows are out")
            << QStringList { "pin on", "pin off", "state on", "pin on" }
            << QStringList { pinOff + " | " + changeHidden, "|| SimPinRequestItem SimPinChangeItem",
                   "|| SimPinRequestItem SimPinChangeItem", pinOff + " | " + changeHidden };
        // Showing the PIN rows again never shows the change PIN row by itself.
        QTest::newRow("change PIN row hidden again after re-show")
            << QStringList { "pin on", "state on", "pin off", "pin on", "state on" }
            << QStringList { pinOff + " | " + changeHidden, pinOn + " | " + change,
                   "|| SimPinRequestItem SimPinChangeItem", pinOn + " | " + changeHidden,
                   pinOn + " | " + change };
    }

    void sequences()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, after);
        QCOMPARE(steps.size(), after.size());

        QGraphicsScene scene;
        auto *list = new SimContainer;
        scene.addItem(list);
        // Only the user's taps are requests, never the caller's own steps.
        QSignalSpy requests(list, SIGNAL(pinRequestToggled(bool)));
        for (int i = 0; i < steps.size(); ++i) {
            apply(list, steps.at(i));
            const QString actual = snapshot(list);
            QVERIFY2(actual == after.at(i),
                qPrintable(QStringLiteral("after \"%1\":\n   actual   %2\n   expected %3")
                               .arg(steps.at(i), actual, after.at(i))));
        }
        QCOMPARE(requests.count(), 0);
    }

    void queuedCallInsideSettleStep()
    {
        QGraphicsScene scene;
        auto *list = new SimContainer;
        scene.addItem(list);
        // Posted now, run from within the settle step of the next call, which
        // has put its row into the layout but not yet shown it.
        int indexDuringSettle = -1;
        bool visibleDuringSettle = true;
        QMetaObject::invokeMethod(
            list,
            [&, list] {
                ZuWidget *row = rowNamed(list, QStringLiteral("SimPinRequestItem"));
                indexDuringSettle = list->itemIndex(row);
                visibleDuringSettle = row->isVisible();
                list->showUnlockSimItem(true);
            },
            Qt::QueuedConnection);

        list->showPinRequestItem(true);
        QCOMPARE(indexDuringSettle, 0);
        QVERIFY(!visibleDuringSettle);
        // The inner call has done its work and the outer one has finished.
        QCOMPARE(snapshot(list),
            QStringLiteral("SimUnlockSimItem 'qtn_cell_enter_unlock_code' | SimPinRequestItem "
                           "'qtn_cell_pin_code_request' off | SimPinChangeItem "
                           "'qtn_cell_change_pin' hidden"));
    }

    void listDestroyedInsideSettleStep()
    {
        QGraphicsScene scene;
        QPointer<SimContainer> list = new SimContainer;
        scene.addItem(list);
        list->showUnlockSimItem(true);
        QMetaObject::invokeMethod(
            &scene, [list] { delete list.data(); }, Qt::QueuedConnection);

        list->showPinRequestItem(true);
        QVERIFY(list.isNull());
        QVERIFY(scene.items().isEmpty());
    }

    // A row destroyed elsewhere is made anew on its next show.
    void rowDestroyedElsewhereIsMadeAgain()
    {
        QGraphicsScene scene;
        LogCapture log;
        auto *list = new SimContainer;
        scene.addItem(list);
        list->showUnlockSimItem(true);
        delete rowNamed(list, QStringLiteral("SimUnlockSimItem"));
        list->showUnlockSimItem(true);
        QCOMPARE(snapshot(list), QStringLiteral("SimUnlockSimItem 'qtn_cell_enter_unlock_code'"));
        delete list;
        const QString show = QStringLiteral("void SimContainer::showUnlockSimItem(bool): true");
        QCOMPARE(log.debugLines(),
            QStringList({ "SimContainer::SimContainer(ZuWidget*):", show, show,
                "virtual SimContainer::~SimContainer():" }));
    }
};

QTEST_MAIN(TestSimContainer)
#include "tst_simcontainer.moc"
