// Draws the SIM page, as the applet builds it, at phone size with its list
// in its typical states and checks the pixels. With SIM_WRITE_DOCS set (to a
// folder, or to 1 for the source tree's docs/) it also writes the pictures
// there.

#include "headerwidget.h"
#include "infowidget.h"
#include "rendering.h"
#include "settingsitem.h"
#include "simchecker.h"
#include "simcontainer.h"
#include "simlogic.h"
#include "simwidget.h"

#include <QDir>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QTranslator>
#include <QtTest>
#include <zubutton.h>

namespace {

const qreal PhoneWidth = 480;
const qreal PhoneHeight = 854;
// Room kept below the last row in a picture, so that it shows where the list ends.
const int BottomRoom = 48;
const QString LongError = QStringLiteral(
    "SIM card not available. Insert a SIM card and restart the device to use the cellular "
    "network.");

QString docsDirectory()
{
    const QString target = qEnvironmentVariable("SIM_WRITE_DOCS");
    if (target.isEmpty())
        return QString();
    if (target == QLatin1String("1"))
        return qEnvironmentVariable("SIM_SOURCE_DIR", QStringLiteral("."))
            + QStringLiteral("/docs");
    return target;
}

template <class T> T *childOf(QGraphicsItem *parent)
{
    for (QGraphicsItem *child : parent->childItems()) {
        if (auto *widget = qobject_cast<T *>(static_cast<QGraphicsWidget *>(child)))
            return widget;
    }
    return nullptr;
}

QGraphicsWidget *rowNamed(QGraphicsItem *list, const QString &name)
{
    for (QGraphicsItem *child : list->childItems()) {
        auto *widget = static_cast<QGraphicsWidget *>(child);
        if (child->isWidget() && widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

} // namespace

class TestListDrawing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Real texts make the pictures readable; the checks do not need them.
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
        auto *header = childOf<HeaderWidget>(page);
        auto *list = childOf<SimContainer>(page);
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
        if (auto *pinRow
            = qobject_cast<SettingsItem *>(rowNamed(list, QStringLiteral("SimPinRequestItem")))) {
            ZuButton *pinSwitch = pinRow->button();
            QTRY_VERIFY(pinSwitch->isVisible());
            QTRY_VERIFY(pinRow->contentsRect().contains(pinSwitch->geometry()));
        }
        QTRY_VERIFY(page->layout()->isActivated());

        const QImage image = renderWidget(page);
        int lastRowBottom = 0;
        for (const QString &rowName : visibleRows)
            lastRowBottom = qMax(lastRowBottom, imageRect(rowNamed(list, rowName), page).bottom());
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QString docs = docsDirectory();
        if (!docs.isEmpty()) {
            QVERIFY(QDir().mkpath(docs));
            const int height = qMin(image.height(), lastRowBottom + BottomRoom);
            QVERIFY(image.copy(0, 0, image.width(), height)
                        .save(docs + QStringLiteral("/simlist-") + name + QStringLiteral(".png")));
        }

        QVERIFY(inkPixels(image, imageRect(header, page)) > 0);
        QStringList rowsDrawn;
        for (const QString &rowName : visibleRows) {
            auto *row = rowNamed(list, rowName);
            QVERIFY2(row, qPrintable(rowName));
            QVERIFY2(row->isVisible(), qPrintable(rowName));
            QVERIFY2(inkPixels(image, imageRect(row, page)) > 0, qPrintable(rowName));
        }
        for (const QString &rowName : hiddenRows) {
            auto *row = rowNamed(list, rowName);
            QVERIFY2(row && !row->isVisible(), qPrintable(rowName));
            QCOMPARE(inkPixels(image, imageRect(row, page)), 0);
        }
        // Below the last row only the background remains.
        const QRect below(0, lastRowBottom + 1, image.width(), image.height());
        QVERIFY(below.height() > 0);
        QCOMPARE(inkPixels(image, below), 0);

        if (name == QLatin1String("error")) {
            auto *error
                = qobject_cast<InfoWidget *>(rowNamed(list, QStringLiteral("SimErrorItem")));
            QCOMPARE(error->styleName(), QStringLiteral("CommonBodyTextInverted"));
            const QRect area = imageRect(error, page);
            const QList<QPair<int, int>> lines = inkBands(image, area);
            QVERIFY2(lines.size() >= 3, qPrintable(QStringLiteral("%1 lines").arg(lines.size())));
            // Wrapped left-aligned, not centred: every line starts at the left edge.
            for (const auto &line : lines) {
                const int start = firstInkColumn(image, area, line.first, line.second);
                QVERIFY2(start >= 0 && start < PhoneWidth / 8,
                    qPrintable(
                        QStringLiteral("line at %1 starts at %2").arg(line.first).arg(start)));
            }
        }
    }

private:
    QTranslator m_translator;
};

QTEST_MAIN(TestListDrawing)
#include "tst_listdrawing.moc"
