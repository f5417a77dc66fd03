// Every program's command line: help on request, a clear refusal of an
// unknown option, and never a crash on either. The settings host's own
// options are checked with its other tests.

#include <QProcess>
#include <QtTest>

namespace {
constexpr int RunLimitMs = 30000;
const QString BadOption = QStringLiteral("--no-such-option");
} // namespace

class TestCommandLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpAndBadOptions_data();
    void helpAndBadOptions();
};

void TestCommandLines::helpAndBadOptions_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("argument");
    for (const QString &program : QString::fromUtf8(SIM_PROGRAMS).split(QLatin1Char(':'))) {
        const QString name = QFileInfo(program).fileName();
        for (const QString &argument :
            { QStringLiteral("--help"), QStringLiteral("-h"), BadOption }) {
            QTest::addRow("%s %s", qPrintable(name), qPrintable(argument)) << program << argument;
        }
    }
}

void TestCommandLines::helpAndBadOptions()
{
    QFETCH(QString, program);
    QFETCH(QString, argument);
    QProcess process;
    process.start(program, { argument });
    process.closeWriteChannel();
    // Still running: it took the option for a start.
    const bool finished = process.waitForFinished(RunLimitMs);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    const QString output
        = QStringLiteral("%1\nstdout:\n%2\nstderr:\n%3").arg(process.errorString(), out, err);
    QVERIFY2(finished && process.exitStatus() == QProcess::NormalExit, qPrintable(output));
    if (argument == BadOption) {
        QVERIFY2(process.exitCode() != 0, qPrintable(output));
        QVERIFY2(out.isEmpty(), qPrintable(output));
        // Names what was wrong.
        QVERIFY2(err.contains(BadOption.mid(2)), qPrintable(output));
    } else {
        QVERIFY2(process.exitCode() == 0, qPrintable(output));
        QVERIFY2(out.contains(QLatin1String("sage: "), Qt::CaseInsensitive)
                && out.contains(QFileInfo(program).fileName()),
            qPrintable(output));
    }
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "tst_commandlines.moc"
