#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusVariant>
#include <QVariantMap>

// The modem interface of the simulated modem: a powered, online modem that
// offers a SIM manager. Written by hand because its parent also carries the
// SIM manager, whose GetProperties has the same signature.
class ModemAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.ofono.Modem")

public:
    explicit ModemAdaptor(QObject *parent);

    // What GetProperties answers, also sent along with ModemAdded.
    static QVariantMap modemProperties();

public Q_SLOTS:
    QVariantMap GetProperties();

Q_SIGNALS:
    void PropertyChanged(const QString &name, const QDBusVariant &value);
};
