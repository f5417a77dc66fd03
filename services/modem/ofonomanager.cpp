#include "ofonomanager.h"

#include "calllog.h"
#include "faultinjector.h"

const QString OfonoManager::Path = QStringLiteral("/");

namespace {
const QString WrongModemList = QStringLiteral("no modems here");
}

OfonoManager::OfonoManager(const QString &modemPath, const QVariantMap &modemProperties,
    CallLog *log, FaultInjector *faults, QObject *parent)
    : QObject(parent)
    , m_modemPath(modemPath)
    , m_modemProperties(modemProperties)
    , m_modemPresent(true)
    , m_log(log)
    , m_faults(faults)
{ }

void OfonoManager::setModemPresent(bool present)
{
    if (present == m_modemPresent)
        return;
    m_modemPresent = present;
    if (present)
        Q_EMIT ModemAdded(m_modemPath, m_modemProperties);
    else
        Q_EMIT ModemRemoved(m_modemPath);
}

OfonoModemList OfonoManager::GetModems()
{
    m_log->record(message());
    setDelayedReply(true);
    OfonoModemList modems;
    if (m_modemPresent)
        modems.append({ m_modemPath, m_modemProperties });
    m_faults->answer(
        connection(), message(), { QVariant::fromValue(modems) }, WrongModemList, [] {});
    return {};
}
