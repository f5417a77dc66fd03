#include "ofonosimmanager.h"

#include "calllog.h"
#include "faultinjector.h"

#include <QDBusMessage>

const QString OfonoSimManager::Path = QStringLiteral("/sim_0");
const QStringList OfonoSimManager::Methods { QStringLiteral("GetModems"),
    QStringLiteral("GetProperties"), QStringLiteral("ChangePin"), QStringLiteral("EnterPin"),
    QStringLiteral("ResetPin"), QStringLiteral("LockPin"), QStringLiteral("UnlockPin") };

namespace {
const QString RetriesProperty = QStringLiteral("Retries");
const QString MaskedCode = QStringLiteral("****");
// What a "wrong type" fault answers.
const QString WrongAnswer = QStringLiteral("unexpected");
} // namespace

OfonoSimManager::OfonoSimManager(
    SimModel *model, CallLog *log, FaultInjector *faults, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_log(log)
    , m_faults(faults)
{
    connect(m_model, &SimModel::propertyChanged, this,
        [this](const QString &name, const QVariant &value) {
            Q_EMIT PropertyChanged(name, QDBusVariant(wireValue(name, value)));
        });
}

QVariant OfonoSimManager::wireValue(const QString &name, const QVariant &value)
{
    if (name != RetriesProperty)
        return value;
    QMap<QString, uchar> retries;
    const QVariantMap map = value.toMap();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        retries.insert(it.key(), uchar(it.value().toInt()));
    return QVariant::fromValue(retries);
}

QVariantMap OfonoSimManager::GetProperties()
{
    m_log->record(message());
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
    sendErrorReply(SimModel::errorName(SimModel::Result::NotImplemented),
        SimModel::errorMessage(SimModel::Result::NotImplemented));
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
    QDBusMessage masked = call;
    QVariantList arguments = call.arguments();
    for (int i = 1; i < arguments.size(); ++i)
        arguments[i] = MaskedCode;
    masked.setArguments(arguments);
    m_log->record(masked);

    setDelayedReply(true);
    if (m_faults->faultFor(call.member()) != FaultInjector::Kind::None) {
        m_faults->answer(connection(), call, {}, WrongAnswer, [operation] { operation(); });
        return;
    }
    const SimModel::Result result = operation();
    if (result == SimModel::Result::Ok)
        connection().send(call.createReply());
    else
        connection().send(
            call.createErrorReply(SimModel::errorName(result), SimModel::errorMessage(result)));
}
