// The settings-host program end to end: its command line and its automation
// scripts, under the offscreen platform.

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int RunLimitMs = 60000;
constexpr int ExitCommandFailed = 3;
constexpr int ExitUsage = 2;
const QString TestApplets = QStringLiteral(SIM_TEST_APPLET_DIR);

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

// The status lines of a script run, without what the commands printed.
QStringList statusLines(const QString &out)
{
    return out.split(QLatin1Char('\n'))
        .filter(QRegularExpression(QStringLiteral("^(ok line |FAILED)")));
}
} // namespace

class TestSettingsHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listNamesAppletsAndRefusals();
    void scriptOpensTapsDumpsAndRenders();
    void failingWaitExitsWithItsLine();
    void malformedScriptIsRejectedBeforeRunning();
    void languageChangesWhileRunning();
    void withoutScriptDumpsThePage();
    void interactiveRunsEachLineAsItArrives();
};

void TestSettingsHost::listNamesAppletsAndRefusals()
{
    const Run run = runHost({ "--list", "--applets", TestApplets });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out,
        QStringLiteral("refused plug-in %1/libnotanapplet.so: root object QObject is not an "
                       "applet (no com.tavik.zu.core.KivAppletIf/1.0)\n"
                       "Test applet\t\"\"\n")
            .arg(TestApplets));
    // The default applet directory is the build's, where the real plug-in is.
    const Run german = runHost({ "--list", "--lang", "de" });
    QCOMPARE(german.out, QStringLiteral("SIM-Karte\t\"\"\n"));
    // Unknown language: one message, nothing loaded.
    const Run unknown = runHost({ "--list", "--lang", "xx" });
    QCOMPARE(unknown.exitCode, ExitUsage);
    QVERIFY2(unknown.err.contains(QLatin1String("no catalogue for language \"xx\"")),
        qPrintable(unknown.err));
}

void TestSettingsHost::scriptOpensTapsDumpsAndRenders()
{
    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("page.png"));
    const QString script = QStringLiteral("list\n"
                                          "open Test applet\n"
                                          "wait visible TestSwitch\n"
                                          "wait hidden TestNote 0\n"
                                          "wait spinning TestSpinner\n"
                                          "dump\n"
                                          "tap TestSwitch\n"
                                          "wait checked TestSwitch\n"
                                          "wait visible TestNote\n"
                                          "wait text TestNote switched \"on\"\n"
                                          "screenshot %1\n"
                                          "close\n"
                                          "wait dump-contains (no page)\n")
                               .arg(shot);
    const Run run = runHost({ "--applets", TestApplets, "--script", "-" }, script.toUtf8());
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QCOMPARE(statusLines(run.out).size(), 13);
    QVERIFY(run.out.contains(QLatin1String("0\tTest applet\t\"\"\n")));
    // The page as it was opened: visible, style, view, texts, switch and
    // spinner state, and places in the layout.
    QVERIFY2(
        run.out.contains(QLatin1String(
            "TestPage \"\" visible\n"
            "  ZuLabel \"TestTitle\" visible style=CommonHeaderInverted text=\"qtn_cell_sim_card\" "
            "layout=0\n"
            "  ZuButton \"TestSwitch\" visible view=switch checked=false layout=1\n"
            "  ZuLabel \"TestNote\" hidden text=\"switched \\\"on\\\"\"\n"
            "  ZuProgressIndicator \"TestSpinner\" visible view=spinner spinning=true layout=2\n")),
        qPrintable(run.out));
    QVERIFY(run.out.contains(QLatin1String("ok line 7: tap TestSwitch: tapped at (")));

    const QImage image = QImage(shot).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(480, 854));
    // Something was drawn: not a single colour all over.
    QImage plain(image.size(), image.format());
    plain.fill(image.pixel(0, 0));
    QVERIFY(image != plain);
}

void TestSettingsHost::failingWaitExitsWithItsLine()
{
    const Run run = runHost({ "--applets", TestApplets, "--script", "-" },
        "open 0\n# the note only shows after a tap\nwait visible TestNote 100\n"
        "echo not reached\n");
    QCOMPARE(run.exitCode, ExitCommandFailed);
    QCOMPARE(statusLines(run.out),
        QStringList({ "ok line 1: open 0: opened \"Test applet\" (TestPage)",
            "FAILED line 3: wait visible TestNote 100: not true after 100 ms "
            "(\"TestNote\" is hidden)" }));
    QVERIFY(!run.out.contains(QLatin1String("not reached")));

    const Run tap
        = runHost({ "--applets", TestApplets, "--script", "-" }, "open 0\ntap NoSuchItem\n");
    QCOMPARE(tap.exitCode, ExitCommandFailed);
    QVERIFY(tap.out.contains(
        QLatin1String("FAILED line 2: tap NoSuchItem: no visible widget \"NoSuchItem\"\n")));
}

void TestSettingsHost::malformedScriptIsRejectedBeforeRunning()
{
    const Run run = runHost({ "--applets", TestApplets, "--script", "-" },
        "echo first\nwait visible\nopen 0\nsnooze 5\n");
    QCOMPARE(run.exitCode, ExitUsage);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(
                 QLatin1String("script line 2: wait visible needs an object name: wait visible\n")),
        qPrintable(run.err));
}

void TestSettingsHost::languageChangesWhileRunning()
{
    const Run run = runHost({ "--applets", TestApplets, "--lang", "en", "--script", "-" },
        "open 0\n"
        "wait text TestTitle SIM card\n"
        "lang de\n"
        "wait text TestTitle SIM-Karte\n"
        "lang none\n"
        "wait text TestTitle qtn_cell_sim_card\n"
        "lang xx\n");
    QCOMPARE(run.exitCode, ExitCommandFailed);
    QCOMPARE(statusLines(run.out).size(), 7);
    QVERIFY2(statusLines(run.out).last().startsWith(
                 QLatin1String("FAILED line 7: lang xx: no catalogue for language \"xx\"")),
        qPrintable(run.out));
}

void TestSettingsHost::withoutScriptDumpsThePage()
{
    const Run page = runHost({ "--applets", TestApplets });
    QCOMPARE(page.exitCode, 0);
    QVERIFY(page.out.startsWith(
        QLatin1String("opened \"Test applet\" (TestPage)\nTestPage \"\" visible\n")));
}

void TestSettingsHost::interactiveRunsEachLineAsItArrives()
{
    QProcess process;
    process.start(QStringLiteral(SIM_HOST_PROGRAM), { "--applets", TestApplets, "--interactive" });
    QVERIFY(process.waitForStarted(RunLimitMs));
    // The input stays open: the answer must come before the next line is written.
    process.write("open 0\n");
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT(
        (out += process.readAllStandardOutput()).contains("ok line 1: open 0"), RunLimitMs);
    // A bad line is reported and the run goes on.
    process.write("snooze 5\ntap TestSwitch\nwait checked TestSwitch\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(RunLimitMs));
    QCOMPARE(process.exitCode(), ExitCommandFailed);
    out += process.readAllStandardOutput();
    const QStringList status = statusLines(QString::fromUtf8(out));
    QCOMPARE(status.size(), 4);
    QCOMPARE(status.at(1), QStringLiteral("FAILED line 2: unknown command \"snooze\": snooze 5"));
    QCOMPARE(status.at(3), QStringLiteral("ok line 4: wait checked TestSwitch"));
}

QTEST_GUILESS_MAIN(TestSettingsHost)
#include "tst_settingshost.moc"
