#include "headerwidget.h"
#include "logcapture.h"

#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QtTest>
#include <zuprogressindicator.h>

class TestHeaderInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Start and the controller's setSpinner are checked on the page as built;
    // here: every call logs, the last one wins, and where the spinner turns.
    void spinnerFollowsCalls()
    {
        const qreal phoneWidth = 480;
        QGraphicsScene scene;
        auto *header = new HeaderWidget;
        scene.addItem(header);
        ZuProgressIndicator *spinner = nullptr;
        for (QGraphicsItem *child : header->childItems()) {
            if (auto *found = qobject_cast<ZuProgressIndicator *>(child->toGraphicsObject()))
                spinner = found;
        }
        QVERIFY(spinner);
        LogCapture log;
        for (bool enable : { true, true, false, true }) {
            header->setProgressIndicatorVisible(enable);
            QCOMPARE(spinner->isAnimating(), enable);
        }
        const QString line = QStringLiteral("void HeaderWidget::setProgressIndicatorVisible(bool): ");
        QCOMPARE(log.debugLines(),
            QStringList({ line + "true", line + "true", line + "false", line + "true" }));

        header->resize(phoneWidth,
            header->effectiveSizeHint(Qt::PreferredSize, QSizeF(phoneWidth, -1)).height());
        header->layout()->activate();
        const QRectF box = spinner->geometry();
        QCOMPARE(box.right(), phoneWidth);
        QVERIFY(qAbs(box.center().y() - header->size().height() / 2) < 1);
    }
};

QTEST_MAIN(TestHeaderInfo)
#include "tst_headerinfo.moc"
