#include "scriptparser.h"

#include <QHash>

namespace {

struct Token
{
    QString value;
    int start = 0; // offset of the token's first character in the line
    bool quoted = false;
};

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Splits a line into tokens; returns false with a reason on an unterminated
// quote or a dangling escape.
bool tokenize(const QString &line, QVector<Token> *tokens, QString *error)
{
    int i = 0;
    const int n = line.size();
    while (i < n) {
        while (i < n && isBlank(line.at(i))) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        Token token;
        token.start = i;
        if (line.at(i) == QLatin1Char('"')) {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = line.at(i++);
                if (c == QLatin1Char('\\')) {
                    if (i >= n) {
                        *error = QStringLiteral("dangling backslash");
                        return false;
                    }
                    token.value += line.at(i++);
                } else if (c == QLatin1Char('"')) {
                    closed = true;
                    break;
                } else {
                    token.value += c;
                }
            }
            if (!closed) {
                *error = QStringLiteral("unterminated quote");
                return false;
            }
            if (i < n && !isBlank(line.at(i))) {
                *error = QStringLiteral("text right after a closing quote");
                return false;
            }
        } else {
            while (i < n && !isBlank(line.at(i))) {
                token.value += line.at(i++);
            }
        }
        tokens->append(token);
    }
    return true;
}

bool parseTimeout(const QString &text, int *timeoutMs)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > ScriptCommand::MaxTimeoutMs) {
        return false;
    }
    *timeoutMs = value;
    return true;
}

// The free text that starts at token `first`: one quoted argument as is, or
// everything from that token to the end of the line as written.
// `allowTimeout`: a quoted text may be followed by a time limit.
bool freeText(const QString &line, const QVector<Token> &tokens, int first, bool allowTimeout,
    ScriptCommand *command, QString *error)
{
    if (first >= tokens.size()) {
        command->text.clear();
        return true;
    }
    if (tokens.at(first).quoted) {
        command->text = tokens.at(first).value;
        const int rest = tokens.size() - first - 1;
        if (rest == 0) {
            return true;
        }
        if (allowTimeout && rest == 1) {
            if (parseTimeout(tokens.at(first + 1).value, &command->timeoutMs)) {
                return true;
            }
            *error = QStringLiteral("bad time limit \"%1\" (0 to %2 ms)")
                         .arg(tokens.at(first + 1).value)
                         .arg(ScriptCommand::MaxTimeoutMs);
            return false;
        }
        *error = QStringLiteral("unexpected text after the quoted text");
        return false;
    }
    command->text = line.mid(tokens.at(first).start).trimmed();
    return true;
}

const QHash<QString, ScriptCommand::Kind> &commandNames()
{
    static const QHash<QString, ScriptCommand::Kind> names {
        { QStringLiteral("open"), ScriptCommand::Open },
        { QStringLiteral("back"), ScriptCommand::Back },
        { QStringLiteral("close"), ScriptCommand::Close },
        { QStringLiteral("tap"), ScriptCommand::Tap },
        { QStringLiteral("locate"), ScriptCommand::Locate },
        { QStringLiteral("wait"), ScriptCommand::Wait },
        { QStringLiteral("dump"), ScriptCommand::Dump },
        { QStringLiteral("list"), ScriptCommand::List },
        { QStringLiteral("lang"), ScriptCommand::Lang },
        { QStringLiteral("screenshot"), ScriptCommand::Screenshot },
        { QStringLiteral("echo"), ScriptCommand::Echo },
        { QStringLiteral("quit"), ScriptCommand::Quit },
    };
    return names;
}

const QHash<QString, ScriptCommand::Condition> &conditionNames()
{
    static const QHash<QString, ScriptCommand::Condition> names {
        { QStringLiteral("visible"), ScriptCommand::Visible },
        { QStringLiteral("hidden"), ScriptCommand::Hidden },
        { QStringLiteral("exists"), ScriptCommand::Exists },
        { QStringLiteral("checked"), ScriptCommand::Checked },
        { QStringLiteral("unchecked"), ScriptCommand::Unchecked },
        { QStringLiteral("spinning"), ScriptCommand::Spinning },
        { QStringLiteral("text"), ScriptCommand::Text },
        { QStringLiteral("dump-contains"), ScriptCommand::DumpContains },
    };
    return names;
}

