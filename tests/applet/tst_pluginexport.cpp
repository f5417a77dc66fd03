// The plug-in as the host sees it: the built library, its two exports and
// its load-time registrations.

#include "kivpluginbuild.h"
#include "zubasiclistitem.h"
#include "zulibrary.h"
#include "zuwidgetfactory.h"

#include <QLibrary>
#include <QPointer>
#include <QtTest>

namespace {
using VerificationFunction = const char *(*)();
using InstanceFunction = QObject *(*)();
const QString Assembly = QStringLiteral("libsimapplet");
const QString RowClass = QStringLiteral("DrillDownListItem");
} // namespace

class TestPluginExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void verificationData();
    void rootObjectIsKeptUntilDeleted();
    void registrationsLastWhileLoaded();

private:
    QLibrary m_library { QStringLiteral(SIM_APPLET_FILE) };
    InstanceFunction m_instance = nullptr;
};

void TestPluginExport::initTestCase()
{
    QVERIFY(!ZuLibrary::isRegistered(Assembly));
    QVERIFY(!ZuWidgetFactory::isRegistered(RowClass));
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

void TestPluginExport::registrationsLastWhileLoaded()
{
    QVERIFY(ZuLibrary::isRegistered(Assembly));
    // Rows are made in code only: the class name yields no widget, but it
    // leads to the class and to its theme library.
    QVERIFY(ZuWidgetFactory::isRegistered(RowClass));
    QCOMPARE(ZuWidgetFactory::create(RowClass), nullptr);
    const QMetaObject *meta = ZuWidgetFactory::metaObject(RowClass);
    QVERIFY(meta);
    QCOMPARE(meta->className(), "DrillDownListItem");
    QCOMPARE(meta->superClass(), &ZuBasicListItem::staticMetaObject);
    QCOMPARE(ZuWidgetFactory::assemblyName(RowClass), Assembly);

    // The applet is gone (previous tests), so nothing of the plug-in is in use.
    QVERIFY(m_library.unload());
    QVERIFY(!ZuLibrary::isRegistered(Assembly));
    QVERIFY(!ZuWidgetFactory::isRegistered(RowClass));
}

QTEST_MAIN(TestPluginExport)
#include "tst_pluginexport.moc"
