#include "modemlist.h"

#include <QDBusMetaType>

QDBusArgument &operator<<(QDBusArgument &argument, const OfonoModemEntry &entry)
{
    argument.beginStructure();
    argument << entry.path << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, OfonoModemEntry &entry)
{
    argument.beginStructure();
    argument >> entry.path >> entry.properties;
    argument.endStructure();
    return argument;
}

void registerModemTypes()
{
    qDBusRegisterMetaType<OfonoModemEntry>();
    qDBusRegisterMetaType<OfonoModemList>();
    // Retries travel as a{sy}.
    qDBusRegisterMetaType<QMap<QString, uchar>>();
}
