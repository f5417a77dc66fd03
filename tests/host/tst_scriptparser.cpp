#include "scriptparser.h"

#include <QtTest>

Q_DECLARE_METATYPE(ScriptCommand::Kind)
Q_DECLARE_METATYPE(ScriptCommand::Condition)

class TestScriptParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesCommands_data();
    void parsesCommands();
    void rejectsMalformedLines_data();
    void rejectsMalformedLines();
    void keepsLineNumbersAcrossSkippedLines();
};

void TestScriptParser::parsesCommands_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<ScriptCommand::Kind>("kind");
    QTest::addColumn<ScriptCommand::Condition>("condition");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("timeout");

    const int d = ScriptCommand::DefaultTimeoutMs;
    const auto none = ScriptCommand::NoCondition;
    QTest::newRow("open by title with blanks")
        << "open  SIM card " << ScriptCommand::Open << none << "SIM card" << QString() << d;
    QTest::newRow("wait visible default limit") << "wait visible X" << ScriptCommand::Wait
                                                << ScriptCommand::Visible << "X" << QString() << d;
    QTest::newRow("wait hidden with limit") << "wait hidden X 250" << ScriptCommand::Wait
                                            << ScriptCommand::Hidden << "X" << QString() << 250;
    // Unquoted text runs to the end of the line, numbers included.
    QTest::newRow("wait text unquoted")
        << "wait text L Enter code 1234" << ScriptCommand::Wait << ScriptCommand::Text << "L"
        << "Enter code 1234" << d;
    QTest::newRow("wait text quoted with limit")
        << "wait text L \"Say \\\"hi\\\"\" 900" << ScriptCommand::Wait << ScriptCommand::Text << "L"
        << "Say \"hi\"" << 900;
    QTest::newRow("wait dump-contains")
        << "wait dump-contains checked=true" << ScriptCommand::Wait << ScriptCommand::DumpContains
        << QString() << "checked=true" << d;
    QTest::newRow("echo keeps inner blanks")
        << "echo a  b" << ScriptCommand::Echo << none << QString() << "a  b" << d;
    QTest::newRow("dump with crlf")
        << "dump\r" << ScriptCommand::Dump << none << QString() << QString() << d;
}

void TestScriptParser::parsesCommands()
{
    QFETCH(QString, line);
    QFETCH(ScriptCommand::Kind, kind);
    QFETCH(ScriptCommand::Condition, condition);
    QFETCH(QString, target);
    QFETCH(QString, text);
    QFETCH(int, timeout);
    const ScriptParser::Result result = ScriptParser::parse(line);
    QCOMPARE(result.errors, QStringList());
    QCOMPARE(result.commands.size(), 1);
    const ScriptCommand &command = result.commands.first();
    QCOMPARE(command.kind, kind);
    QCOMPARE(command.condition, condition);
    QCOMPARE(command.target, target);
    QCOMPARE(command.text, text);
    QCOMPARE(command.timeoutMs, timeout);
    QCOMPARE(command.line, 1);
}

void TestScriptParser::rejectsMalformedLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("error");
    QTest::newRow("tap without name") << "tap"
                                      << "line 1: tap needs one object name: tap";
    QTest::newRow("dump with argument") << "dump all"
                                        << "line 1: dump takes no arguments: dump all";
    QTest::newRow("open nothing") << "open"
                                  << "line 1: open needs an applet title or index: open";
    QTest::newRow("wait alone") << "wait"
                                << "line 1: wait needs a condition: wait";
    QTest::newRow("unknown condition") << "wait shown X"
                                       << "line 1: unknown condition \"shown\": wait shown X";
    QTest::newRow("limit not a number")
        << "wait visible X soon"
        << "line 1: bad time limit \"soon\" (0 to 600000 ms): wait visible X soon";
    QTest::newRow("too many wait arguments") << "wait visible X 5 6"
                                             << "line 1: too many arguments: wait visible X 5 6";
    QTest::newRow("wait text without text")
        << "wait text X"
        << "line 1: wait text needs an object name and a text: wait text X";
    QTest::newRow("text after quoted text")
        << "wait text X \"a\" 5 6"
        << "line 1: unexpected text after the quoted text: wait text X \"a\" 5 6";
    QTest::newRow("unterminated quote") << "echo \"abc"
                                        << "line 1: unterminated quote: echo \"abc";
    QTest::newRow("text glued to a quote")
        << "tap \"a\"b"
        << "line 1: text right after a closing quote: tap \"a\"b";
}

void TestScriptParser::rejectsMalformedLines()
{
    QFETCH(QString, line);
    QFETCH(QString, error);
    const ScriptParser::Result result = ScriptParser::parse(line);
    QCOMPARE(result.errors, QStringList { error });
    QVERIFY(result.commands.isEmpty());
}

void TestScriptParser::keepsLineNumbersAcrossSkippedLines()
{
    const ScriptParser::Result result = ScriptParser::parse(
        QStringLiteral("# set-up\n\nopen 0\n   \n  # tap first\nfly away\ntap X\nwait\n"));
    QCOMPARE(result.errors,
        QStringList({ "line 6: unknown command \"fly\": fly away",
            "line 8: wait needs a condition: wait" }));
    QCOMPARE(result.commands.size(), 2);
    QCOMPARE(result.commands.at(0).line, 3);
    QCOMPARE(result.commands.at(1).line, 7);
    QCOMPARE(result.commands.at(1).source, QStringLiteral("tap X"));
}

QTEST_GUILESS_MAIN(TestScriptParser)
#include "tst_scriptparser.moc"
