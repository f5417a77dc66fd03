#include "headerwidget.h"
#include "logcapture.h"

#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QtTest>
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
    // Start and the controller's setSpinner are checked on the page as built;
    // here: every call logs, the last one wins, and where the spinner turns.
    void spinnerFollowsCalls()
    {
        QGraphicsScene scene;
        auto *header = new HeaderWidget;
        scene.addItem(header);
        auto *spinner = childOf<ZuProgressIndicator>(header);
        LogCapture log;
        for (bool enable : { true, true, false, true }) {
            header->setProgressIndicatorVisible(enable);
            QCOMPARE(spinner->isAnimating(), enable);
        }
        const QString line
            = QStringLiteral("void HeaderWidget::setProgressIndicatorVisible(bool): %1");
        QCOMPARE(log.debugLines(),
            QStringList({ line.arg("true"), line.arg("true"), line.arg("false"),
                line.arg("true") }));

        header->resize(PhoneWidth,
            header->effectiveSizeHint(Qt::PreferredSize, QSizeF(PhoneWidth, -1)).height());
        header->layout()->activate();
        const QRectF box = spinner->geometry();
        QCOMPARE(box.right(), PhoneWidth);
        QVERIFY(qAbs(box.center().y() - header->size().height() / 2) < 1);
    }
};

QTEST_MAIN(TestHeaderInfo)
#include "tst_headerinfo.moc"
