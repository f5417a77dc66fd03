#include "kivbrief.h"
#include "kivwidget.h"
#include "logcapture.h"
#include "simapplet.h"

#include <QPointer>
#include <QtTest>

class TestSimApplet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void briefIsKeptUntilInit();
    void everyIdYieldsTheMainPage();
};

void TestSimApplet::briefIsKeptUntilInit()
{
    SimApplet applet;
    LogCapture log;
    applet.init();
    QPointer<KivBrief> first = applet.constructBrief(0);
    QVERIFY(first);
    QVERIFY(!first->parent());
    QCOMPARE(applet.constructBrief(-1), first.data());

    applet.init();
    QPointer<KivBrief> second = applet.constructBrief(0);
    QVERIFY(second && second != first);
    // init() forgets the brief but leaves it to the host that holds it.
    QVERIFY(first);
    delete first.data();
    // A brief the host deleted is replaced, not handed out dangling.
    second->setObjectName(QStringLiteral("deleted by the host"));
    delete second.data();
    KivBrief *third = applet.constructBrief(0);
    QVERIFY(third && third->objectName().isEmpty());
    QCOMPARE(third->metaObject()->className(), "SimBrief");
    // Read through the host's base class: empty, but not a null string.
    QVERIFY(third->valueText().isEmpty() && !third->valueText().isNull());
    delete third;
    const QString init = QStringLiteral("virtual void SimApplet::init():");
    const QString brief = QStringLiteral("virtual KivBrief* SimApplet::constructBrief(int):");
    QCOMPARE(log.debugLines(), QStringList({ init, brief, brief, init, brief, brief }));
}

void TestSimApplet::everyIdYieldsTheMainPage()
{
    SimApplet applet;
    LogCapture log;
    KivWidget *page = applet.constructWidget(0);
    QCOMPARE(applet.constructWidget(-1), page);
    QCOMPARE(applet.pageMain(), page);
    applet.title();
    const QString own = QStringLiteral("virtual KivWidget* SimApplet::constructWidget(int):");
    const QString main = QStringLiteral("virtual KivWidget* SimApplet::pageMain():");
    QCOMPARE(log.linesStartingWith(QtDebugMsg, QStringLiteral("virtual KivWidget* SimApplet::")),
        QStringList({ own, main, own, main, main }));
    QCOMPARE(log.count(QtDebugMsg, QStringLiteral("virtual QString SimApplet::title() const:")), 1);
    delete page;
}

QTEST_MAIN(TestSimApplet)
#include "tst_simapplet.moc"
