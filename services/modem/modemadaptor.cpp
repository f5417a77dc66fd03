#include "modemadaptor.h"

#include "ofonosimmanager.h"

ModemAdaptor::ModemAdaptor(OfonoSimManager *parent)
    : QDBusAbstractAdaptor(parent)
    , m_modem(parent)
{
    connect(parent, &OfonoSimManager::modemPropertyChanged, this, &ModemAdaptor::PropertyChanged);
}

QVariantMap ModemAdaptor::GetProperties()
{
    return m_modem->modemProperties();
}

void ModemAdaptor::SetProperty(const QString &property, const QDBusVariant &value)
{
    m_modem->setModemProperty(property, value.variant());
}
