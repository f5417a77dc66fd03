#include "drilldownlistitem.h"

#include <QGraphicsGridLayout>
#include <QGraphicsScene>
#include <QtTest>
#include <zuimagewidget.h>
#include <zulabel.h>

class TestListItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drillDownLayout_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("cells");
        QTest::addColumn<QString>("titleStyle");

        QTest::newRow("SingleTitle, as on the page")
            << int(ZuBasicListItem::SingleTitle) << 2 << "CommonSingleTitleInverted";
        // Title, subtitle and a spacer below them; the arrow spans all three.
        QTest::newRow("TitleWithSubtitle")
            << int(ZuBasicListItem::TitleWithSubtitle) << 4 << "CommonTitleInverted";
        // Beyond the toolkit's styles: an empty grid, the toolkit's title look.
        QTest::newRow("out of range") << int(ZuBasicListItem::IconWithTitleAndSubtitle) + 4 << 0
                                      << "CommonSingleTitleInverted";
    }

    void drillDownLayout()
    {
        QFETCH(int, style);
        QFETCH(int, cells);
        QFETCH(QString, titleStyle);

        // The toolkit asks a row for its layout once the row is complete; a
        // row in a scene gets it on the next turn of the event loop.
        QGraphicsScene scene;
        auto *row = new DrillDownListItem(static_cast<ZuBasicListItem::ItemStyle>(style));
        scene.addItem(row);
        row->setTitle(QStringLiteral("Change PIN code"));
        QTRY_VERIFY(row->isLayoutCreated());
        QCOMPARE(row->titleLabelWidget()->styleName(), titleStyle);
        QCOMPARE(row->imageWidget()->styleName(), QStringLiteral("CommonDrilldownIconInverted"));
        QCOMPARE(row->imageWidget()->image(), QStringLiteral("icon-m-common-drilldown-arrow-inverse"));

        // A relayout builds the same grid and leaves no part of the old one.
        const int parts = row->childItems().size();
        for (int layout = 1; layout <= 2; ++layout) {
            if (layout == 2) {
                row->clearLayout();
                QTRY_VERIFY(row->isLayoutCreated());
            }
            auto *grid = static_cast<QGraphicsGridLayout *>(row->layout());
            QCOMPARE(grid->count(), cells);
            if (cells > 0) {
                QCOMPARE(grid->itemAt(0, 0), row->titleLabelWidget());
                QCOMPARE(grid->alignment(row->titleLabelWidget()), Qt::AlignLeft | Qt::AlignVCenter);
                QCOMPARE(grid->itemAt(0, 1), row->imageWidget());
            }
            QCOMPARE(row->childItems().size(), parts);
        }
    }
};

QTEST_MAIN(TestListItems)
#include "tst_listitems.moc"
