#include "drilldownlistitem.h"
#include "layoutdescription.h"

#include <QGraphicsGridLayout>
#include <QGraphicsScene>
#include <QtTest>
#include <zuimagewidget.h>
#include <zulabel.h>

namespace {

const QString ArrowStyle = QStringLiteral("CommonDrilldownIconInverted");
const QString ArrowImage = QStringLiteral("icon-m-common-drilldown-arrow-inverse");

// The toolkit asks a row for its layout once the row is complete; a row in
// a scene gets it on the next turn of the event loop.
template <class Row> Row *laidOutRow(QGraphicsScene *scene, int style)
{
    auto *row = new Row(static_cast<ZuBasicListItem::ItemStyle>(style));
    scene->addItem(row);
    row->setTitle(QStringLiteral("Change PIN code"));
    if (style == ZuBasicListItem::TitleWithSubtitle
        || style == ZuBasicListItem::IconWithTitleAndSubtitle)
        row->setSubtitle(QStringLiteral("Four to eight digits"));
    if (!QTest::qWaitFor([row] { return row->isLayoutCreated(); }))
        return nullptr;
    return row;
}

QHash<const QGraphicsLayoutItem *, QString> partNames(ZuBasicListItem *row)
{
    QHash<const QGraphicsLayoutItem *, QString> names {
        { row->titleLabelWidget(), QStringLiteral("title") },
        { row->imageWidget(), QStringLiteral("image") },
    };
    if (!row->subtitle().isEmpty())
        names.insert(row->subtitleLabelWidget(), QStringLiteral("subtitle"));
    return names;
}

QString subtitleStyle(ZuBasicListItem *row)
{
    return row->subtitle().isEmpty() ? QString() : row->subtitleLabelWidget()->styleName();
}

} // namespace

class TestListItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drillDownGrid_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("grid");
        QTest::addColumn<QString>("titleStyle");
        QTest::addColumn<QString>("subtitleStyle");

        QTest::newRow("SingleTitle, as on the page")
            << int(ZuBasicListItem::SingleTitle) << QStringList { "title 0,0 1x1 left|vcenter", "image 0,1 1x1 hcenter|vcenter" }
            << "CommonSingleTitleInverted" << QString();
        // The arrow spans title, subtitle and the spacer below them.
        QTest::newRow("TitleWithSubtitle")
            << int(ZuBasicListItem::TitleWithSubtitle)
            << QStringList { "title 0,0 1x1 left|vcenter", "image 0,1 3x1 hcenter|vcenter",
                   "subtitle 1,0 1x1 left|vcenter", "DrillDownSpacer 2,0 1x1 none" }
            << "CommonTitleInverted"
            << "CommonSubTitleInverted";
        // Beyond the toolkit's styles: an empty grid, the toolkit's title look.
        QTest::newRow("out of range")
            << int(ZuBasicListItem::IconWithTitleAndSubtitle) + 4 << QStringList() << "CommonSingleTitleInverted" << QString();
    }

    void drillDownGrid()
    {
        QFETCH(int, style);
        QFETCH(QStringList, grid);
        QFETCH(QString, titleStyle);
        QFETCH(QString, subtitleStyle);

        QGraphicsScene scene;
        DrillDownListItem *row = laidOutRow<DrillDownListItem>(&scene, style);
        QVERIFY(row);
        QCOMPARE(describeLayout(row->layout(), partNames(row)), grid);
        QCOMPARE(row->titleLabelWidget()->styleName(), titleStyle);
        QCOMPARE(::subtitleStyle(row), subtitleStyle);
        QCOMPARE(row->imageWidget()->styleName(), ArrowStyle);
        QCOMPARE(row->imageWidget()->image(), ArrowImage);
        QCOMPARE(row->styleName(), QStringLiteral("CommonPanelInverted"));

        // A relayout builds the same grid and leaves no part of the old one.
        const int parts = row->childItems().size();
        row->clearLayout();
        QTRY_VERIFY(row->isLayoutCreated());
        QCOMPARE(describeLayout(row->layout(), partNames(row)), grid);
        QCOMPARE(row->childItems().size(), parts);
    }
};

QTEST_MAIN(TestListItems)
#include "tst_listitems.moc"
