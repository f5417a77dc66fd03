// The plug-in as the host sees it: the built library, its instance export
// and its load-time registrations.

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
    // In one function: the registrations are undone only once the plug-in
    // has no applet left.
    void rootAndRegistrations()
    {
        QVERIFY(!ZuLibrary::isRegistered(Assembly));
        QLibrary library(QStringLiteral(SIM_APPLET_FILE));
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        auto instance = reinterpret_cast<InstanceFunction>(library.resolve("qt_plugin_instance"));
        QVERIFY(instance);

        // A root object the host deleted is replaced, not handed out dangling.
        QObject *first = instance();
        QVERIFY(first && !first->parent());
        first->setObjectName(QStringLiteral("deleted by the host"));
        delete first;
        QObject *second = instance();
        QVERIFY(second && second->objectName().isEmpty());
        delete second;

        // Rows are made in code only: the class name yields no widget, but it
        // leads to the class and to its theme library.
        QVERIFY(ZuLibrary::isRegistered(Assembly));
        QCOMPARE(ZuWidgetFactory::create(RowClass), nullptr);
        QVERIFY(ZuWidgetFactory::metaObject(RowClass));
        QCOMPARE(ZuWidgetFactory::assemblyName(RowClass), Assembly);

        QVERIFY(library.unload());
        QVERIFY(!ZuLibrary::isRegistered(Assembly));
        QVERIFY(!ZuWidgetFactory::isRegistered(RowClass));
    }
};

QTEST_MAIN(TestPluginExport)
#include "tst_pluginexport.moc"
