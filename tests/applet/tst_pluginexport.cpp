// The plug-in as the host sees it: the built library, its two exports and
// its load-time registrations.

#include "zubasiclistitem.h"
#include "zulibrary.h"
#include "zuwidgetfactory.h"

#include <QLibrary>
#include <QtTest>

namespace {
using InstanceFunction = QObject *(*)();
const QString Assembly = QStringLiteral("libsimapplet");
const QString RowClass = QStringLiteral("DrillDownListItem");
} // namespace

class TestPluginExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
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

void TestPluginExport::rootObjectIsKeptUntilDeleted()
{
    QObject *first = m_instance();
    QVERIFY(first && !first->parent());
    first->setObjectName(QStringLiteral("deleted by the host"));
    delete first;

    QObject *second = m_instance();
    QVERIFY(second && second->objectName().isEmpty());
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
