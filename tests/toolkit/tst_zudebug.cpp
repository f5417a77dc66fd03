#include "logcapture.h"
#include "zudebug.h"

#include <QObject>
#include <QtTest>

namespace {
// Compiled by whichever compiler builds the tests: its own signature macro
// must come out in the one written form.
QObject *probe(const QString &, QObject *const *, int &&)
{
    zuDebugStream(Q_FUNC_INFO) << true << QStringLiteral("text");
    return nullptr;
}
} // namespace

class TstZuDebug : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void signatureIsWrittenOneWay_data();
    void signatureIsWrittenOneWay();
    void debugLineOfThisCompiler();
};

void TstZuDebug::signatureIsWrittenOneWay_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("written");

    // Spellings of the other compiler...
    QTest::newRow("pointer parameters") << "SimLogic::SimLogic(SimContainer *, QObject *)"
                                        << "SimLogic::SimLogic(SimContainer*, QObject*)";
    QTest::newRow("pointer result") << "virtual KivWidget *SimApplet::pageMain()"
                                    << "virtual KivWidget* SimApplet::pageMain()";
    QTest::newRow("reference") << "void SimContainer::showErrorItem(const QString &)"
                               << "void SimContainer::showErrorItem(const QString&)";
    QTest::newRow("rvalue reference") << "void f(int &&)"
                                      << "void f(int&&)";
    QTest::newRow("const pointer to pointer") << "static const char *f(const char *const *)"
                                              << "static const char* f(const char* const*)";
    // The parameter's own const is no part of the function's type.
    QTest::newRow("top-level const parameter") << "void f(W *const, int)"
                                               << "void f(W*, int)";
    QTest::newRow("anonymous namespace") << "void (anonymous namespace)::f(W *)"
                                         << "void {anonymous}::f(W*)";
    QTest::newRow("reference to array") << "void f(const char (&)[3])"
                                        << "void f(const char (&)[3])";
    // ...and the written form itself, which stays as it is.
    QTest::newRow("written const pointer") << "void f(const char* const*, QList<W*>)"
                                           << "void f(const char* const*, QList<W*>)";
}

void TstZuDebug::signatureIsWrittenOneWay()
{
    QFETCH(QString, given);
    QFETCH(QString, written);
    QCOMPARE(zuSignature(given), written);
    QCOMPARE(zuSignature(written), written);
}

void TstZuDebug::debugLineOfThisCompiler()
{
    LogCapture log;
    probe(QString(), nullptr, 0);
    QCOMPARE(log.debugLines(),
        QStringList { "QObject* {anonymous}::probe(const QString&, QObject* const*, int&&): true "
                      "\"text\"" });
}

QTEST_GUILESS_MAIN(TstZuDebug)
#include "tst_zudebug.moc"