bool parseWait(
    const QString &line, const QVector<Token> &tokens, ScriptCommand *command, QString *error)
{
    if (tokens.size() < 2) {
        *error = QStringLiteral("wait needs a condition");
        return false;
    }
    const auto condition = conditionNames().constFind(tokens.at(1).value);
    if (condition == conditionNames().constEnd()) {
        *error = QStringLiteral("unknown condition \"%1\"").arg(tokens.at(1).value);
        return false;
    }
    command->condition = condition.value();
    if (command->condition == ScriptCommand::DumpContains) {
        if (!freeText(line, tokens, 2, true, command, error)) {
            return false;
        }
        if (command->text.isEmpty()) {
            *error = QStringLiteral("wait dump-contains needs a text");
            return false;
        }
        return true;
    }
    if (tokens.size() < 3) {
        *error = QStringLiteral("wait %1 needs an object name").arg(tokens.at(1).value);
        return false;
    }
    command->target = tokens.at(2).value;
    if (command->condition == ScriptCommand::Text) {
        if (tokens.size() < 4) {
            *error = QStringLiteral("wait text needs an object name and a text");
            return false;
        }
        return freeText(line, tokens, 3, true, command, error);
    }
    if (tokens.size() == 4) {
        if (!parseTimeout(tokens.at(3).value, &command->timeoutMs)) {
            *error = QStringLiteral("bad time limit \"%1\" (0 to %2 ms)")
                         .arg(tokens.at(3).value)
                         .arg(ScriptCommand::MaxTimeoutMs);
            return false;
        }
    } else if (tokens.size() > 4) {
        *error = QStringLiteral("too many arguments");
        return false;
    }
    return true;
}

bool parseLine(const QString &line, ScriptCommand *command, QString *error)
{
    QVector<Token> tokens;
    if (!tokenize(line, &tokens, error)) {
        return false;
    }
    const QString &name = tokens.at(0).value;
    const auto kind = commandNames().constFind(name);
    if (tokens.at(0).quoted || kind == commandNames().constEnd()) {
        *error = QStringLiteral("unknown command \"%1\"").arg(name);
        return false;
    }
    command->kind = kind.value();
    const int arguments = tokens.size() - 1;
    auto exactly = [&](int count, const char *what) {
        if (arguments == count) {
            if (count == 1) {
                command->target = tokens.at(1).value;
            }
            return true;
        }
        *error = count == 0 ? QStringLiteral("%1 takes no arguments").arg(name)
                            : QStringLiteral("%1 needs %2").arg(name, QLatin1String(what));
        return false;
    };
    switch (command->kind) {
    case ScriptCommand::Open:
        if (!freeText(line, tokens, 1, false, command, error)) {
            return false;
        }
        command->target = command->text;
        command->text.clear();
        if (command->target.isEmpty()) {
            *error = QStringLiteral("open needs an applet title or index");
            return false;
        }
        return true;
    case ScriptCommand::Tap:
    case ScriptCommand::Locate:
        return exactly(1, "one object name");
    case ScriptCommand::Lang:
        return exactly(1, "one language code");
    case ScriptCommand::Screenshot:
        return exactly(1, "one file name");
    case ScriptCommand::Wait:
        return parseWait(line, tokens, command, error);
    case ScriptCommand::Echo:
        return freeText(line, tokens, 1, false, command, error);
    case ScriptCommand::Back:
    case ScriptCommand::Close:
    case ScriptCommand::Dump:
    case ScriptCommand::List:
    case ScriptCommand::Quit:
        return exactly(0, "");
    }
    return false;
}

} // namespace

ScriptParser::Result ScriptParser::parse(const QString &script)
{
    Result result;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) {
            continue;
        }
        ScriptCommand command;
        command.line = i + 1;
        command.source = trimmed;
        QString error;
        if (parseLine(trimmed, &command, &error)) {
            result.commands.append(command);
        } else {
            result.errors.append(QStringLiteral("line %1: %2: %3").arg(i + 1).arg(error, trimmed));
        }
    }
    return result;
}

QString ScriptParser::syntax()
{
    return QStringLiteral(
        "Script commands, one per line (# starts a comment):\n"
        "  open TITLE|INDEX          open an applet's page\n"
        "  tap NAME                  press and release at the centre of widget NAME\n"
        "  locate NAME               tell where the centre of widget NAME is on the screen\n"
        "  wait visible|hidden|exists|checked|unchecked|spinning NAME [MS]\n"
        "  wait text NAME TEXT       (or: wait text NAME \"TEXT\" [MS])\n"
        "  wait dump-contains TEXT   (or: wait dump-contains \"TEXT\" [MS])\n"
        "  dump                      print the page's widget tree\n"
        "  list                      print the applets and their brief lines\n"
        "  lang CODE                 switch language (\"none\" shows the text ids)\n"
        "  screenshot FILE           render the view to a PNG file\n"
        "  back                      ask the page to go back, close it if it agrees\n"
        "  close                     destroy the page\n"
        "  echo TEXT                 print TEXT\n"
        "  quit                      stop here\n"
        "Waits run the event loop for at most MS milliseconds (default %1).\n")
        .arg(ScriptCommand::DefaultTimeoutMs);
}
