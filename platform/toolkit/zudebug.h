#pragma once

#include <QDebug>
#include <QString>

// The signature of a function as the compiler's signature macro (Q_FUNC_INFO)
// gives it, written the same way whichever compiler built the code: pointer
// and reference marks stick to their type ("KivWidget* f(const QString&)"),
// a const after a pointer mark is set off by a space ("const char* const*"),
// a parameter's own top-level const is left out, and the anonymous namespace
// reads "{anonymous}". Text already in that form comes back unchanged.
// Qualification is not touched: one compiler writes a parameter's type as the
// function's definition spells it, the other in full, so logging functions
// spell their parameter types in full.
QString zuSignature(const char *function);
QString zuSignature(const QString &function);

// Opens a debug line for a function: the stream has already written the text
// (the function's full signature, Q_FUNC_INFO, in the form of zuSignature())
// and a colon. Values streamed afterwards are separated by single spaces,
// booleans read "true" or "false", and strings are quoted. The line goes
// through Qt's message handler at debug level when the last copy of the
// stream goes away.
QDebug zuDebugStream(const QString &text);
