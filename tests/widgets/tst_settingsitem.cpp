#include "logcapture.h"
#include "settingsitem.h"

#include <QGraphicsGridLayout>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QPointer>
#include <QtTest>
#include <zubutton.h>
#include <zuimagewidget.h>
#include <zulabel.h>
#include <zuprogressindicator.h>

namespace {

const QString SetSpinnerOn = QStringLiteral("virtual void SettingsItem::setSpinner(bool): true");
const QString SetSpinnerOff = QStringLiteral("virtual void SettingsItem::setSpinner(bool): false");

QList<ZuProgressIndicator *> spinnersOf(SettingsItem *row)
{
    QList<ZuProgressIndicator *> found;
    for (QGraphicsItem *child : row->childItems()) {
        if (auto *spinner = qobject_cast<ZuProgressIndicator *>(static_cast<QGraphicsWidget *>(child)))
            found << spinner;
    }
    return found;
}

} // namespace

class TestSettingsItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The page's switch row, and a style beyond the table, which builds the
    // single-title layout without extras.
    void layoutBuiltTwice_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("withSwitch");
        QTest::newRow("TitleSwitch") << int(SettingsItem::TitleSwitch) << true;
        QTest::newRow("out of range") << int(SettingsItem::TitleSubtitleIconSwitch) + 1 << false;
    }

    void layoutBuiltTwice()
    {
        QFETCH(int, style);
        QFETCH(bool, withSwitch);
        SettingsItem row(static_cast<SettingsItem::ItemStyle>(style));
        // Reading the subtitle of a single-title row must not make a label.
        QCOMPARE(row.subtitle(), QString());
        // A second layout replaces the first, whose deletion must not take
        // the placeholders with it.
        for (int layout = 1; layout <= 2; ++layout) {
            if (layout == 2)
                row.createLayout();
            auto *grid = static_cast<QGraphicsGridLayout *>(row.layout());
            QCOMPARE(grid->count(), 3);
            QCOMPARE(grid->itemAt(0, 0), row.titleLabelWidget());
            QCOMPARE(grid->alignment(row.titleLabelWidget()), Qt::AlignLeft | Qt::AlignVCenter);
            QCOMPARE(grid->itemAt(0, 1), row.helpPlaceHolder());
            QCOMPARE(grid->itemAt(0, 2), row.spinnerPlaceHolder());
            QCOMPARE(row.titleLabelWidget()->styleName(), QStringLiteral("CommonSingleTitleInverted"));
            QCOMPARE(row.helpPlaceHolder()->count(), 0);
            QCOMPARE(row.spinnerPlaceHolder()->count(), withSwitch ? 1 : 0);
        }
        // Title and, waiting hidden in its cell for showButton(), the switch.
        QCOMPARE(row.childItems().size(), withSwitch ? 2 : 1);
        if (withSwitch) {
            QCOMPARE(row.spinnerPlaceHolder()->itemAt(0), row.button());
            QVERIFY(!row.button()->isVisibleTo(&row));
        }
    }

    void spinnerTakesTheSwitchPlaceAfterDelay()
    {
        QGraphicsScene scene;
        auto *row = new SettingsItem(SettingsItem::TitleSwitch);
        scene.addItem(row);
        row->showButton();
        ZuButton *button = row->button();
        QVERIFY(button->isVisible());

        // Cancelled before it shows: the switch comes back with its own
        // timer, started last, so the spinner's timer finds no spinner.
        LogCapture log;
        row->setSpinner(true);
        QPointer<ZuProgressIndicator> spinner = spinnersOf(row).value(0);
        QVERIFY(spinner);
        row->setSpinner(false);
        QVERIFY(spinner.isNull());
        QCOMPARE(row->spinnerPlaceHolder()->count(), 1);
        QCOMPARE(row->spinnerPlaceHolder()->itemAt(0), button);
        QVERIFY(!button->isVisible());
        QTRY_VERIFY(button->isVisible());
        QVERIFY(spinnersOf(row).isEmpty());
        QCOMPARE(log.debugLines(), QStringList({ SetSpinnerOn, SetSpinnerOff }));

        log.clear();
        row->setSpinner(true);
        QVERIFY(!button->isVisible());
        spinner = spinnersOf(row).value(0);
        QCOMPARE(row->spinnerPlaceHolder()->count(), 1);
        QCOMPARE(row->spinnerPlaceHolder()->itemAt(0), spinner.data());
        QCOMPARE(spinner->styleName(), QStringLiteral("CommonListItemSpinnerInverted"));
        QVERIFY(!spinner->isVisible());
        QTRY_VERIFY(spinner->isVisible());
        QVERIFY(row->isSpinning());
        QCOMPARE(log.debugLines(),
            QStringList({ SetSpinnerOn, QStringLiteral("bool SettingsItem::isSpinning(): true") }));
        QVERIFY(!button->isVisible());
        // Out of its cell the switch would be drawn over the row.
        row->showButton();
        QVERIFY(!button->isVisible());

        // A second request keeps the one spinner in the cell.
        row->setSpinner(true);
        QCOMPARE(spinnersOf(row), QList<ZuProgressIndicator *> { spinner.data() });
        QCOMPARE(row->spinnerPlaceHolder()->count(), 1);
        QCOMPARE(row->spinnerPlaceHolder()->itemAt(0), spinner.data());

        // Off and on again within the delay: the switch's timer finds the
        // spinner back in the cell.
        row->setSpinner(false);
        row->setSpinner(true);
        QVERIFY(spinner.isNull());
        spinner = spinnersOf(row).value(0);
        QTRY_VERIFY(spinner && spinner->isVisible());
        QVERIFY(!button->isVisible());

        row->setSpinner(false);
        QVERIFY(spinner.isNull());
        QCOMPARE(row->spinnerPlaceHolder()->itemAt(0), button);
        QTRY_VERIFY(button->isVisible());
        QVERIFY(!row->isSpinning());
    }

    // The page sets no icon, but handing back the one the row holds must
    // not destroy it.
    void sameImageWidgetIsKept()
    {
        SettingsItem row(SettingsItem::TitleIcon);
        QPointer<ZuImageWidget> icon = row.imageWidget();
        row.setImageWidget(icon);
        QCOMPARE(row.imageWidget(), icon.data());
    }

    void titlePropertyAndWrap()
    {
        SettingsItem single(SettingsItem::TitleIconSwitch);
        // The title property as the meta-object offers it.
        QVERIFY(single.setProperty("title", QStringLiteral("PIN code request")));
        QCOMPARE(single.title(), QStringLiteral("PIN code request"));
        QCOMPARE(single.property("title"), QVariant(QStringLiteral("PIN code request")));
        single.wrapSingleTitle();
        QVERIFY(single.titleLabelWidget()->wordWrap());
        // A title with a subtitle below it stays on its line.
        SettingsItem twoLine(SettingsItem::TitleSubtitle);
        twoLine.wrapSingleTitle();
        QVERIFY(!twoLine.titleLabelWidget()->wordWrap());
    }
};

QTEST_MAIN(TestSettingsItem)
#include "tst_settingsitem.moc"
