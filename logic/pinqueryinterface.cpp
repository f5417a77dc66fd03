#include "pinqueryinterface.h"

#include <zudebug.h>

#include <QDBusConnection>
#include <QDBusInterface>

namespace {
const QString PinService = QStringLiteral("com.tavik.ronwe.pin");
const QString PinPath = QStringLiteral("/com/tavik/ronwe/pin");
const QString PinInterface = QStringLiteral("com.tavik.ronwe.pin.PinCodeQuery");
} // namespace

PinQueryInterface::PinQueryInterface(QObject *parent)
    : QObject(parent)
    , dbusInterface(nullptr)
{
    zuDebugStream(Q_FUNC_INFO);
    // The dynamic interface learns the service's signals from its
    // introspection data; connecting to them is what subscribes to the D-Bus
    // signals, from the name's owner only.
    dbusInterface
        = new QDBusInterface(PinService, PinPath, PinInterface, QDBusConnection::systemBus(), this);
    connect(dbusInterface, SIGNAL(PinQueryEnabled(int)), this, SIGNAL(PinQueryEnabled(int)));
    connect(dbusInterface, SIGNAL(SimLockUnlockComplete(bool)), this,
        SIGNAL(SimLockUnlockComplete(bool)));
}

PinQueryInterface::~PinQueryInterface() = default;

bool PinQueryInterface::isValid()
{
    const bool valid = dbusInterface->isValid();
    zuDebugStream(Q_FUNC_INFO) << valid;
    return valid;
}

void PinQueryInterface::ChangePinCode()
{
    zuDebugStream(Q_FUNC_INFO);
    dbusInterface->call(QStringLiteral("ChangePinCode"));
}

void PinQueryInterface::SimLockUnlock()
{
    zuDebugStream(Q_FUNC_INFO);
    dbusInterface->call(QStringLiteral("SimLockUnlock"));
}

void PinQueryInterface::EnablePinQuery(bool enable)
{
    zuDebugStream(Q_FUNC_INFO) << enable;
    dbusInterface->call(QStringLiteral("EnablePinQuery"), enable);
}
