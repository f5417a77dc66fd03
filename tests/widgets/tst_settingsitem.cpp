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

// A widget handed to the row, if any, is named "given".
QStringList describeRow(SettingsItem *row, const QGraphicsLayoutItem *given = nullptr)
{
    QHash<const QGraphicsLayoutItem *, QString> names {
        { row->helpPlaceHolder(), QStringLiteral("help") },
        { row->spinnerPlaceHolder(), QStringLiteral("spinner") },
    };
    if (given)
        names.insert(given, QStringLiteral("given"));
    return describeLayout(row->layout(), names);
}

} // namespace

class TestSettingsItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gridPerStyle_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("grid");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<bool>("switchInSpinnerCell");

        const QString title = QStringLiteral("CommonTitle 0,0 1x1 left|vcenter");
        const QString subtitle = QStringLiteral("CommonSubTitle 1,0 1x1 left|vcenter");
        const QString help = QStringLiteral("help 0,1 2x1 hcenter|vcenter");
        const QString image = QStringLiteral("CommonMainIcon 0,2 2x1 hcenter|vcenter");
        const QString singleTitle = QStringLiteral("CommonTitle CommonSingleTitleInverted");
        const QString twoLineTitle = QStringLiteral("CommonTitle CommonTitleInverted");
        const QString subtitlePart = QStringLiteral("CommonSubTitle CommonSubTitleInverted");
        const QString rightIcon = QStringLiteral("CommonMainIcon CommonRightIconInverted");
        const QString switchIcon = QStringLiteral("CommonMainIcon CommonSwitchIconInverted");
        const QString hiddenSwitch
            = QStringLiteral("CommonSwitch CommonRightSwitchInverted hidden");

        // The spinner cell's column counts the items placed before it.
        QTest::newRow("0 title only")
            << int(SettingsItem::TitleOnly)
            << QStringList { title, help, QStringLiteral("spinner 0,2 1x1 hcenter|vcenter") }
            << QStringList { singleTitle } << false;
        // Column 2 stays empty between the help and the spinner cells.
        QTest::newRow("1 title and subtitle")
            << int(SettingsItem::TitleSubtitle)
            << QStringList { title, help, QStringLiteral("spinner 0,3 1x1 hcenter|vcenter"),
                   subtitle }
            << QStringList { subtitlePart, twoLineTitle } << false;
        QTest::newRow("2 title and icon")
            << int(SettingsItem::TitleIcon)
            << QStringList { title, help, image, QStringLiteral("spinner 0,3 1x1 hcenter|vcenter") }
            << QStringList { rightIcon, singleTitle } << false;
        QTest::newRow("3 title, subtitle and icon")
            << int(SettingsItem::TitleSubtitleIcon)
            << QStringList { title, help, image, QStringLiteral("spinner 0,4 1x1 hcenter|vcenter"),
                   subtitle }
            << QStringList { rightIcon, subtitlePart, twoLineTitle } << false;
        QTest::newRow("4 title and switch")
            << int(SettingsItem::TitleSwitch)
            << QStringList { title, help, QStringLiteral("spinner 0,2 1x1 hcenter|vcenter") }
            << QStringList { hiddenSwitch, singleTitle } << true;
        // The only style whose spinner cell spans both rows.
        QTest::newRow("5 title, subtitle and switch")
            << int(SettingsItem::TitleSubtitleSwitch)
            << QStringList { title, help, QStringLiteral("spinner 0,3 2x1 hcenter|vcenter"),
                   subtitle }
            << QStringList { subtitlePart, hiddenSwitch, twoLineTitle } << true;
        QTest::newRow("6 title, icon and switch")
            << int(SettingsItem::TitleIconSwitch)
            << QStringList { title, help, image, QStringLiteral("spinner 0,3 1x1 hcenter|vcenter") }
            << QStringList { switchIcon, hiddenSwitch, singleTitle } << true;
        QTest::newRow("7 title, subtitle, icon and switch")
            << int(SettingsItem::TitleSubtitleIconSwitch)
            << QStringList { title, help, image, QStringLiteral("spinner 0,4 1x1 hcenter|vcenter"),
                   subtitle }
            << QStringList { switchIcon, subtitlePart, hiddenSwitch, twoLineTitle } << true;
        // Values beyond the table build the single-title layout without extras.
        QTest::newRow("8 out of range")
            << 8 << QStringList { title, help, QStringLiteral("spinner 0,2 1x1 hcenter|vcenter") }
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

    void setImageWidget_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("handIn"); // "new", "null" or "same"
        QTest::addColumn<bool>("oldSurvives");
        QTest::addColumn<bool>("handedInTaken");
        QTest::addColumn<QStringList>("iconCell");

        QTest::newRow("style without icon ignores it")
            << int(SettingsItem::TitleSwitch) << "new" << true << false << QStringList();
        QTest::newRow("new widget replaces the icon")
            << int(SettingsItem::TitleSubtitleIconSwitch) << "new" << false << true
            << QStringList { QStringLiteral("given 0,2 2x1 hcenter|vcenter") };
        QTest::newRow("null empties the icon cell")
            << int(SettingsItem::TitleIcon) << "null" << false << false << QStringList();
        // The row must not destroy the widget it goes on holding.
        QTest::newRow("same widget is kept")
            << int(SettingsItem::TitleIcon) << "same" << true << true
            << QStringList { QStringLiteral("given 0,2 2x1 hcenter|vcenter") };
    }

    void setImageWidget()
    {
        QFETCH(int, style);
        QFETCH(QString, handIn);
        QFETCH(bool, oldSurvives);
        QFETCH(bool, handedInTaken);
        QFETCH(QStringList, iconCell);

        auto *row = new SettingsItem(static_cast<SettingsItem::ItemStyle>(style));
        QPointer<ZuImageWidget> old = row->imageWidget();
        QPointer<ZuImageWidget> given;
        if (handIn == QLatin1String("new"))
            given = new ZuImageWidget;
        else if (handIn == QLatin1String("same"))
            given = old;

        row->setImageWidget(given);

        QCOMPARE(!old.isNull(), oldSurvives);
        QStringList cells;
        for (const QString &line : describeRow(row, given)) {
            if (line.startsWith(QLatin1String("given"))
                || line.startsWith(QLatin1String("CommonMainIcon")))
                cells << line;
        }
        QCOMPARE(cells, iconCell);
        if (given)
            QCOMPARE(given->parentItem() == row, handedInTaken);

        delete row;
        // A taken widget goes with the row; one that was not taken is untouched.
        if (handIn != QLatin1String("null"))
            QCOMPARE(given.isNull(), handedInTaken);
        delete given.data();
    }

    void unplacedPartsStayHidden_data()
    {
        QTest::addColumn<QString>("part");
        QTest::newRow("subtitle of a single-title row") << "subtitle";
        QTest::newRow("icon of a row without icon") << "icon";
        QTest::newRow("switch of a row without switch") << "switch";
    }

    void unplacedPartsStayHidden()
    {
        QFETCH(QString, part);
        QGraphicsScene scene;
        auto *row = new SettingsItem(SettingsItem::TitleOnly);
        scene.addItem(row);
        const QStringList grid = describeRow(row);

        QGraphicsWidget *made = nullptr;
        if (part == QLatin1String("subtitle")) {
            row->setSubtitle(QStringLiteral("no room for me"));
            made = row->subtitleLabelWidget();
        } else if (part == QLatin1String("icon")) {
            made = row->imageWidget();
        } else {
            made = row->button();
            row->showButton();
        }
        QCOMPARE(made->parentItem(), row);
        QVERIFY(!made->isVisible());
        QCOMPARE(describeRow(row), grid);
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
