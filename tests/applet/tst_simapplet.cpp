#include "kivappletif.h"
#include "kivbrief.h"
#include "kivwidget.h"
#include "logcapture.h"
#include "simapplet.h"
#include "simbrief.h"

#include <QPointer>
#include <QtTest>

class TestSimApplet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void briefIsKeptUntilInit();
    void deletedBriefIsReplaced();
    void interfaceDefaults();
    void constructWidgetYieldsMainPage();
    void logLines();
};

void TestSimApplet::briefIsKeptUntilInit()
{
    SimApplet applet;
    applet.init();
    QPointer<KivBrief> first = applet.constructBrief(0);
    QVERIFY(first);
    QVERIFY(!first->parent());
    QCOMPARE(applet.constructBrief(1), first.data());
    QCOMPARE(applet.constructBrief(-1), first.data());

    applet.init();
    QPointer<KivBrief> second = applet.constructBrief(0);
    QVERIFY(second);
    QVERIFY(second != first);
    // init() forgets the brief but leaves it to the host that holds it.
    QVERIFY(first);
    QCOMPARE(applet.constructBrief(0), second.data());
    delete first.data();
    delete second.data();
}

void TestSimApplet::deletedBriefIsReplaced()
{
    SimApplet applet;
    KivBrief *old = applet.constructBrief(0);
    old->setObjectName(QStringLiteral("deleted by the host"));
    delete old;

    // A dangling pointer here would be a use after free (caught by the
    // sanitizer build) and would still carry the old name.
    KivBrief *brief = applet.constructBrief(0);
    QVERIFY(brief);
    QCOMPARE(brief->metaObject()->className(), "SimBrief");
    QVERIFY(brief->objectName().isEmpty());
    QCOMPARE(applet.constructBrief(0), brief);
    // Read through the host's base class: empty, but not a null string.
    QVERIFY(brief->valueText().isEmpty() && !brief->valueText().isNull());
    delete brief;
}

void TestSimApplet::interfaceDefaults()
{
    SimApplet applet;
    KivAppletIf *iface = &applet;
    QCOMPARE(iface->interfaceVersion(), 10);
    QCOMPARE(iface->partID(QStringLiteral("pin")), 0);
    for (int id : { 0, 1, -1 }) {
        QVERIFY(!iface->constructStylableWidget(id));
        QVERIFY(!iface->constructSheet(id));
    }
    QVERIFY(iface->viewMenuItems().isEmpty());
}

void TestSimApplet::constructWidgetYieldsMainPage()
{
    SimApplet applet;
    LogCapture log;
    KivWidget *page = applet.constructWidget(0);
    // Every id yields the main page, while it lives.
    QCOMPARE(applet.constructWidget(7), page);
    QCOMPARE(applet.constructWidget(-1), page);
    QCOMPARE(applet.pageMain(), page);
    const QString own = QStringLiteral("virtual KivWidget* SimApplet::constructWidget(int):");
    const QString main = QStringLiteral("virtual KivWidget* SimApplet::pageMain():");
    QCOMPARE(log.linesStartingWith(QtDebugMsg, QStringLiteral("virtual KivWidget* SimApplet::")),
        QStringList({ own, main, own, main, own, main, main }));
    delete page;
}

void TestSimApplet::logLines()
{
    LogCapture log;
    {
        SimApplet applet;
        applet.init();
        QScopedPointer<KivBrief> brief(applet.constructBrief(3));
        applet.title();
        applet.viewMenuItems();
        QScopedPointer<SimBrief> other(new SimBrief);
    }
    // viewMenuItems, the destructor and the brief write nothing.
    QCOMPARE(log.lines(),
        QList<LogCapture::Line>({ { QtDebugMsg, "virtual void SimApplet::init():" },
            { QtDebugMsg, "virtual KivBrief* SimApplet::constructBrief(int):" },
            { QtDebugMsg, "virtual QString SimApplet::title() const:" } }));
}

QTEST_MAIN(TestSimApplet)
#include "tst_simapplet.moc"
