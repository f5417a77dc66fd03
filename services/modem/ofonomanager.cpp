#include "ofonomanager.h"

#include "calllog.h"
#include "faultinjector.h"
#include "modemstate.h"

namespace {
const QString WrongModemList = QStringLiteral("no modems here");
}

OfonoManager::OfonoManager(const QString &modemPath, const ModemState *modem, CallLog *log,
    FaultInjector *faults, QObject *parent)
    : QObject(parent)
    , m_modemPath(modemPath)
    , m_modem(modem)
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
        Q_EMIT ModemAdded(m_modemPath, m_modem->properties());
    else
        Q_EMIT ModemRemoved(m_modemPath);
}

OfonoModemList OfonoManager::GetModems()
{
    m_log->record(message());
    setDelayedReply(true);
    OfonoModemList modems;
    if (m_modemPresent)
        modems.append({ m_modemPath, m_modem->properties() });
    m_faults->answer(
        connection(), message(), { QVariant::fromValue(modems) }, WrongModemList, [] {});
    return {};
}
