#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusVariant>
#include <QVariantMap>

class OfonoSimManager;

// The modem interface of the simulated modem. Written by hand because its
// parent also carries the SIM manager, whose GetProperties and SetProperty
// have the same signatures; the parent answers for both.
class ModemAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.ofono.Modem")

public:
    explicit ModemAdaptor(OfonoSimManager *parent);

public Q_SLOTS:
    QVariantMap GetProperties();
    void SetProperty(const QString &property, const QDBusVariant &value);

Q_SIGNALS:
    void PropertyChanged(const QString &name, const QDBusVariant &value);

private:
    OfonoSimManager *m_modem;
};
