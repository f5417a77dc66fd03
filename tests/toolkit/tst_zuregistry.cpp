#include "zuwidget.h"
#include "zuwidgetcreator.h"
#include "zuwidgetfactory.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QPointer>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

class ProbeWidget : public ZuWidget
{
    Q_OBJECT
public:
    explicit ProbeWidget(QGraphicsItem *parent = nullptr)
        : ZuWidget(parent)
    { }
};

class OtherProbeWidget : public ZuWidget
{
    Q_OBJECT
public:
    explicit OtherProbeWidget(QGraphicsItem *parent = nullptr)
        : ZuWidget(parent)
    { }
};

class CountingWidget : public ZuWidget
{
    Q_OBJECT
public:
    explicit CountingWidget(QGraphicsItem *parent = nullptr)
        : ZuWidget(parent)
    { }
    void retranslateUi() override
    {
        ++calls;
        if (onRetranslate) {
            onRetranslate();
        }
    }
    int calls = 0;
    std::function<void()> onRetranslate;
};

// An empty translator makes installTranslator() announce nothing; this one
// claims content so that the application sends its LanguageChange.
class NonEmptyTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
};

} // namespace

Q_DECLARE_METATYPE(const QMetaObject *)

class TstZuRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void factoryLookUps_data();
    void factoryLookUps();
    void languageChangeReachesEveryLiveWidget();
    void widgetsDestroyedDuringRetranslation();
};

void TstZuRegistry::factoryLookUps_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("creates");
    QTest::addColumn<const QMetaObject *>("metaObject");
    QTest::addColumn<QString>("assembly");

    QTest::newRow("null creator") << "ProbeWidget" << false << &ProbeWidget::staticMetaObject
                                  << "libprobe";
    QTest::newRow("creating creator")
        << "OtherProbeWidget" << true << &OtherProbeWidget::staticMetaObject << "libother";
    QTest::newRow("unknown name") << "NoSuchWidget" << false
                                  << static_cast<const QMetaObject *>(nullptr) << QString();
    // Look-ups go by the exact class name.
    QTest::newRow("wrong case") << "probewidget" << false
                                << static_cast<const QMetaObject *>(nullptr) << QString();
}

void TstZuRegistry::factoryLookUps()
{
    QFETCH(QString, className);
    QFETCH(bool, creates);
    QFETCH(const QMetaObject *, metaObject);
    QFETCH(QString, assembly);

    ZuWidgetNullCreator<ProbeWidget> nullCreator("ProbeWidget", "libprobe", Zu::Library);
    ZuWidgetCreator<OtherProbeWidget> creator("OtherProbeWidget", "libother", Zu::Library);

    std::unique_ptr<ZuWidget> made(ZuWidgetFactory::create(className));
    QCOMPARE(made != nullptr, creates);
    if (made) {
        QCOMPARE(made->metaObject(), metaObject);
    }
    QCOMPARE(ZuWidgetFactory::metaObject(className), metaObject);
    QCOMPARE(ZuWidgetFactory::assemblyName(className), assembly);
    QCOMPARE(ZuWidgetFactory::isRegistered(className), metaObject != nullptr);
}

void TstZuRegistry::languageChangeReachesEveryLiveWidget()
{
    QGraphicsScene scene;
    auto *inScene = new CountingWidget;
    scene.addItem(inScene);
    auto *child = new CountingWidget(inScene);
    CountingWidget loose;
    auto *gone = new CountingWidget;
    delete gone;

    NonEmptyTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QCOMPARE(inScene->calls, 1);
    QCOMPARE(child->calls, 1);
    QCOMPARE(loose.calls, 1);

    QVERIFY(QCoreApplication::removeTranslator(&translator));
    QCOMPARE(inScene->calls, 2);
    QCOMPARE(child->calls, 2);
    QCOMPARE(loose.calls, 2);
}

void TstZuRegistry::widgetsDestroyedDuringRetranslation()
{
    auto *first = new CountingWidget;
    auto *second = new CountingWidget;
    auto *third = new CountingWidget;
    QPointer<CountingWidget> secondGuard(second);
    CountingWidget *created = nullptr;
    // The first widget destroys one that has not been called yet and one
    // that has (itself), and makes a new one; all in the middle of the round.
    first->onRetranslate = [&] {
        delete second;
        created = new CountingWidget;
    };
    third->onRetranslate = [&] { delete first; };

    NonEmptyTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QVERIFY(!secondGuard);
    QCOMPARE(third->calls, 1);
    QVERIFY(created);
    // Made during the round, so the round did not reach it.
    QCOMPARE(created->calls, 0);

    third->onRetranslate = nullptr;
    QVERIFY(QCoreApplication::removeTranslator(&translator));
    QCOMPARE(third->calls, 2);
    QCOMPARE(created->calls, 1);
    delete third;
    delete created;
}

QTEST_MAIN(TstZuRegistry)
#include "tst_zuregistry.moc"
