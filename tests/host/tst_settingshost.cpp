// The settings-host program end to end with a small test applet: its command
// line and its automation scripts, under the offscreen platform. The real
// SIM applet in the host is driven by the end-to-end suite.

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int RunLimitMs = 60000;
enum ExitCode : int { ExitOk = 0, ExitUsage = 2, ExitCommandFailed = 3 };
const QString TestApplets = QStringLiteral(SIM_TEST_APPLET_DIR);
const QString TestApplet = TestApplets + QStringLiteral("/libpageapplet.so");

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runHost(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    QProcess process;
    process.start(QStringLiteral(SIM_HOST_PROGRAM), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(RunLimitMs)) {
        process.kill();
        process.waitForFinished();
        return Run();
    }
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError()) };
}
} // namespace

Q_DECLARE_METATYPE(ExitCode)

class TestSettingsHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandLine_data();
    void commandLine();
    void interactiveRunOpensTapsRendersAndTranslates();
};

void TestSettingsHost::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<ExitCode>("exitCode");
    QTest::addColumn<QString>("out");
    // Part of standard error: Qt may add warnings of its own.
    QTest::addColumn<QString>("err");

    const QString listed = QStringLiteral("Test applet\t\"\"\n");
    const QByteArray none;
    QTest::newRow("list, with a refusal")
        << QStringList { "--list", "--applets", TestApplets } << none << ExitOk
        << QStringLiteral("refused plug-in %1/libnotanapplet.so: root object QObject is not an "
                          "applet (no com.tavik.zu.core.KivAppletIf/1.0)\n")
                .arg(TestApplets)
            + listed
        << QString();
    // The default applet directory is the build's, where the real plug-in is;
    // the host calls init() before it asks for the brief.
    QTest::newRow("list in German")
        << QStringList { "--list", "--lang", "de" } << none << ExitOk << "SIM-Karte\t\"\"\n"
        << "\nvirtual void SimApplet::init():\nvirtual KivBrief* SimApplet::constructBrief(int):\n";
    // Qt's application object has a -plugin option of its own that takes the
    // next argument with it; the host's --plugin must get it instead.
    QTest::newRow("--plugin without a file")
        << QStringList { "--list", "--plugin" } << none << ExitUsage << QString()
        << "settings-host: --plugin needs a value\n";
    QTest::newRow("stray argument")
        << QStringList { "--list", TestApplet } << none << ExitUsage << QString()
        << "settings-host: unexpected argument \"" + TestApplet
            + "\"\n(see settings-host --help)\n";
    // Without a script the page is opened and dumped: visibility, style,
    // view, texts, switch and spinner state, and places in the layout.
    QTest::newRow("no script, --plugin FILE")
        << QStringList { "--plugin", TestApplet } << none << ExitOk
        << "opened \"Test applet\" (TestPage)\n"
           "TestPage \"\" visible\n"
           "  ZuLabel \"TestTitle\" visible style=CommonHeaderInverted "
           "text=\"qtn_cell_sim_card\" layout=0\n"
           "  ZuButton \"TestSwitch\" visible view=switch checked=false layout=1\n"
           "  ZuLabel \"TestNote\" hidden text=\"switched \\\"on\\\"\"\n"
           "  ZuProgressIndicator \"TestSpinner\" visible view=spinner spinning=true layout=2\n"
        << QString();
    const QStringList script = { "--applets", TestApplets, "--script", "-" };
    QTest::newRow("script ends at a failure")
        << script
        << QByteArray("open 0\n# the note only shows after a tap\nwait visible TestNote 100\n"
                      "echo not reached\n")
        << ExitCommandFailed
        << "ok line 1: open 0: opened \"Test applet\" (TestPage)\n"
           "FAILED line 3: wait visible TestNote 100: not true after 100 ms (\"TestNote\" is "
           "hidden)\n"
        << QString();
    // Every error is reported, with its line, and nothing runs.
    QTest::newRow("malformed script")
        << script << QByteArray("echo first\nwait visible\n\n  # set-up\nsnooze 5\n") << ExitUsage
        << QString()
        << "settings-host: script line 2: wait visible needs an object name: wait visible\n"
           "settings-host: script line 5: unknown command \"snooze\": snooze 5\n";
}

void TestSettingsHost::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, err);
    const Run run = runHost(arguments, input);
    QTEST(run.out, "out");
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
    QTEST(ExitCode(run.exitCode), "exitCode");
}

// Each line runs as it arrives (the end-to-end suite waits for every answer
// before it writes the next line); a failed line is reported and the run goes
// on until quit.
void TestSettingsHost::interactiveRunOpensTapsRendersAndTranslates()
{
    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("page.png"));
    const QString script = QStringLiteral("list\n"
                                          "open 1\n"
                                          "open Test applet\n"
                                          "wait hidden TestNote 0\n"
                                          "wait spinning TestSpinner\n"
                                          "snooze 5\n"
                                          "tap NoSuchItem\n"
                                          "tap TestSwitch\n"
                                          "wait checked TestSwitch\n"
                                          "wait visible TestNote\n"
                                          "screenshot %1\n"
                                          "lang xx\n"
                                          "lang de\n"
                                          "lang none\n"
                                          "wait text TestTitle qtn_cell_sim_card\n"
                                          "close\n"
                                          "wait dump-contains \"(no page)\"\n"
                                          "quit\n"
                                          "echo not reached\n")
                               .arg(shot);
    const Run run = runHost({ "--applets", TestApplets, "--interactive" }, script.toUtf8());
    QCOMPARE(ExitCode(run.exitCode), ExitCommandFailed);
    // The status lines, without what the commands printed.
    const QStringList status
        = run.out.split(QLatin1Char('\n'))
              .filter(QRegularExpression(QStringLiteral("^(ok line |FAILED)")));
    QCOMPARE(status.size(), 18);
    // Without the catalogue folder at the end.
    const QStringList failed = status.filter(QRegularExpression(QStringLiteral("^FAILED")))
                                   .replaceInStrings(QRegularExpression(" in \\S+$"), QString());
    QCOMPARE(failed,
        QStringList({ "FAILED line 2: open 1: no applet \"1\"",
            "FAILED line 6: unknown command \"snooze\": snooze 5",
            "FAILED line 7: tap NoSuchItem: no visible widget \"NoSuchItem\"",
            "FAILED line 12: lang xx: no catalogue for language \"xx\"" }));
    QVERIFY(run.out.startsWith(QLatin1String("0\tTest applet\t\"\"\n")));
    QVERIFY(run.out.contains(QLatin1String("ok line 8: tap TestSwitch: tapped at (")));
    QVERIFY(!run.out.contains(QLatin1String("not reached")));

    const QImage image = QImage(shot).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(480, 854));
    // Something was drawn: not a single colour all over.
    QImage plain(image.size(), image.format());
    plain.fill(image.pixel(0, 0));
    QVERIFY(image != plain);
}

QTEST_GUILESS_MAIN(TestSettingsHost)
#include "tst_settingshost.moc"
