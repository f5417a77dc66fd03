// Draws the SIM page, as the applet builds it, at phone size with its list
// in its typical states and checks the pixels.

#include "infowidget.h"
#include "settingsitem.h"
#include "simchecker.h"
#include "simcontainer.h"
#include "simlogic.h"
#include "simwidget.h"

#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QTranslator>
#include <QtTest>
#include <zubutton.h>

namespace {

const qreal PhoneWidth = 480;
const qreal PhoneHeight = 854;
const QRgb Background = qRgb(0, 0, 0);
const QString LongError = QStringLiteral(
    "SIM card not available. Insert a SIM card and restart the device to use the cellular "
    "network.");

QGraphicsWidget *childNamed(QGraphicsItem *parent, const QString &name)
{
    for (QGraphicsItem *child : parent->childItems()) {
        auto *widget = static_cast<QGraphicsWidget *>(child);
        if (child->isWidget() && widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

// The widget's rectangle in the image of the page (rounded inwards).
QRect imageRect(QGraphicsWidget *widget, QGraphicsWidget *page)
{
    const QPointF origin = page->sceneBoundingRect().topLeft();
    return widget->sceneBoundingRect().translated(-origin).toAlignedRect().adjusted(1, 1, -1, -1);
}

// Pixels within area that differ from the background.
int inkPixels(const QImage &image, const QRect &area)
{
    const QRect clipped = area & image.rect();
    int count = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += image.pixel(x, y) != Background ? 1 : 0;
    }
    return count;
}

// The left end of each line of text in area, top to bottom: the first
// inked column of each run of inked pixel rows.
QList<int> lineStarts(const QImage &image, const QRect &area)
{
    QList<int> starts;
    bool inLine = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const bool inked = inkPixels(image, QRect(area.left(), y, area.width(), 1)) > 0;
        if (inked && !inLine)
            starts << area.right();
        inLine = inked;
        for (int x = area.left(); inked && x < starts.last(); ++x) {
            if (image.pixel(x, y) != Background)
                starts.last() = x;
        }
    }
    return starts;
}

} // namespace

class TestListDrawing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Real texts, as on the phone.
        if (m_translator.load(QStringLiteral("simapplet_en"), QStringLiteral(SIM_TRANSLATIONS_DIR)))
            QCoreApplication::installTranslator(&m_translator);
    }

    void typicalStates_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("visibleRows");
        QTest::addColumn<QStringList>("hiddenRows");

        QTest::newRow("pin-request-on")
            << QStringList { "pin", "state on" }
            << QStringList { "SimPinRequestItem", "SimPinChangeItem" } << QStringList();
        // The change PIN row keeps its place in the layout while hidden.
        QTest::newRow("unlock-above-pin") << QStringList { "pin", "unlock" }
                                          << QStringList { "SimUnlockSimItem", "SimPinRequestItem" }
                                          << QStringList { "SimPinChangeItem" };
        QTest::newRow("activate") << QStringList { "activate" }
                                  << QStringList { "SimActivateSimItem" } << QStringList();
        QTest::newRow("error") << QStringList { "error" } << QStringList { "SimErrorItem" }
                               << QStringList();
    }

    void typicalStates()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, visibleRows);
        QFETCH(QStringList, hiddenRows);

        QGraphicsScene scene;
        auto *page = new SimWidget;
        scene.addItem(page);
        // The steps below put the list into each state; the controller, which
        // would fill it from SIM services this test does not start, stays out.
        QVERIFY(QObject::disconnect(
            page->findChild<SimChecker *>(), nullptr, page->findChild<SimLogic *>(), nullptr));
        auto *header = childNamed(page, QStringLiteral("SimSettings"));
        SimContainer *list = nullptr;
        for (QGraphicsItem *child : page->childItems()) {
            if (auto *found = qobject_cast<SimContainer *>(child->toGraphicsObject()))
                list = found;
        }
        QVERIFY(header && list);

        for (const QString &step : steps) {
            if (step == QLatin1String("pin"))
                list->showPinRequestItem(true);
            else if (step == QLatin1String("state on"))
                list->setPinRequestState(true);
            else if (step == QLatin1String("unlock"))
                list->showUnlockSimItem(true);
            else if (step == QLatin1String("activate"))
                list->showActivateSimItem(true);
            else if (step == QLatin1String("error"))
                list->showErrorItem(LongError);
        }
        page->resize(PhoneWidth, PhoneHeight);
        // The switch shows up a moment after its row, and its row makes room
        // for it on its next layout pass.
        if (auto *pinRow = qobject_cast<SettingsItem *>(
                childNamed(list, QStringLiteral("SimPinRequestItem")))) {
            ZuButton *pinSwitch = pinRow->button();
            QTRY_VERIFY(pinSwitch->isVisible());
            QTRY_VERIFY(pinRow->contentsRect().contains(pinSwitch->geometry()));
        }
        QTRY_VERIFY(page->layout()->isActivated());

        QImage image(page->size().toSize(), QImage::Format_RGB32);
        image.fill(Background);
        QPainter painter(&image);
        scene.render(&painter, QRectF(QPointF(0, 0), page->size()), page->sceneBoundingRect());
        painter.end();

        QVERIFY(inkPixels(image, imageRect(header, page)) > 0);
        int lastRowBottom = 0;
        for (const QString &rowName : visibleRows) {
            auto *row = childNamed(list, rowName);
            QVERIFY2(row && row->isVisible(), qPrintable(rowName));
            QVERIFY2(inkPixels(image, imageRect(row, page)) > 0, qPrintable(rowName));
            lastRowBottom = qMax(lastRowBottom, imageRect(row, page).bottom());
        }
        for (const QString &rowName : hiddenRows) {
            auto *row = childNamed(list, rowName);
            QVERIFY2(row && !row->isVisible(), qPrintable(rowName));
            QCOMPARE(inkPixels(image, imageRect(row, page)), 0);
        }
        // Below the last row only the background remains.
        const QRect below(0, lastRowBottom + 1, image.width(), image.height());
        QVERIFY(below.height() > 0);
        QCOMPARE(inkPixels(image, below), 0);

        if (QByteArray(QTest::currentDataTag()) == "error") {
            auto *error = qobject_cast<InfoWidget *>(childNamed(list, QStringLiteral("SimErrorItem")));
            QCOMPARE(error->styleName(), QStringLiteral("CommonBodyTextInverted"));
            const QList<int> starts = lineStarts(image, imageRect(error, page));
            QVERIFY2(starts.size() >= 3, qPrintable(QStringLiteral("%1 lines").arg(starts.size())));
            // Wrapped left-aligned, not centred: every line starts at the left edge.
            for (int start : starts)
                QVERIFY2(start < PhoneWidth / 8, qPrintable(QString::number(start)));
        }
    }

private:
    QTranslator m_translator;
};

QTEST_MAIN(TestListDrawing)
#include "tst_listdrawing.moc"
