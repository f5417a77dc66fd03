#pragma once

#include "scriptcommand.h"

#include <QStringList>
#include <QVector>

// Turns an automation script into commands. Pure and total: any text yields a
// list of commands and a list of errors, each error naming its line.
//
// One command per line; blank lines and lines starting with '#' are skipped.
// Arguments are separated by blanks; an argument may be written in double
// quotes (with \" and \\ escapes) to hold blanks. The trailing text of echo,
// open, "wait text NAME TEXT" and "wait dump-contains TEXT" is taken as written
// unless it is one quoted argument, which for wait may be followed by a time
// limit in milliseconds.
class ScriptParser
{
public:
    struct Result
    {
        QVector<ScriptCommand> commands;
        QStringList errors;
    };

    static Result parse(const QString &script);

    // A short description of the commands, for --help.
    static QString syntax();
};
