#pragma once

#include "modemlist.h"

#include <QDBusContext>
#include <QObject>

class CallLog;
class FaultInjector;
class ModemState;

// The modem manager "/": lists the one simulated modem while it is there.
class OfonoManager : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    OfonoManager(const QString &modemPath, const ModemState *modem, CallLog *log,
        FaultInjector *faults, QObject *parent = nullptr);

    void setModemPresent(bool present);

public Q_SLOTS:
    OfonoModemList GetModems();

Q_SIGNALS:
    void ModemAdded(const QDBusObjectPath &path, const QVariantMap &properties);
    void ModemRemoved(const QDBusObjectPath &path);

private:
    QDBusObjectPath m_modemPath;
    const ModemState *m_modem;
    bool m_modemPresent;
    CallLog *m_log;
    FaultInjector *m_faults;
};
