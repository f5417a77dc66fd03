#pragma once

#include <cstdio>
#include <cstdlib>

#include <QString>

// A property the parser promises for every input. A broken promise aborts, so
// that libFuzzer keeps the input as a crash just as it does for a memory error.
inline void fuzzRequire(bool holds, const char *promise)
{
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

// Messages end up in a single log line: no line breaks or other control
// characters, whatever bytes the input held.
inline bool isOneLine(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return false;
        }
    }
    return true;
}
