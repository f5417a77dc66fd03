#include "headerwidget.h"
#include "infowidget.h"
#include "logcapture.h"
#include "rendering.h"

#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QtTest>
#include <zulabel.h>
#include <zuprogressindicator.h>

namespace {

const qreal PhoneWidth = 480;

template <class T> T *childOf(QGraphicsItem *parent)
{
    for (QGraphicsItem *child : parent->childItems()) {
        if (auto *widget = qobject_cast<T *>(static_cast<QGraphicsWidget *>(child)))
            return widget;
    }
    return nullptr;
}

void layOut(QGraphicsWidget *widget, qreal width)
{
    widget->resize(width, widget->effectiveSizeHint(Qt::PreferredSize, QSizeF(width, -1)).height());
    if (widget->layout())
        widget->layout()->activate();
}

} // namespace

class TestHeaderInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spinnerFollowsCalls_data()
    {
        QTest::addColumn<QList<bool>>("calls");
        QTest::addColumn<bool>("spinning");
        QTest::newRow("on") << QList<bool> { true } << true;
        // Repeated calls are not filtered: each one logs.
        QTest::newRow("on twice") << QList<bool> { true, true } << true;
        QTest::newRow("on then off") << QList<bool> { true, false } << false;
        QTest::newRow("off while hidden") << QList<bool> { false } << false;
    }

    void spinnerFollowsCalls()
    {
        QFETCH(QList<bool>, calls);
        QFETCH(bool, spinning);
        QGraphicsScene scene;
        auto *header = new HeaderWidget;
        scene.addItem(header);
        header->setText(QStringLiteral("SIM card"));
        auto *label = childOf<ZuLabel>(header);
        auto *spinner = childOf<ZuProgressIndicator>(header);
        QCOMPARE(label->objectName(), QStringLiteral("headerLabel"));
        QCOMPARE(label->styleName(), QStringLiteral("CommonHeaderInverted"));
        QCOMPARE(label->text(), QStringLiteral("SIM card"));
        QCOMPARE(spinner->styleName(), QStringLiteral("CommonListItemSpinnerInverted"));
        // A new header's spinner is hidden and stopped.
        QVERIFY(!spinner->isVisibleTo(header));
        QVERIFY(!spinner->unknownDuration());

        LogCapture log;
        QStringList expectedLines;
        for (bool enable : calls) {
            header->setProgressIndicatorVisible(enable);
            expectedLines << QStringLiteral(
                                 "void HeaderWidget::setProgressIndicatorVisible(bool): ")
                    + QLatin1String(enable ? "true" : "false");
        }
        QCOMPARE(log.debugLines(), expectedLines);
        QCOMPARE(spinner->isVisible(), spinning);
        QCOMPARE(spinner->unknownDuration(), spinning);
        QCOMPARE(spinner->isAnimating(), spinning);

        if (spinning) {
            layOut(header, PhoneWidth);
            const QRectF box = spinner->geometry();
            QCOMPARE(box.right(), PhoneWidth);
            QVERIFY(qAbs(box.center().y() - header->size().height() / 2) < 1);
        }
    }

    void infoTextWrapsLeftAligned()
    {
        QGraphicsScene scene;
        auto *info = new InfoWidget;
        scene.addItem(info);
        QCOMPARE(info->styleName(), QStringLiteral("CommonBodyTextInverted"));
        info->setText(QStringLiteral("SIM card not available. Insert a SIM card and restart the "
                                     "device to use the cellular network."));
        layOut(info, PhoneWidth);

        const QImage image = renderWidget(info);
        const QRect area = image.rect();
        const QList<QPair<int, int>> lines = inkBands(image, area);
        QVERIFY2(lines.size() >= 3, qPrintable(QStringLiteral("%1 lines").arg(lines.size())));
        // Every line starts at the same left edge: left-aligned, not centred.
        const int left = firstInkColumn(image, area, lines.first().first, lines.first().second);
        for (const auto &line : lines) {
            const int start = firstInkColumn(image, area, line.first, line.second);
            QVERIFY2(qAbs(start - left) <= 3,
                qPrintable(QStringLiteral("line at %1 starts at %2, first at %3")
                               .arg(line.first)
                               .arg(start)
                               .arg(left)));
        }
        // ...and that edge is the left one.
        QVERIFY(left < PhoneWidth / 4);
    }
};

QTEST_MAIN(TestHeaderInfo)
#include "tst_headerinfo.moc"
