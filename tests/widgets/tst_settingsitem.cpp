#include "layoutdescription.h"
#include "logcapture.h"
#include "settingsitem.h"

#include <QGraphicsGridLayout>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QPointer>
#include <QtTest>
#include <zubutton.h>
#include <zuhelpbutton.h>
#include <zuimagewidget.h>
#include <zulabel.h>
#include <zuprogressindicator.h>

namespace {

const QString SetSpinnerOn = QStringLiteral("virtual void SettingsItem::setSpinner(bool): true");
const QString SetSpinnerOff = QStringLiteral("virtual void SettingsItem::setSpinner(bool): false");

template <class T> QList<T *> childrenOf(QGraphicsItem *parent)
{
    QList<T *> found;
    for (QGraphicsItem *child : parent->childItems()) {
        if (!child->isWidget())
            continue;
        if (auto *widget = qobject_cast<T *>(static_cast<QGraphicsWidget *>(child)))
            found << widget;
    }
    return found;
}

// "<object name> <style name>[ hidden]" for each part, sorted.
QStringList describeParts(SettingsItem *row)
{
    QStringList parts;
    for (ZuWidgetController *child : childrenOf<ZuWidgetController>(row)) {
        QString text = child->objectName() + QLatin1Char(' ') + child->styleName();
        if (!child->isVisibleTo(row))
            text += QStringLiteral(" hidden");
        parts << text;
    }
    parts.sort();
    return parts;
}

// A switch row in a scene, with its switch shown.
SettingsItem *switchRow(QGraphicsScene *scene)
{
    auto *row = new SettingsItem(SettingsItem::TitleSwitch);
    scene->addItem(row);
    row->showButton();
    return row;
}

QStringList describeRow(SettingsItem *row)
{
    return describeLayout(row->layout(),
        { { row->helpPlaceHolder(), QStringLiteral("help") },
            { row->spinnerPlaceHolder(), QStringLiteral("spinner") } });
}

} // namespace

class TestSettingsItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The page's switch row, and a style beyond the table, which builds the
    // single-title layout without extras.
    void gridPerStyle_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("grid");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<bool>("switchInSpinnerCell");

        const QStringList grid { QStringLiteral("CommonTitle 0,0 1x1 left|vcenter"),
            QStringLiteral("help 0,1 2x1 hcenter|vcenter"),
            QStringLiteral("spinner 0,2 1x1 hcenter|vcenter") };
        const QString singleTitle = QStringLiteral("CommonTitle CommonSingleTitleInverted");
        QTest::newRow("TitleSwitch")
            << int(SettingsItem::TitleSwitch) << grid
            << QStringList { QStringLiteral("CommonSwitch CommonRightSwitchInverted hidden"),
                   singleTitle }
            << true;
        QTest::newRow("out of range")
            << int(SettingsItem::TitleSubtitleIconSwitch) + 1 << grid
            << QStringList { singleTitle } << false;
    }

    void gridPerStyle()
    {
        QFETCH(int, style);
        QFETCH(QStringList, grid);
        QFETCH(QStringList, parts);
        QFETCH(bool, switchInSpinnerCell);

        SettingsItem row(static_cast<SettingsItem::ItemStyle>(style));
        // Reading the subtitle of a single-title row must not make a label.
        QCOMPARE(row.subtitle(), QString());
        // A second layout replaces the first, whose deletion must not take
        // the placeholders with it.
        for (int layout = 1; layout <= 2; ++layout) {
            if (layout == 2)
                row.createLayout();
            QCOMPARE(describeRow(&row), grid);
            QCOMPARE(describeParts(&row), parts);
            QCOMPARE(row.helpPlaceHolder()->count(), 0);
            QCOMPARE(row.spinnerPlaceHolder()->count(), switchInSpinnerCell ? 1 : 0);
            if (switchInSpinnerCell)
                QCOMPARE(row.spinnerPlaceHolder()->itemAt(0), row.button());
        }
    }

    void spinnerTakesTheSwitchPlaceAfterDelay()
    {
        QGraphicsScene scene;
        SettingsItem *row = switchRow(&scene);
        ZuButton *button = row->button();
        QVERIFY(button->isVisible());

        LogCapture log;
        row->setSpinner(true);
        QVERIFY(!button->isVisible());
        const QList<ZuProgressIndicator *> spinners = childrenOf<ZuProgressIndicator>(row);
        QCOMPARE(spinners.size(), 1);
        QPointer<ZuProgressIndicator> spinner = spinners.first();
        QCOMPARE(spinner->styleName(), QStringLiteral("CommonListItemSpinnerInverted"));
        QCOMPARE(row->spinnerPlaceHolder()->count(), 1);
        QCOMPARE(row->spinnerPlaceHolder()->itemAt(0), spinner.data());
        QVERIFY(!spinner->isVisible());
        QVERIFY(!spinner->unknownDuration());

        QTRY_VERIFY(spinner->isVisible());
        QVERIFY(spinner->unknownDuration());
        QVERIFY(row->isSpinning());
        QVERIFY(!button->isVisible());
        QCOMPARE(log.debugLines(),
            QStringList({ SetSpinnerOn, QStringLiteral("bool SettingsItem::isSpinning(): true") }));
        // Out of its cell the switch would be drawn over the row.
        row->showButton();
        QVERIFY(!button->isVisible());

        // A second request keeps the one spinner in the cell.
        row->setSpinner(true);
        QCOMPARE(childrenOf<ZuProgressIndicator>(row).size(), 1);
        QCOMPARE(row->spinnerPlaceHolder()->count(), 1);
        QCOMPARE(row->spinnerPlaceHolder()->itemAt(0), spinner.data());

        // Off and on again within the delay: the switch's timer finds the
        // spinner back in the cell.
        row->setSpinner(false);
        row->setSpinner(true);
        QVERIFY(spinner.isNull());
        spinner = childrenOf<ZuProgressIndicator>(row).value(0);
        QTRY_VERIFY(spinner && spinner->isVisible());
        QVERIFY(!button->isVisible());

        row->setSpinner(false);
        QVERIFY(spinner.isNull());
        QCOMPARE(row->spinnerPlaceHolder()->itemAt(0), button);
        QTRY_VERIFY(button->isVisible());
        QVERIFY(!row->isSpinning());
    }

    void spinnerCancelledBeforeItShows()
    {
        QGraphicsScene scene;
        SettingsItem *row = switchRow(&scene);
        ZuButton *button = row->button();

        LogCapture log;
        row->setSpinner(true);
        QPointer<ZuProgressIndicator> spinner = childrenOf<ZuProgressIndicator>(row).value(0);
        QVERIFY(spinner);
        row->setSpinner(false);
        QVERIFY(spinner.isNull());
        QCOMPARE(row->spinnerPlaceHolder()->count(), 1);
        QCOMPARE(row->spinnerPlaceHolder()->itemAt(0), button);
        // The switch comes back only with its own timer.
        QVERIFY(!button->isVisible());

        // The switch's timer was started last, so by the time it has fired the
        // spinner's timer has found no spinner to start.
        QTRY_VERIFY(button->isVisible());
        QVERIFY(childrenOf<ZuProgressIndicator>(row).isEmpty());
        QCOMPARE(log.debugLines(), QStringList({ SetSpinnerOn, SetSpinnerOff }));
    }

    // The page sets no icon, but handing back the one the row holds must
    // not destroy it.
    void sameImageWidgetIsKept()
    {
        SettingsItem row(SettingsItem::TitleIcon);
        QPointer<ZuImageWidget> icon = row.imageWidget();
        row.setImageWidget(icon);
        QVERIFY(icon);
        QCOMPARE(row.imageWidget(), icon.data());
    }

    void wrapSingleTitle()
    {
        SettingsItem single(SettingsItem::TitleIconSwitch);
        // The title property as the meta-object offers it.
        QVERIFY(single.setProperty("title", QStringLiteral("PIN code request")));
        QCOMPARE(single.title(), QStringLiteral("PIN code request"));
        QCOMPARE(single.property("title"), QVariant(QStringLiteral("PIN code request")));
        single.wrapSingleTitle();
        ZuLabel *title = single.titleLabelWidget();
        QVERIFY(title->wordWrap());
        QCOMPARE(title->wrapMode(), QTextOption::WordWrap);
        QCOMPARE(title->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
        QCOMPARE(title->styleName(), QStringLiteral("CommonTitleInverted"));
        // A title with a subtitle below it stays on its line.
        SettingsItem twoLine(SettingsItem::TitleSubtitle);
        twoLine.wrapSingleTitle();
        QVERIFY(!twoLine.titleLabelWidget()->wordWrap());
    }

    void destructionTakesEveryPartOnce()
    {
        QGraphicsScene scene;
        auto *row = new SettingsItem(SettingsItem::TitleSubtitleIconSwitch);
        scene.addItem(row);
        row->infoButton();
        row->setImageWidget(new ZuImageWidget);
        row->setSpinner(true);
        QList<QPointer<QGraphicsWidget>> parts;
        for (QGraphicsItem *child : row->childItems())
            parts << static_cast<QGraphicsWidget *>(child);
        QCOMPARE(parts.size(), 6); // title, subtitle, icon, switch, spinner, help

        delete row;
        for (const QPointer<QGraphicsWidget> &part : parts)
            QVERIFY(part.isNull());
        QVERIFY(scene.items().isEmpty());
    }
};

QTEST_MAIN(TestSettingsItem)
#include "tst_settingsitem.moc"
