#include "appletloader.h"
#include "kivappletif.h"
#include "kivpluginbuild.h"
#include "kivwidget.h"
#include "logcapture.h"
#include "settingshost.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

namespace {
QString plugin(const char *name)
{
    return QStringLiteral(SIM_TEST_PLUGIN_DIR "/lib%1.so").arg(QLatin1String(name));
}

// Whether the library is mapped into the process, as the dynamic linker
// sees it; asking does not load it.
bool isMapped(const QString &file)
{
    void *handle = dlopen(QFile::encodeName(file).constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}
} // namespace

class TestAppletLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsTheRealApplet();
    void refusesBrokenPlugins_data();
    void refusesBrokenPlugins();
    void hostInitsAndNamesRefusals();
};

void TestAppletLoader::loadsTheRealApplet()
{
    LogCapture log;
    const AppletLoader::Result result = AppletLoader::load(QStringLiteral(SIM_APPLET_FILE));
    QVERIFY2(result.isLoaded(), qPrintable(result.error));
    QVERIFY(result.error.isEmpty());
    QCOMPARE(result.root->metaObject()->className(), "SimApplet");
    QCOMPARE(static_cast<void *>(result.applet), result.root->qt_metacast(KivAppletIf_iid));
    // Loading alone calls nothing on the applet.
    QCOMPARE(log.debugLines(), QStringList());
    // The plug-in hands out the same root object to a second load.
    const AppletLoader::Result again = AppletLoader::load(QStringLiteral(SIM_APPLET_FILE));
    QCOMPARE(again.root, result.root);
    delete result.root;
}

void TestAppletLoader::refusesBrokenPlugins_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    // Unloaded again, unless the plug-in's code made an object.
    QTest::addColumn<bool>("staysMapped");
    QTest::newRow("no verification function")
        << plugin("noverification") << "no qt_plugin_query_verification_data, not an applet plug-in"
        << false;
    QTest::newRow("wrong marker") << plugin("wrongmarker")
                                  << "wrong verification marker \"NOT_THE_VERIFICATION_DATA\""
                                  << false;
    QTest::newRow("another major version")
        << plugin("othermajor")
        << QStringLiteral("built for Qt 4.7.4, another major version than this host's Qt %1")
               .arg(QLatin1String(qVersion()))
        << false;
    QTest::newRow("newer minor version")
        << plugin("newerminor")
        << QStringLiteral("built for Qt %1.99.0, newer than this host's Qt %2")
               .arg(QT_VERSION_MAJOR)
               .arg(QLatin1String(qVersion()))
        << false;
    QTest::newRow("debug build") << plugin("debugbuild")
                                 << "a debug build, this host loads only release builds" << false;
    QTest::newRow("another build key") << plugin("otherbuildkey")
                                       << "build key \"armv6 linux g++-4 full-config\" differs "
                                          "from this host's \"" KIV_PLUGIN_BUILD_KEY "\""
                                       << false;
    QTest::newRow("garbled verification text")
        << plugin("garbled") << "verification data line 1 is not key=value: \"no lines at all\""
        << false;
    QTest::newRow("no instance function")
        << plugin("noinstance") << "no qt_plugin_instance" << false;
    QTest::newRow("root object not an applet")
        << QStringLiteral(SIM_TEST_APPLET_DIR "/libnotanapplet.so")
        << "root object QObject is not an applet (no com.tavik.zu.core.KivAppletIf/1.0)" << true;
    QTest::newRow("missing file") << plugin("nosuchplugin") << QString() << false;
}

void TestAppletLoader::refusesBrokenPlugins()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    QFETCH(bool, staysMapped);
    const AppletLoader::Result result = AppletLoader::load(file);
    QCOMPARE(isMapped(file), staysMapped);
    QVERIFY(!result.isLoaded());
    QVERIFY(!result.root);
    QCOMPARE(result.file, file);
    if (reason.isEmpty()) {
        // Not a file of ours: QLibrary's own words follow the prefix.
        QVERIFY2(
            result.error.startsWith(QLatin1String("cannot be loaded: ")), qPrintable(result.error));
    } else {
        QCOMPARE(result.error, reason);
    }
}

void TestAppletLoader::hostInitsAndNamesRefusals()
{
    // A directory with the real applet, a broken plug-in and a file that is
    // no library at all.
    QTemporaryDir dir;
    QVERIFY(QFile::copy(QStringLiteral(SIM_APPLET_FILE), dir.filePath("libsimapplet.so")));
    QVERIFY(QFile::copy(plugin("othermajor"), dir.filePath("libothermajor.so")));
    QFile text(dir.filePath("notes.so"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a library\n");
    text.close();

    LogCapture log;
    SettingsHost host;
    const QStringList refusals = host.loadDirectory(dir.path());
    // Only the applet is left, initialised and with its brief read.
    QCOMPARE(host.appletCount(), 1);
    QCOMPARE(host.appletTitle(0), QStringLiteral("qtn_cell_sim_card"));
    QCOMPARE(host.appletValueText(0), QStringLiteral(""));
    // Lookup by title and index is exercised by the host's scripts.
    QCOMPARE(host.findApplet(QStringLiteral("1")), -1);
    QCOMPARE(refusals.size(), 2);
    QCOMPARE(refusals.at(0),
        QStringLiteral("refused plug-in %1: built for Qt 4.7.4, another major version than "
                       "this host's Qt %2")
            .arg(dir.filePath("libothermajor.so"), QLatin1String(qVersion())));
    QVERIFY2(
        refusals.at(1).startsWith(
            QStringLiteral("refused plug-in %1: cannot be loaded: ").arg(dir.filePath("notes.so"))),
        qPrintable(refusals.at(1)));
    // init() comes before anything else the host asks.
    const QStringList calls = log.linesStartingWith(QtDebugMsg, QStringLiteral("virtual"));
    QVERIFY(calls.size() >= 2);
    QCOMPARE(calls.mid(0, 2),
        QStringList({ "virtual void SimApplet::init():",
            "virtual KivBrief* SimApplet::constructBrief(int):" }));
}

QTEST_MAIN(TestAppletLoader)
#include "tst_appletloader.moc"
