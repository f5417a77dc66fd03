#include "zubutton.h"
#include "zulabel.h"
#include "zulayout.h"
#include "zulinearlayoutpolicy.h"
#include "zuprogressindicator.h"
#include "zuseparator.h"

#include "scenemouse.h"

#include <QFontMetricsF>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

QImage render(QGraphicsScene *scene, const QRectF &area)
{
    QImage image(area.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    scene->render(&painter, QRectF(QPointF(), area.size()), area);
    return image;
}

} // namespace

class TstZuWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonTap_data();
    void buttonTap();
    void setCheckedEmitsOnChange();
    void switchShowsItsState();
    void spinnerAnimatesOnlyWhileVisible();
    void wrappingLabelTakesTheLinesItNeeds();
    void visibilityReachesNestedLayoutsAtOnce();
    void pageLayoutStacksItsRows();
    void pageLayoutSurvivesItemDeletion();
};

void TstZuWidgets::buttonTap_data()
{
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("release");
    QTest::addColumn<int>("mouseButton");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("checked");

    const QPointF inside(40, 20);
    const QPointF outside(300, 20);
    QTest::newRow("switch tapped") << true << inside << inside << int(Qt::LeftButton) << 1 << true;
    QTest::newRow("push button tapped")
        << false << inside << inside << int(Qt::LeftButton) << 1 << false;
    // Sliding off before letting go takes the tap back.
    QTest::newRow("released outside")
        << true << inside << outside << int(Qt::LeftButton) << 0 << false;
    QTest::newRow("right button") << true << inside << inside << int(Qt::RightButton) << 0 << false;
}

void TstZuWidgets::buttonTap()
{
    QFETCH(bool, checkable);
    QFETCH(QPointF, press);
    QFETCH(QPointF, release);
    QFETCH(int, mouseButton);
    QFETCH(int, clicks);
    QFETCH(bool, checked);

    QGraphicsScene scene;
    auto *button = new ZuButton;
    scene.addItem(button);
    button->setViewType(ZuButton::switchType);
    button->setCheckable(checkable);
    button->setGeometry(QRectF(0, 0, 100, 50));
    QSignalSpy toggled(button, SIGNAL(toggled(bool)));
    QSignalSpy clicked(button, SIGNAL(clicked()));

    sceneTap(&scene, press, release, Qt::MouseButton(mouseButton));

    QCOMPARE(clicked.count(), clicks);
    QCOMPARE(button->isChecked(), checked);
    QCOMPARE(toggled.count(), checked ? 1 : 0);
    if (checked) {
        QCOMPARE(toggled.at(0).at(0).toBool(), true);
    }
    QVERIFY(!button->isDown());

    // A second tap switches back.
    if (checked) {
        sceneTap(&scene, press, release);
        QCOMPARE(button->isChecked(), false);
        QCOMPARE(toggled.count(), 2);
        QCOMPARE(toggled.at(1).at(0).toBool(), false);
    }
}

// Only a change emits; signal blocking is Qt's own.
void TstZuWidgets::setCheckedEmitsOnChange()
{
    ZuButton button;
    button.setCheckable(true);
    QSignalSpy toggled(&button, SIGNAL(toggled(bool)));
    button.setChecked(false);
    button.setChecked(true);
    button.setChecked(true);
    QCOMPARE(toggled.count(), 1);
}

void TstZuWidgets::switchShowsItsState()
{
    QGraphicsScene scene;
    auto *button = new ZuButton;
    scene.addItem(button);
    button->setViewType(ZuButton::switchType);
    button->setStyleName(QStringLiteral("CommonRightSwitchInverted"));
    button->setCheckable(true);
    button->resize(button->effectiveSizeHint(Qt::PreferredSize));
    const QRectF area = button->sceneBoundingRect();
    QVERIFY(area.width() >= 60 && area.height() >= 30);

    const QImage off = render(&scene, area);
    button->setChecked(true);
    const QImage on = render(&scene, area);
    // The knob sits near the left end when off and near the right end when on.
    const QColor knob(0xf2, 0xf2, 0xf2);
    const int y = off.height() / 2;
    const int nearLeft = int(area.width() * 0.3);
    const int nearRight = int(area.width() * 0.75);
    QCOMPARE(off.pixelColor(nearLeft, y).rgb(), knob.rgb());
    QVERIFY(off.pixelColor(nearRight, y).rgb() != knob.rgb());
    QCOMPARE(on.pixelColor(nearRight, y).rgb(), knob.rgb());
    QVERIFY(on.pixelColor(nearLeft, y).rgb() != knob.rgb());
}

void TstZuWidgets::spinnerAnimatesOnlyWhileVisible()
{
    QGraphicsScene scene;
    auto *parent = new QGraphicsWidget;
    scene.addItem(parent);
    auto *spinner = new ZuProgressIndicator(parent, ZuProgressIndicator::spinnerType);
    QCOMPARE(spinner->viewType(), QStringLiteral("spinner"));

    spinner->hide();
    spinner->setUnknownDuration(true);
    QVERIFY(spinner->unknownDuration());
    QVERIFY(!spinner->isAnimating());
    const int hiddenFrame = spinner->frame();
    // Proving that nothing happens needs a wait: several frames' worth.
    QTest::qWait(150);
    QCOMPARE(spinner->frame(), hiddenFrame);

    spinner->show();
    QVERIFY(spinner->isAnimating());
    QTRY_VERIFY(spinner->frame() > hiddenFrame + 2);

    // Hiding an ancestor stops it just the same, showing it again resumes.
    parent->hide();
    QVERIFY(!spinner->isAnimating());
    QVERIFY(spinner->unknownDuration());
    parent->show();
    QVERIFY(spinner->isAnimating());

    spinner->setUnknownDuration(false);
    QVERIFY(!spinner->isAnimating());
    QVERIFY(spinner->isVisible());
}

