#pragma once

#include <QVariant>
#include <QVariantList>

// The arguments of a recorded signal as QSignalSpy holds them: each value
// under its own type, so that an enumeration compares equal to the spy's
// entry under Qt 6 too, which no longer converts it to int to compare.
template <typename... Args>
QVariantList signalArgs(Args... args)
{
    return { QVariant::fromValue(args)... };
}
