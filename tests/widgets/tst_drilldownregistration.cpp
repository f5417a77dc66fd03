// The drill-down row's registration as the host gets it: by loading the
// built plug-in, whose load-time objects register the row's class.

#include <QLibrary>
#include <QtTest>
#include <zubasiclistitem.h>
#include <zulibrary.h>
#include <zuwidgetfactory.h>

namespace {
const QString ClassName = QStringLiteral("DrillDownListItem");
const QString Assembly = QStringLiteral("libsimapplet");
} // namespace

class TestDrillDownRegistration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registeredWhileThePluginIsLoaded()
    {
        QVERIFY(!ZuWidgetFactory::isRegistered(ClassName));
        QCOMPARE(ZuWidgetFactory::metaObject(ClassName), nullptr);

        QLibrary plugin(QStringLiteral(SIM_APPLET_FILE));
        QVERIFY2(plugin.load(), qPrintable(plugin.errorString()));

        QVERIFY(ZuWidgetFactory::isRegistered(ClassName));
        // Rows are made in code only: the name yields no widget...
        QCOMPARE(ZuWidgetFactory::create(ClassName), nullptr);
        // ...but it does lead to the class and to its theme library.
        const QMetaObject *meta = ZuWidgetFactory::metaObject(ClassName);
        QVERIFY(meta);
        QCOMPARE(meta->className(), "DrillDownListItem");
        QCOMPARE(meta->superClass(), &ZuBasicListItem::staticMetaObject);
        QCOMPARE(ZuWidgetFactory::assemblyName(ClassName), Assembly);
        QVERIFY(ZuLibrary::isRegistered(Assembly));
    }
};

QTEST_MAIN(TestDrillDownRegistration)
#include "tst_drilldownregistration.moc"
