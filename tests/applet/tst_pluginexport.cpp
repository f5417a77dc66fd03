// The plug-in as the host sees it: the built library, its two exports and
// its load-time registration.

#include "kivappletif.h"
#include "kivbrief.h"
#include "kivpluginbuild.h"
#include "zulibrary.h"

#include <QLibrary>
#include <QPointer>
#include <QtTest>

namespace {
using VerificationFunction = const char *(*)();
using InstanceFunction = QObject *(*)();
} // namespace

class TestPluginExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void verificationData();
    void rootObjectIsKeptUntilDeleted();
    void rootObjectIsTheApplet();
    void themeLibraryIsRegisteredWhileLoaded();

private:
    QLibrary m_library { QStringLiteral(SIM_APPLET_FILE) };
    InstanceFunction m_instance = nullptr;
};

void TestPluginExport::initTestCase()
{
    QVERIFY2(!ZuLibrary::isRegistered(QStringLiteral("libsimapplet")),
        "registered before the plug-in was loaded");
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    m_instance = reinterpret_cast<InstanceFunction>(m_library.resolve("qt_plugin_instance"));
    QVERIFY(m_instance);
}

void TestPluginExport::verificationData()
{
    const auto verification = reinterpret_cast<VerificationFunction>(
        m_library.resolve("qt_plugin_query_verification_data"));
    QVERIFY(verification);
    const QStringList lines = QString::fromLatin1(verification()).split(QLatin1Char('\n'));
    QCOMPARE(lines,
        QStringList({ "pattern=QT_PLUGIN_VERIFICATION_DATA",
            QStringLiteral("version=%1").arg(QLatin1String(QT_VERSION_STR)),
            "debug=" KIV_PLUGIN_DEBUG, "buildkey=" KIV_PLUGIN_BUILD_KEY }));
    // The build key names the machine, the system and the compiler.
    QCOMPARE(QString::fromLatin1(KIV_PLUGIN_BUILD_KEY).split(QLatin1Char(' ')).size(), 4);
}

void TestPluginExport::rootObjectIsKeptUntilDeleted()
{
    QPointer<QObject> first = m_instance();
    QVERIFY(first);
    QCOMPARE(m_instance(), first.data());
    QVERIFY(!first->parent());
    first->setObjectName(QStringLiteral("deleted by the host"));
    delete first.data();

    QObject *second = m_instance();
    QVERIFY(second);
    QVERIFY(second->objectName().isEmpty());
    QCOMPARE(second->metaObject()->className(), "SimApplet");
    QCOMPARE(m_instance(), second);
    delete second;
}

void TestPluginExport::rootObjectIsTheApplet()
{
    QObject *root = m_instance();
    KivAppletIf *applet = qobject_cast<KivAppletIf *>(root);
    QVERIFY(applet);
    QCOMPARE(root->qt_metacast(KivAppletIf_iid), static_cast<void *>(applet));
    applet->init();
    QCOMPARE(applet->title(), QStringLiteral("qtn_cell_sim_card"));
    QScopedPointer<KivBrief> brief(applet->constructBrief(0));
    QVERIFY(brief);
    QCOMPARE(brief->valueText(), QStringLiteral(""));
    QCOMPARE(applet->interfaceVersion(), 10);
    delete root;
}

void TestPluginExport::themeLibraryIsRegisteredWhileLoaded()
{
    QVERIFY(ZuLibrary::isRegistered(QStringLiteral("libsimapplet")));
    // The applet is gone (previous tests), so nothing of the plug-in is in use.
    QVERIFY(m_library.unload());
    QVERIFY(!ZuLibrary::isRegistered(QStringLiteral("libsimapplet")));
}

QTEST_MAIN(TestPluginExport)
#include "tst_pluginexport.moc"
