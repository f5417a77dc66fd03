#include "zubasiclistitem.h"
#include "zuimagewidget.h"
#include "zulabel.h"

#include "scenemouse.h"

#include <QGraphicsGridLayout>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Counts the calls of the layout hook and builds a layout of its own kind, so
// that the test sees whose createLayout() was installed.
class CustomRow : public ZuBasicListItem
{
    Q_OBJECT
public:
    explicit CustomRow(QGraphicsItem *parent = nullptr)
        : ZuBasicListItem(ZuBasicListItem::SingleTitle, parent)
    {
        // Like real subclasses, restyle in the constructor: this must not make
        // the row build its layout yet.
        setStyleName(QStringLiteral("CommonPanelInverted"));
    }
    QGraphicsLayout *createLayout() override
    {
        ++calls;
        auto *linear = new QGraphicsLinearLayout(Qt::Horizontal, this);
        linear->addItem(titleLabelWidget());
        return linear;
    }
    int calls = 0;
};

} // namespace

class TstZuListItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void partsAreMadeOnFirstUse();
    void createLayoutRunsOnceAndLate_data();
    void createLayoutRunsOnceAndLate();
    void replacingTheImage();
    void tapEmitsClicked_data();
    void tapEmitsClicked();
};

void TstZuListItem::partsAreMadeOnFirstUse()
{
    ZuBasicListItem row(ZuBasicListItem::TitleWithSubtitle);
    // Reading the texts makes nothing.
    QCOMPARE(row.title(), QString());
    QCOMPARE(row.subtitle(), QString());
    QVERIFY(row.childItems().isEmpty());

    row.setTitle(QStringLiteral("Change PIN code"));
    QCOMPARE(row.childItems().size(), 1);
    ZuLabel *title = row.titleLabelWidget();
    QCOMPARE(title->text(), QStringLiteral("Change PIN code"));
    QCOMPARE(title->parentItem(), &row);
    // Each part is made once.
    QVERIFY(row.subtitleLabelWidget() != title);
    row.imageWidget();
    QCOMPARE(row.subtitleLabelWidget(), row.subtitleLabelWidget());
    QCOMPARE(row.imageWidget(), row.imageWidget());
    QCOMPARE(row.childItems().size(), 3);
}

void TstZuListItem::createLayoutRunsOnceAndLate_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("added to a scene") << "scene";
    QTest::newRow("placed in a parent layout") << "parent layout";
    QTest::newRow("shown") << "shown";
}

void TstZuListItem::createLayoutRunsOnceAndLate()
{
    QFETCH(QString, trigger);
    QGraphicsScene scene;
    auto *page = new QGraphicsWidget;
    scene.addItem(page);
    auto *pageLayout = new QGraphicsLinearLayout(Qt::Vertical, page);

    auto *row = new CustomRow(trigger == QLatin1String("scene") ? page : nullptr);
    QCOMPARE(row->calls, 0);
    QVERIFY(!row->layout());

    if (trigger == QLatin1String("scene")) {
        // Polishing comes with the next turn of the event loop.
        QTRY_COMPARE(row->calls, 1);
    } else if (trigger == QLatin1String("parent layout")) {
        // Synchronous: laying out the page must not find the row without its layout.
        pageLayout->addItem(row);
        page->resize(480, 200);
        pageLayout->activate();
        QCOMPARE(row->calls, 1);
        QVERIFY(row->geometry().height() > 0);
    } else {
        row->hide();
        QCOMPARE(row->calls, 0);
        row->show();
        QCOMPARE(row->calls, 1);
        delete row;
        return;
    }
    QVERIFY(dynamic_cast<QGraphicsLinearLayout *>(row->layout()));
    QCOMPARE(row->layout()->itemAt(0), row->titleLabelWidget());

    row->hide();
    row->show();
    row->resize(400, 90);
    row->effectiveSizeHint(Qt::PreferredSize);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(row->calls, 1);
}

void TstZuListItem::replacingTheImage()
{
    auto *row = new ZuBasicListItem(ZuBasicListItem::IconWithTitle);
    QTRY_VERIFY(row->isLayoutCreated());
    QPointer<ZuImageWidget> first(row->imageWidget());

    // Handing back the widget the row already holds must not destroy it.
    row->setImageWidget(first);
    QVERIFY(first);
    QCOMPARE(row->imageWidget(), first.data());

    auto *second = new ZuImageWidget;
    row->setImageWidget(second);
    QVERIFY(!first);
    QCOMPARE(second->parentItem(), row);
    bool placed = false;
    for (int i = 0; i < row->layout()->count(); ++i) {
        placed = placed || row->layout()->itemAt(i) == second;
    }
    QVERIFY(placed);

    row->setImageWidget(nullptr);
    QCOMPARE(row->layout()->count(), 1);
    delete row;
}

void TstZuListItem::tapEmitsClicked_data()
{
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("release");
    QTest::addColumn<int>("clicks");

    QTest::newRow("tap on the row") << QPointF(400, 40) << QPointF(400, 40) << 1;
    // The title label covers most of the row; taps on it count for the row.
    QTest::newRow("tap on the title") << QPointF(60, 40) << QPointF(60, 40) << 1;
    QTest::newRow("dragged off the row") << QPointF(60, 40) << QPointF(60, 300) << 0;
}

void TstZuListItem::tapEmitsClicked()
{
    QFETCH(QPointF, press);
    QFETCH(QPointF, release);
    QFETCH(int, clicks);

    QGraphicsScene scene;
    auto *row = new ZuBasicListItem(ZuBasicListItem::SingleTitle);
    scene.addItem(row);
    row->setTitle(QStringLiteral("Enter unlock code"));
    row->setGeometry(QRectF(0, 0, 480, 88));
    QTRY_VERIFY(row->layout());
    row->layout()->activate();
    QVERIFY(row->titleLabelWidget()->sceneBoundingRect().contains(QPointF(60, 40)));
    QSignalSpy clicked(row, SIGNAL(clicked()));

    sceneTap(&scene, press, release);
    QCOMPARE(clicked.count(), clicks);
}

QTEST_MAIN(TstZuListItem)
#include "tst_zulistitem.moc"
