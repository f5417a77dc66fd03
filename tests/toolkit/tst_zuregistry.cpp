#include "zuwidget.h"
#include "zuwidgetcreator.h"
#include "zuwidgetfactory.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

class CountingWidget : public ZuWidget
{
    Q_OBJECT
public:
    using ZuWidget::ZuWidget;
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

class TstZuRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void creatorMakesItsClass();
    void widgetsDestroyedDuringRetranslation();
};

// Unlike the applet's creator (checked with the plug-in), this one makes widgets.
void TstZuRegistry::creatorMakesItsClass()
{
    ZuWidgetCreator<CountingWidget> creator("CountingWidget", "libprobe", Zu::Library);
    std::unique_ptr<ZuWidget> made(ZuWidgetFactory::create(QStringLiteral("CountingWidget")));
    QVERIFY(made);
    QCOMPARE(made->metaObject(), &CountingWidget::staticMetaObject);
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
