#include "simbrief.h"

SimBrief::SimBrief()
    : KivBrief(nullptr)
{ }

QString SimBrief::valueText() const
{
    // Empty but not null: the host tells "no value" (null) from an empty one.
    return QString(QLatin1String(""));
}
