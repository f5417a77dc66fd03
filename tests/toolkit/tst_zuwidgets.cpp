#include "zubasiclistitem.h"
#include "zubutton.h"
#include "zuimagewidget.h"
#include "zulabel.h"
#include "zuprogressindicator.h"
#include "zuseparator.h"

#include <QFontMetricsF>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

enum class Target { Switch, ListRow };

// Mouse input delivered the way a view delivers it: to the scene, which finds
// the item under the point and lets it grab the mouse.
void sendSceneMouse(
    QGraphicsScene *scene, QEvent::Type type, const QPointF &scenePos, Qt::MouseButton button)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(scenePos);
    event.setScreenPos(scenePos.toPoint());
    event.setButtonDownScenePos(button, scenePos);
    event.setButtonDownScreenPos(button, scenePos.toPoint());
    event.setButton(button);
    event.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : button);
    QCoreApplication::sendEvent(scene, &event);
}

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

Q_DECLARE_METATYPE(Target)
Q_DECLARE_METATYPE(Qt::MouseButton)

class TstZuWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tap_data();
    void tap();
    void switchShowsItsState();
    void spinnerAnimatesOnlyWhileVisible();
    void wrappedLabelTakesTheLinesItNeeds();
    void separatorTakesItsLineWidth();
    void rowReplacesItsImage();
    void rowCreatesItsLayoutOnceAndLate_data();
    void rowCreatesItsLayoutOnceAndLate();
};

void TstZuWidgets::tap_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("release");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("clicks");

    const QPointF inside(40, 20);
    const QPointF outside(40, 300);
    QTest::newRow("switch tapped") << Target::Switch << inside << inside << Qt::LeftButton << 1;
    // Sliding off before letting go takes the tap back.
    QTest::newRow("switch released outside")
        << Target::Switch << inside << outside << Qt::LeftButton << 0;
    QTest::newRow("switch, right button")
        << Target::Switch << inside << inside << Qt::RightButton << 0;
    // The title label covers most of the row; taps on it count for the row.
    QTest::newRow("row tapped on its title")
        << Target::ListRow << inside << inside << Qt::LeftButton << 1;
    QTest::newRow("row released outside")
        << Target::ListRow << inside << outside << Qt::LeftButton << 0;
}

void TstZuWidgets::tap()
{
    QFETCH(Target, target);
    QFETCH(QPointF, press);
    QFETCH(QPointF, release);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, clicks);

    QGraphicsScene scene;
    ZuButton *toggle = nullptr;
    ZuBasicListItem *row = nullptr;
    if (target == Target::Switch) {
        toggle = new ZuButton;
        toggle->setViewType(ZuButton::switchType);
        toggle->setCheckable(true);
    } else {
        row = new ZuBasicListItem(ZuBasicListItem::SingleTitle);
        row->setTitle(QStringLiteral("Enter unlock code"));
    }
    QGraphicsWidget *tapped = toggle ? static_cast<QGraphicsWidget *>(toggle) : row;
    scene.addItem(tapped);
    tapped->setGeometry(QRectF(0, 0, 480, 88));
    if (row) {
        QTRY_VERIFY(row->isLayoutCreated());
        row->layout()->activate();
        QVERIFY(row->titleLabelWidget()->sceneBoundingRect().contains(press));
    }
    QSignalSpy clicked(tapped, SIGNAL(clicked()));

    sendSceneMouse(&scene, QEvent::GraphicsSceneMousePress, press, button);
    sendSceneMouse(&scene, QEvent::GraphicsSceneMouseMove, release, button);
    sendSceneMouse(&scene, QEvent::GraphicsSceneMouseRelease, release, button);
    QCOMPARE(clicked.count(), clicks);
    if (toggle) {
        QCOMPARE(toggle->isChecked(), clicks == 1);
        // Only a change emits: the list sets its switch from the phone's state.
        QSignalSpy toggled(toggle, SIGNAL(toggled(bool)));
        toggle->setChecked(toggle->isChecked());
        QVERIFY(toggled.isEmpty());
    }
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
    // The knob sits near the left end when off and near the right end when on.
    const QRgb knob = QColor(0xf2, 0xf2, 0xf2).rgb();
    const int y = int(area.height() / 2);
    const int nearLeft = int(area.width() * 0.3);
    const int nearRight = int(area.width() * 0.75);
    for (bool on : { false, true }) {
        button->setChecked(on);
        QImage image(area.size().toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        scene.render(&painter, image.rect(), area);
        painter.end();
        QCOMPARE(image.pixel(on ? nearRight : nearLeft, y), knob);
        QVERIFY(image.pixel(on ? nearLeft : nearRight, y) != knob);
    }
}

