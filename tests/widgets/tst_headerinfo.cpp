#include "headerwidget.h"
#include "logcapture.h"

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
            header->resize(PhoneWidth,
                header->effectiveSizeHint(Qt::PreferredSize, QSizeF(PhoneWidth, -1)).height());
            header->layout()->activate();
            const QRectF box = spinner->geometry();
            QCOMPARE(box.right(), PhoneWidth);
            QVERIFY(qAbs(box.center().y() - header->size().height() / 2) < 1);
        }
    }
};

QTEST_MAIN(TestHeaderInfo)
#include "tst_headerinfo.moc"
