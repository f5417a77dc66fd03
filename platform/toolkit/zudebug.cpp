#include "zudebug.h"

QDebug zuDebugStream(const QString &text)
{
    QDebug stream(QtDebugMsg);
    stream.noquote() << text + QLatin1Char(':');
    stream.quote();
    return stream;
}
