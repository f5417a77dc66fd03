#include "ofonosimmanager.h"

#include "calllog.h"
#include "faultinjector.h"
#include "modemstate.h"
#include "ofononames.h"

#include <QDBusMessage>

const QStringList OfonoSimManager::Methods { QStringLiteral("GetModems"),
    QStringLiteral("GetProperties"), QStringLiteral("ChangePin"), QStringLiteral("EnterPin"),
    QStringLiteral("ResetPin"), QStringLiteral("LockPin"), QStringLiteral("UnlockPin") };

namespace {
const QString MaskedCode = QStringLiteral("****");
// What a "wrong type" fault answers.
const QString WrongAnswer = QStringLiteral("unexpected");
} // namespace

OfonoSimManager::OfonoSimManager(
    SimModel *model, ModemState *modem, CallLog *log, FaultInjector *faults, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_modem(modem)
    , m_log(log)
    , m_faults(faults)
{
    connect(m_model, &SimModel::propertyChanged, this,
        [this](const QString &name, const QVariant &value) {
            relay({ false, name, value });
        });
    connect(m_modem, &ModemState::propertyChanged, this,
        [this](const QString &name, const QVariant &value) {
            relay({ true, name, value });
        });
}

QVariant OfonoSimManager::wireValue(const QString &name, const QVariant &value)
{
    if (name != OfonoSim::RetriesProperty)
        return value;
    QMap<QString, uchar> retries;
    const QVariantMap map = value.toMap();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        retries.insert(it.key(), uchar(it.value().toInt()));
    return QVariant::fromValue(retries);
}

void OfonoSimManager::relay(const Change &change)
{
    if (m_holding) {
        m_held.append(change);
        return;
    }
    if (change.modem) {
        Q_EMIT modemPropertyChanged(change.name, QDBusVariant(change.value));
        return;
    }
    if (!m_modem->isPowered())
        return;
    Q_EMIT PropertyChanged(change.name, QDBusVariant(wireValue(change.name, change.value)));
    m_modem->onSimPropertyChanged(change.name);
}

bool OfonoSimManager::simManagerThere()
{
    if (m_modem->isPowered())
        return true;
    sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("Method \"%1\" with signature \"%2\" on interface \"%3\" doesn't exist")
            .arg(message().member(), message().signature(), OfonoSim::SimManagerInterface));
    return false;
}

QVariantMap OfonoSimManager::GetProperties()
{
    m_log->record(message());
    if (!simManagerThere())
        return {};
    setDelayedReply(true);
    QVariantMap properties = m_model->properties();
    for (auto it = properties.begin(); it != properties.end(); ++it)
        it.value() = wireValue(it.key(), it.value());
    m_faults->answer(connection(), message(), { properties }, WrongAnswer, [] {});
    return {};
}

void OfonoSimManager::SetProperty(const QString &property, const QDBusVariant &value)
{
    Q_UNUSED(property)
    Q_UNUSED(value)
    m_log->record(message());
    if (simManagerThere())
        sendErrorReply(SimModel::errorName(SimModel::Result::NotImplemented),
            SimModel::errorMessage(SimModel::Result::NotImplemented));
}

QVariantMap OfonoSimManager::modemProperties() const
{
    return m_modem->properties();
}

void OfonoSimManager::setModemProperty(const QString &property, const QVariant &value)
{
    m_log->record(message());
    answer([=] { return m_modem->setProperty(property, value); });
}

void OfonoSimManager::ChangePin(const QString &type, const QString &oldpin, const QString &newpin)
{
    run([=] { return m_model->changePin(type, oldpin, newpin); });
}

void OfonoSimManager::EnterPin(const QString &type, const QString &pin)
{
    run([=] { return m_model->enterPin(type, pin); });
}

void OfonoSimManager::ResetPin(const QString &type, const QString &puk, const QString &newpin)
{
    run([=] { return m_model->resetPin(type, puk, newpin); });
}

void OfonoSimManager::LockPin(const QString &type, const QString &pin)
{
    run([=] { return m_model->lockPin(type, pin); });
}

void OfonoSimManager::UnlockPin(const QString &type, const QString &pin)
{
    run([=] { return m_model->unlockPin(type, pin); });
}

void OfonoSimManager::run(const std::function<SimModel::Result()> &operation)
{
    const QDBusMessage call = message();
    // Every argument after the type is a code: the record keeps its place only.
    // A copy of the message would share its arguments with the call, so the
    // masked list goes to the log on its own.
    QVariantList arguments = call.arguments();
    for (int i = 1; i < arguments.size(); ++i)
        arguments[i] = MaskedCode;
    m_log->record(call, arguments);
    if (!simManagerThere())
        return;
    if (m_faults->faultFor(call.member()) != FaultInjector::Kind::None) {
        setDelayedReply(true);
        m_faults->answer(connection(), call, {}, WrongAnswer, [operation] { operation(); });
        return;
    }
    answer(operation);
}

void OfonoSimManager::answer(const std::function<SimModel::Result()> &operation)
{
    setDelayedReply(true);
    const QDBusMessage call = message();
    m_holding = true;
    const SimModel::Result result = operation();
    m_holding = false;
    if (result == SimModel::Result::Ok)
        connection().send(call.createReply());
    else
        connection().send(
            call.createErrorReply(SimModel::errorName(result), SimModel::errorMessage(result)));
    for (const Change &change : std::exchange(m_held, {}))
        relay(change);
}
