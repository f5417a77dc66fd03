#pragma once

#include "simmodel.h"

#include <QDBusContext>
#include <QDBusVariant>
#include <QList>
#include <QObject>

#include <functional>

class CallLog;
class FaultInjector;
class ModemState;

// The modem object with its SIM manager over the SIM model. The modem
// interface beside it is a hand-written adaptor (ModemAdaptor), since both
// interfaces have a GetProperties and a SetProperty of their own. The SIM
// manager is there only while the modem is powered: calls on it fail as on
// an interface that does not exist, and the card's changes are not reported.
class OfonoSimManager : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    // The methods whose replies the fault injector may shape.
    static const QStringList Methods;

    OfonoSimManager(SimModel *model, ModemState *modem, CallLog *log, FaultInjector *faults,
        QObject *parent = nullptr);

    // A property value as it goes on the bus (Retries as a{sy}).
    static QVariant wireValue(const QString &name, const QVariant &value);

    // The modem interface's methods, called through ModemAdaptor.
    QVariantMap modemProperties() const;
    void setModemProperty(const QString &property, const QVariant &value);

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
    // The modem interface's PropertyChanged, relayed by ModemAdaptor.
    void modemPropertyChanged(const QString &name, const QDBusVariant &value);

private:
    struct Change
    {
        bool modem;
        QString name;
        QVariant value;
    };

    // Records the call with its codes masked, then answers it: as a fault
    // says, or with the outcome of the operation.
    void run(const std::function<SimModel::Result()> &operation);
    // Answers the call with the outcome of the operation; what the operation
    // changed follows the reply, as from the service.
    void answer(const std::function<SimModel::Result()> &operation);
    // False, after answering the call as the bus does for an interface the
    // object lacks, while the modem is off.
    bool simManagerThere();
    void relay(const Change &change);

    SimModel *m_model;
    ModemState *m_modem;
    CallLog *m_log;
    FaultInjector *m_faults;
    // While an operation runs, its changes wait here: the service answers
    // the call first.
    bool m_holding = false;
    QList<Change> m_held;
};
