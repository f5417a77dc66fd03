// The script parser's corners. The common forms of every command are run by
// the host's own tests and the end-to-end suite.

#include "scriptparser.h"

#include <QtTest>

class TestScriptParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesCommands_data();
    void parsesCommands();
    void rejectsMalformedLines_data();
    void rejectsMalformedLines();
};

void TestScriptParser::parsesCommands_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("timeout");
    const int d = ScriptCommand::DefaultTimeoutMs;
    // Unquoted text runs to the end of the line, numbers included.
    QTest::newRow("wait text unquoted") << "wait text L Enter code 1234"
                                        << "L"
                                        << "Enter code 1234" << d;
    QTest::newRow("wait text quoted with limit") << "wait text L \"Say \\\"hi\\\"\" 900"
                                                 << "L"
                                                 << "Say \"hi\"" << 900;
    QTest::newRow("echo keeps inner blanks") << "echo a  b" << QString() << "a  b" << d;
}

void TestScriptParser::parsesCommands()
{
    QFETCH(QString, line);
    const ScriptParser::Result result = ScriptParser::parse(line);
    QCOMPARE(result.errors, QStringList());
    QCOMPARE(result.commands.size(), 1);
    QTEST(result.commands.first().target, "target");
    QTEST(result.commands.first().text, "text");
    QTEST(result.commands.first().timeoutMs, "timeout");
}

void TestScriptParser::rejectsMalformedLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("error");
    // The row's name is the line; the parser repeats it after the reason.
    const char *const rows[][2] = {
        { "tap", "tap needs one object name" },
        { "dump all", "dump takes no arguments" },
        { "open", "open needs an applet title or index" },
        { "wait", "wait needs a condition" },
        { "wait shown X", "unknown condition \"shown\"" },
        { "wait visible X soon", "bad time limit \"soon\" (0 to 600000 ms)" },
        { "wait visible X 5 6", "too many arguments" },
        { "wait text X", "wait text needs an object name and a text" },
        { "wait text X \"a\" 5 6", "unexpected text after the quoted text" },
        { "echo \"abc", "unterminated quote" },
        { "tap \"a\"b", "text right after a closing quote" },
    };
    for (const auto &row : rows) {
        QTest::newRow(row[0]) << row[0] << QStringLiteral("line 1: %1: %2").arg(row[1], row[0]);
    }
}

void TestScriptParser::rejectsMalformedLines()
{
    QFETCH(QString, line);
    QFETCH(QString, error);
    const ScriptParser::Result result = ScriptParser::parse(line);
    QCOMPARE(result.errors, QStringList { error });
    QVERIFY(result.commands.isEmpty());
}

QTEST_GUILESS_MAIN(TestScriptParser)
#include "tst_scriptparser.moc"