void TstZuWidgets::wrappingLabelTakesTheLinesItNeeds()
{
    const qreal pageWidth = 480;
    QGraphicsScene scene;
    auto *page = new QGraphicsWidget;
    scene.addItem(page);
    auto *layout = new QGraphicsLinearLayout(Qt::Vertical, page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new ZuLabel(page);
    label->setStyleName(QStringLiteral("CommonBodyTextInverted"));
    label->setWordWrap(true);
    label->setWrapMode(QTextOption::WordWrap);
    label->setText(QStringLiteral("The SIM card cannot be used while the device is in flight "
                                  "mode. Switch flight mode off to use the SIM card again."));
    layout->addItem(label);
    layout->addStretch();
    page->resize(pageWidth, 800);
    layout->activate();

    const QFontMetricsF metrics(label->style().font());
    QVERIFY(label->geometry().width() <= pageWidth);
    QVERIFY2(label->geometry().height() >= 3 * metrics.height(),
        qPrintable(QString::number(label->geometry().height())));

    // Less text, fewer lines: the height follows the text, not just the width.
    label->setText(QStringLiteral("No SIM card"));
    layout->activate();
    QVERIFY(label->geometry().height() < 2 * metrics.height() + 40);
}

void TstZuWidgets::visibilityReachesNestedLayoutsAtOnce()
{
    // A switch in a cell of a row in a page, as list rows nest them.
    QGraphicsScene scene;
    auto *page = new QGraphicsWidget;
    scene.addItem(page);
    auto *column = new QGraphicsLinearLayout(Qt::Vertical, page);
    auto *row = new QGraphicsWidget;
    column->addItem(row);
    auto *rowLayout = new QGraphicsLinearLayout(Qt::Horizontal, row);
    auto *cell = new QGraphicsLinearLayout(Qt::Horizontal);
    rowLayout->addItem(cell);
    for (QGraphicsLinearLayout *layout : { column, rowLayout, cell }) {
        layout->setContentsMargins(0, 0, 0, 0);
    }
    auto *button = new ZuButton;
    button->setViewType(ZuButton::switchType);
    button->hide();
    cell->addItem(button);
    QCOMPARE(page->effectiveSizeHint(Qt::PreferredSize), QSizeF(0, 0));

    // No event loop in between: the page must know at once.
    button->show();
    const QSizeF shown = button->effectiveSizeHint(Qt::PreferredSize);
    QVERIFY(!shown.isEmpty());
    QCOMPARE(page->effectiveSizeHint(Qt::PreferredSize), shown);
    button->hide();
    QCOMPARE(page->effectiveSizeHint(Qt::PreferredSize), QSizeF(0, 0));
}

void TstZuWidgets::pageLayoutStacksItsRows()
{
    QGraphicsScene scene;
    auto *page = new QGraphicsWidget;
    scene.addItem(page);
    auto *layout = new ZuLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *policy = new ZuLinearLayoutPolicy(layout, Qt::Vertical);
    policy->setSpacing(0);
    page->setLayout(layout);
    QCOMPARE(page->layout(), layout);

    for (qreal height : { 60, 90 }) {
        auto *row = new QGraphicsWidget;
        row->setMinimumHeight(height);
        row->setMaximumHeight(height);
        policy->addItem(row);
    }
    auto *separator = new ZuSeparator(nullptr, Qt::Horizontal);
    separator->setStyleName(QStringLiteral("CommonHeaderDividerInverted"));
    policy->addItem(separator);
    // Items placed by the policy become the page's children.
    QCOMPARE(separator->parentItem(), page);

    page->resize(480, 600);
    layout->activate();
    qreal y = 0;
    for (int i = 0; i < policy->count(); ++i) {
        const QRectF geometry = policy->itemAt(i)->geometry();
        QCOMPARE(geometry.top(), y);
        QCOMPARE(geometry.width(), 480.0);
        y = geometry.bottom();
    }
    QCOMPARE(separator->geometry().height(), 2.0);
}

void TstZuWidgets::pageLayoutSurvivesItemDeletion()
{
    QGraphicsScene scene;
    auto *page = new QGraphicsWidget;
    scene.addItem(page);
    auto *layout = new ZuLayout(page);
    auto *policy = new ZuLinearLayoutPolicy(layout, Qt::Vertical);
    auto *first = new ZuSeparator;
    auto *second = new ZuSeparator;
    policy->addItem(first);
    policy->addItem(second);
    delete first;
    QCOMPARE(policy->count(), 1);
    QCOMPARE(policy->itemAt(0), second);
    page->resize(480, 100);
    layout->activate();

    // Destroying the page takes layout, policy and the remaining item along.
    QPointer<ZuSeparator> secondGuard(second);
    delete page;
    QVERIFY(!secondGuard);
}

QTEST_MAIN(TstZuWidgets)
#include "tst_zuwidgets.moc"
