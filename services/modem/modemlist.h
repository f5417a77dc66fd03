#pragma once

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QList>
#include <QMetaType>
#include <QVariantMap>

// One entry of the modem manager's GetModems answer, a(oa{sv}).
struct OfonoModemEntry
{
    QDBusObjectPath path;
    QVariantMap properties;
};
using OfonoModemList = QList<OfonoModemEntry>;

QDBusArgument &operator<<(QDBusArgument &argument, const OfonoModemEntry &entry);
const QDBusArgument &operator>>(const QDBusArgument &argument, OfonoModemEntry &entry);

// Makes the bus types of the simulated modem known to Qt D-Bus.
void registerModemTypes();

Q_DECLARE_METATYPE(OfonoModemEntry)
Q_DECLARE_METATYPE(OfonoModemList)
