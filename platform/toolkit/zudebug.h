#pragma once

#include <QDebug>
#include <QString>

// Opens a debug line for a function: the stream has already written the text
// (by convention the function's full signature, e.g. Q_FUNC_INFO) and a colon.
// Values streamed afterwards are separated by single spaces, booleans read
// "true" or "false", and strings are quoted. The line goes through Qt's
// message handler at debug level when the last copy of the stream goes away.
QDebug zuDebugStream(const QString &text);
