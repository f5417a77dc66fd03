#include "fuzzcheck.h"
#include "scriptparser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    // The host reads a script file the same way.
    const QString script
        = QString::fromUtf8(reinterpret_cast<const char *>(bytes), static_cast<int>(size));
    const ScriptParser::Result result = ScriptParser::parse(script);

    const int lines = script.count(QLatin1Char('\n')) + 1;
    fuzzRequire(result.commands.size() + result.errors.size() <= lines,
        "at most one command or error per line");

    int previous = 0;
    for (const ScriptCommand &command : result.commands) {
        fuzzRequire(command.line > previous && command.line <= lines,
            "commands in script order, within the script");
        previous = command.line;
        fuzzRequire(!command.source.isEmpty(), "a command keeps its line for messages");
        fuzzRequire(command.timeoutMs >= 0 && command.timeoutMs <= ScriptCommand::MaxTimeoutMs,
            "time limits within bounds");
        fuzzRequire(command.kind >= ScriptCommand::Open && command.kind <= ScriptCommand::Quit,
            "a known command");
        switch (command.kind) {
        case ScriptCommand::Open:
            fuzzRequire(!command.target.isEmpty(), "open names an applet");
            break;
        case ScriptCommand::Wait:
            fuzzRequire(command.condition != ScriptCommand::NoCondition, "wait has a condition");
            fuzzRequire(command.condition != ScriptCommand::DumpContains || !command.text.isEmpty(),
                "wait dump-contains has a text");
            break;
        default:
            fuzzRequire(
                command.condition == ScriptCommand::NoCondition, "only wait has a condition");
            break;
        }
    }

    for (const QString &error : result.errors) {
        fuzzRequire(error.startsWith(QStringLiteral("line ")), "errors name their line");
    }
    return 0;
}