void TstZuWidgets::spinnerAnimatesOnlyWhileVisible()
{
    QGraphicsScene scene;
    auto *parent = new QGraphicsWidget;
    scene.addItem(parent);
    auto *spinner = new ZuProgressIndicator(parent, ZuProgressIndicator::spinnerType);
    spinner->hide();
    spinner->setUnknownDuration(true);
    QVERIFY(!spinner->isAnimating());
    spinner->show();
    QVERIFY(spinner->isAnimating());
    const int shownFrame = spinner->frame();
    QTRY_VERIFY(spinner->frame() > shownFrame + 2);

    // Hiding an ancestor stops it just the same, showing it again resumes.
    parent->hide();
    QVERIFY(!spinner->isAnimating());
    parent->show();
    QVERIFY(spinner->isAnimating());
    spinner->setUnknownDuration(false);
    QVERIFY(!spinner->isAnimating());
}

// A wrapped label asks for the lines its text takes at the width it gets.
void TstZuWidgets::wrappedLabelTakesTheLinesItNeeds()
{
    ZuLabel label;
    label.setStyleName(QStringLiteral("CommonBodyTextInverted"));
    label.setWordWrap(true);
    label.setText(QStringLiteral("The SIM card cannot be used while the device is in flight "
                                 "mode. Switch flight mode off to use the SIM card again."));
    const qreal line = QFontMetricsF(label.style().font()).height();
    const QSizeF phoneWidth(480, -1);
    QVERIFY(label.effectiveSizeHint(Qt::PreferredSize, phoneWidth).height() >= 3 * line);
    label.setText(QStringLiteral("No SIM card"));
    QVERIFY(label.effectiveSizeHint(Qt::PreferredSize, phoneWidth).height() < 2 * line + 40);
}

void TstZuWidgets::separatorTakesItsLineWidth()
{
    const qreal dividerLineWidth = 2; // as the theme gives the page's divider
    ZuSeparator divider(nullptr, Qt::Horizontal);
    divider.setStyleName(QStringLiteral("CommonHeaderDividerInverted"));
    QCOMPARE(divider.effectiveSizeHint(Qt::PreferredSize).height(), dividerLineWidth);
}

// Handing a row back the image it holds must not destroy it; a new one takes
// the old one's place in the layout.
void TstZuWidgets::rowReplacesItsImage()
{
    ZuBasicListItem row(ZuBasicListItem::IconWithTitle);
    QTRY_VERIFY(row.isLayoutCreated());
    QPointer<ZuImageWidget> first(row.imageWidget());
    row.setImageWidget(first);
    QVERIFY(first);
    auto *second = new ZuImageWidget;
    row.setImageWidget(second);
    QVERIFY(!first);
    QCOMPARE(row.layout()->count(), 2);
    QCOMPARE(row.layout()->itemAt(1), second);
}

void TstZuWidgets::rowCreatesItsLayoutOnceAndLate_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("added to a scene") << "scene";
    QTest::newRow("placed in a parent layout") << "parent layout";
    QTest::newRow("shown") << "shown";
}

void TstZuWidgets::rowCreatesItsLayoutOnceAndLate()
{
    QFETCH(QString, trigger);
    QGraphicsScene scene;
    auto *page = new QGraphicsWidget;
    scene.addItem(page);
    auto *pageLayout = new QGraphicsLinearLayout(Qt::Vertical, page);

    auto *row = new CustomRow(trigger == QLatin1String("scene") ? page : nullptr);
    QCOMPARE(row->titleLabelWidget()->parentItem(), row);
    QCOMPARE(row->calls, 0);

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

    row->hide();
    row->show();
    row->resize(400, 90);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(row->calls, 1);
}

QTEST_MAIN(TstZuWidgets)
#include "tst_zuwidgets.moc"
