#include "logcapture.h"

#include <QtTest>

class TestLogCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void capturesWholeLinesWithTheirLevel()
    {
        LogCapture log;
        qDebug() << "void Foo::bar(bool):" << true;
        qWarning("plain warning %d", 3);
        const QList<LogCapture::Line> expected {
            { QtDebugMsg, QStringLiteral("void Foo::bar(bool): true") },
            { QtWarningMsg, QStringLiteral("plain warning 3") },
        };
        QCOMPARE(log.lines(), expected);
        QCOMPARE(log.count(QtDebugMsg, QStringLiteral("void Foo::bar(bool): true")), 1);
        QVERIFY(!log.contains(QtWarningMsg, QStringLiteral("void Foo::bar(bool): true")));
    }

    void nestedCapturesRestoreTheOuterOne()
    {
        LogCapture outer;
        {
            LogCapture inner;
            qDebug("inner");
            QCOMPARE(inner.debugLines(), QStringList { QStringLiteral("inner") });
        }
        qDebug("outer");
        QCOMPARE(outer.debugLines(), QStringList { QStringLiteral("outer") });
    }
};

QTEST_GUILESS_MAIN(TestLogCapture)
#include "tst_logcapture.moc"
