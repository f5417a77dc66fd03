#include "kivappletif.h"
#include "kivbrief.h"
#include "kivsim.h"
#include "kivwidget.h"
#include "logcapture.h"
#include "simapplet.h"
#include "simbrief.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>
#include <QtTest>

class TestSimApplet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void briefIsKeptUntilInit();
    void deletedBriefIsReplaced();
    void briefValueText();
    void title_data();
    void title();
    void interfaceDefaults();
    void constructWidgetYieldsMainPage();
    void appletCasts_data();
    void appletCasts();
    void briefCasts_data();
    void briefCasts();
    void logLines();
};

void TestSimApplet::briefIsKeptUntilInit()
{
    SimApplet applet;
    applet.init();
    QPointer<KivBrief> first = applet.constructBrief(0);
    QVERIFY(first);
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
    delete brief;
}

void TestSimApplet::briefValueText()
{
    SimBrief brief;
    QVERIFY(!brief.parent());
    QVERIFY(brief.valueText().isEmpty());
    QVERIFY(!brief.valueText().isNull());
    // Through the host's base class too: the override is what the host reads.
    const KivBrief &base = brief;
    QVERIFY(!base.valueText().isNull());

    SimApplet applet;
    QScopedPointer<KivBrief> handedOut(applet.constructBrief(0));
    QVERIFY(!handedOut->parent());
}

void TestSimApplet::title_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no catalogue shows the id") << QString() << QStringLiteral("qtn_cell_sim_card");
    QTest::newRow("english") << QStringLiteral("en") << QStringLiteral("SIM card");
    QTest::newRow("german") << QStringLiteral("de") << QStringLiteral("SIM-Karte");
}

void TestSimApplet::title()
{
    QFETCH(QString, language);
    QFETCH(QString, expected);
    QTranslator translator;
    if (!language.isEmpty()) {
        QVERIFY(translator.load(
            QStringLiteral("simapplet_") + language, QStringLiteral(SIM_TRANSLATIONS_DIR)));
        QCoreApplication::installTranslator(&translator);
    }
    SimApplet applet;
    QCOMPARE(applet.title(), expected);
    QCoreApplication::removeTranslator(&translator);
}

void TestSimApplet::interfaceDefaults()
{
    SimApplet applet;
    KivAppletIf *iface = &applet;
    QCOMPARE(iface->interfaceVersion(), 10);
    QCOMPARE(iface->partID(QString()), 0);
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

void TestSimApplet::appletCasts_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("part"); // 0 none, 1 the applet, 2 its KivAppletIf part
    QTest::newRow("class name") << QByteArray("SimApplet") << 1;
    QTest::newRow("interface name") << QByteArray("KivAppletIf") << 2;
    QTest::newRow("interface id") << QByteArray(KivAppletIf_iid) << 2;
    QTest::newRow("QObject") << QByteArray("QObject") << 1;
    QTest::newRow("another name") << QByteArray("SimBrief") << 0;
    QTest::newRow("older interface id") << QByteArray("com.tavik.zu.core.KivAppletIf/0.9") << 0;
}

void TestSimApplet::appletCasts()
{
    QFETCH(QByteArray, name);
    QFETCH(int, part);
    SimApplet applet;
    void *expected = nullptr;
    if (part == 1) {
        expected = static_cast<QObject *>(&applet);
    } else if (part == 2) {
        expected = static_cast<KivAppletIf *>(&applet);
    }
    QCOMPARE(applet.qt_metacast(name.constData()), expected);
}

void TestSimApplet::briefCasts_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("own class") << QByteArray("SimBrief") << true;
    QTest::newRow("base class") << QByteArray("KivBrief") << true;
    QTest::newRow("QObject") << QByteArray("QObject") << true;
    QTest::newRow("another name") << QByteArray("SimApplet") << false;
}

void TestSimApplet::briefCasts()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, succeeds);
    SimBrief brief;
    QCOMPARE(brief.qt_metacast(name.constData()),
        succeeds ? static_cast<void *>(static_cast<QObject *>(&brief)) : nullptr);
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
