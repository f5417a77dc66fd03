#include "modemstate.h"

#include "ofononames.h"

namespace {
const QString Powered = QStringLiteral("Powered");
const QString Online = QStringLiteral("Online");
const QString Features = QStringLiteral("Features");
const QString SubscriberIdentity = QStringLiteral("SubscriberIdentity");
const QStringList Identity { QStringLiteral("Manufacturer"), QStringLiteral("Model"),
    QStringLiteral("Revision"), QStringLiteral("Serial") };
// The order in which the service reports a power change: the power, what it
// read from the modem, then what the modem offers.
const QStringList PowerOrder = QStringList { Online, Powered } + Identity
    + QStringList { OfonoSim::InterfacesProperty, Features };
} // namespace

ModemState::ModemState(SimModel *model, bool powered, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_poweredAtStart(powered)
    , m_powered(powered)
    , m_online(powered)
    , m_cardReady(model->properties().contains(SubscriberIdentity))
{ }

QStringList ModemState::interfaces() const
{
    if (!m_powered)
        return {};
    QStringList interfaces { QStringLiteral("org.ofono.VoiceCallManager"),
        OfonoSim::SimManagerInterface };
    if (m_cardReady)
        interfaces = QStringList {
            QStringLiteral("org.ofono.RadioSettings"), QStringLiteral("org.ofono.SimToolkit")
        } + interfaces;
    return interfaces;
}

QStringList ModemState::features() const
{
    if (!m_powered)
        return {};
    if (m_cardReady)
        return { QStringLiteral("rat"), QStringLiteral("stk"), QStringLiteral("sim") };
    return { QStringLiteral("sim") };
}

QVariantMap ModemState::properties() const
{
    QVariantMap properties { { Online, m_online }, { Powered, m_powered },
        { QStringLiteral("Lockdown"), false }, { QStringLiteral("Emergency"), false },
        { OfonoSim::InterfacesProperty, interfaces() }, { Features, features() },
        { QStringLiteral("Type"), QStringLiteral("hardware") } };
    // Read from the modem at power-up; there is none to read before.
    if (m_powered) {
        properties.insert(Identity.at(0), QStringLiteral("Tavik"));
        properties.insert(Identity.at(1), QStringLiteral("Simulated modem"));
        properties.insert(Identity.at(2), QStringLiteral("1.0"));
        properties.insert(Identity.at(3), QStringLiteral("356938035643809"));
    }
    return properties;
}

SimModel::Result ModemState::setProperty(const QString &name, const QVariant &value)
{
    if ((name != Powered && name != Online) || value.userType() != QMetaType::Bool)
        return SimModel::Result::InvalidArguments;
    if (name == Powered) {
        setPowered(value.toBool());
        return SimModel::Result::Ok;
    }
    if (value.toBool() && !m_powered)
        return SimModel::Result::NotAvailable;
    change([this, &value] { m_online = value.toBool(); }, PowerOrder);
    return SimModel::Result::Ok;
}

void ModemState::setPowered(bool powered)
{
    if (powered == m_powered)
        return;
    change(
        [this, powered] {
            m_powered = powered;
            if (!powered)
                m_online = false;
            m_cardReady = false;
        },
        PowerOrder);
    m_model->setPowered(powered);
}

void ModemState::reset()
{
    change(
        [this] {
            m_powered = m_poweredAtStart;
            m_online = m_poweredAtStart;
            m_cardReady = m_model->properties().contains(SubscriberIdentity);
        },
        PowerOrder);
}

void ModemState::onSimPropertyChanged(const QString &name)
{
    if (!m_powered || (name != SubscriberIdentity && name != OfonoSim::PresentProperty))
        return;
    const bool ready = m_model->properties().contains(SubscriberIdentity);
    change([this, ready] { m_cardReady = ready; }, PowerOrder);
}

template <typename Change> void ModemState::change(Change apply, const QStringList &order)
{
    const QVariantMap before = properties();
    apply();
    const QVariantMap after = properties();
    for (const QString &name : order) {
        if (after.contains(name) && before.value(name) != after.value(name))
            Q_EMIT propertyChanged(name, after.value(name));
    }
}
