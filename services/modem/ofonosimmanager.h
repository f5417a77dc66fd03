#pragma once

#include "simmodel.h"

#include <QDBusContext>
#include <QDBusVariant>
#include <QObject>

#include <functional>

class CallLog;
class FaultInjector;

// The modem object with its SIM manager over the SIM model. The modem
// interface beside it is a hand-written adaptor (ModemAdaptor), since both
// interfaces have a GetProperties of their own.
class OfonoSimManager : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    static const QString Path;
    // The methods whose replies the fault injector may shape.
    static const QStringList Methods;

    OfonoSimManager(
        SimModel *model, CallLog *log, FaultInjector *faults, QObject *parent = nullptr);

    // A property value as it goes on the bus (Retries as a{sy}).
    static QVariant wireValue(const QString &name, const QVariant &value);

public Q_SLOTS:
    QVariantMap GetProperties();
    void SetProperty(const QString &property, const QDBusVariant &value);
    void ChangePin(const QString &type, const QString &oldpin, const QString &newpin);
    void EnterPin(const QString &type, const QString &pin);
    void ResetPin(const QString &type, const QString &puk, const QString &newpin);
    void LockPin(const QString &type, const QString &pin);
    void UnlockPin(const QString &type, const QString &pin);

Q_SIGNALS:
    void PropertyChanged(const QString &name, const QDBusVariant &value);

private:
    // Records the call with its codes masked, then answers it: as a fault
    // says, or with the outcome of the operation.
    void run(const std::function<SimModel::Result()> &operation);

    SimModel *m_model;
    CallLog *m_log;
    FaultInjector *m_faults;
};
