#include "modemadaptor.h"

#include <QStringList>

ModemAdaptor::ModemAdaptor(QObject *parent)
    : QDBusAbstractAdaptor(parent)
{ }

QVariantMap ModemAdaptor::modemProperties()
{
    return { { QStringLiteral("Powered"), true }, { QStringLiteral("Online"), true },
        { QStringLiteral("Name"), QStringLiteral("Simulated modem") },
        { QStringLiteral("Type"), QStringLiteral("test") },
        { QStringLiteral("Interfaces"), QStringList { QStringLiteral("org.ofono.SimManager") } } };
}

QVariantMap ModemAdaptor::GetProperties()
{
    return modemProperties();
}
