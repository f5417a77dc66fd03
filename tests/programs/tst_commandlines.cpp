// Every program's command line: help on request, a clear refusal of an
// unknown option, and never a crash on either.

#include <QProcess>
#include <QtTest>

namespace {
constexpr int RunLimitMs = 30000;
constexpr int ExitUsage = 2;

enum class Outcome { Help, Refusal };

const QString BadOption = QStringLiteral("--no-such-option");
const QString TestApplet = QStringLiteral(SIM_TEST_APPLET);

struct Run
{
    bool crashed = true;
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &arguments)
{
    Run result;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(RunLimitMs)) {
        result.err = process.errorString();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(RunLimitMs)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("still running: it took the option for a start");
        return result;
    }
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}
} // namespace

Q_DECLARE_METATYPE(Outcome)

class TestCommandLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpAndBadOptions_data();
    void helpAndBadOptions();
    void hostPluginOption_data();
    void hostPluginOption();
};

void TestCommandLines::helpAndBadOptions_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<Outcome>("outcome");

    for (const QString &program : QString::fromUtf8(SIM_PROGRAMS).split(QLatin1Char(':'))) {
        const QString name = QFileInfo(program).fileName();
        for (const QString &help : { QStringLiteral("--help"), QStringLiteral("-h") }) {
            QTest::addRow("%s %s", qPrintable(name), qPrintable(help))
                << program << help << Outcome::Help;
        }
        QTest::addRow("%s %s", qPrintable(name), qPrintable(BadOption))
            << program << BadOption << Outcome::Refusal;
    }
}

void TestCommandLines::helpAndBadOptions()
{
    QFETCH(QString, program);
    QFETCH(QString, argument);
    QFETCH(Outcome, outcome);

    const Run result = run(program, { argument });
    const QString output = QStringLiteral("stdout:\n%1\nstderr:\n%2").arg(result.out, result.err);
    QVERIFY2(!result.crashed, qPrintable("crashed\n" + output));

    if (outcome == Outcome::Help) {
        QVERIFY2(result.exitCode == 0, qPrintable(output));
        QVERIFY2(result.out.contains(QLatin1String("sage: "), Qt::CaseInsensitive)
                && result.out.contains(QFileInfo(program).fileName()),
            qPrintable(output));
    } else {
        QVERIFY2(result.exitCode != 0, qPrintable(output));
        QVERIFY2(result.out.isEmpty(), qPrintable(output));
        // Names what was wrong.
        QVERIFY2(result.err.contains(BadOption.mid(2)), qPrintable(output));
    }
}

// Qt's application object has a -plugin option of its own that takes the
// next argument with it; the host's --plugin must get it instead.
void TestCommandLines::hostPluginOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString listed = QStringLiteral("Test applet\t\"\"\n");
    QTest::newRow("--plugin FILE")
        << QStringList { "--list", "--plugin", TestApplet } << 0 << listed << QString();
    QTest::newRow("--plugin=FILE")
        << QStringList { "--list", "--plugin=" + TestApplet } << 0 << listed << QString();
    QTest::newRow("--plugin without a file")
        << QStringList { "--list", "--plugin" } << ExitUsage << QString()
        << "settings-host: --plugin needs a value\n";
    QTest::newRow("stray argument")
        << QStringList { "--list", TestApplet } << ExitUsage << QString()
        << "settings-host: unexpected argument \"" + TestApplet
            + "\"\n(see settings-host --help)\n";
}

void TestCommandLines::hostPluginOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const Run result = run(QStringLiteral(SIM_HOST_PROGRAM), arguments);
    QVERIFY(!result.crashed);
    QCOMPARE(result.out, out);
    // Qt may add warnings of its own about the environment.
    QVERIFY2(result.err.contains(err), qPrintable(result.err));
    QCOMPARE(result.exitCode, exitCode);
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "tst_commandlines.moc"
