#include "simmodel.h"

#include "ofononames.h"

#include <algorithm>

#include <QRegularExpression>
#include <QStringList>

const QString SimModel::SubscriberIdentity = QStringLiteral("001010123456789");
const QString SimModel::CardIdentifier = QStringLiteral("8900101234567890123");

namespace {

const QString NoCode = QStringLiteral("none");
const QString Pin = QStringLiteral("pin");
const QString Puk = QStringLiteral("puk");
const QString Pin2 = QStringLiteral("pin2");
const QString Puk2 = QStringLiteral("puk2");

const QStringList PersonalisationLocks { QStringLiteral("phone"), QStringLiteral("firstphone"),
    QStringLiteral("network"), QStringLiteral("netsub"), QStringLiteral("service"),
    QStringLiteral("corp") };

bool isKnownType(const QString &type)
{
    if (type == Pin || type == Puk || type == Pin2 || type == Puk2)
        return true;
    QString base = type;
    if (base.endsWith(Puk))
        base.chop(Puk.size());
    return PersonalisationLocks.contains(base);
}

bool isDigits(const QString &code, int min, int max)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return code.size() >= min && code.size() <= max && digits.match(code).hasMatch();
}

// What the service shows of a card it is still reading: a card that asks for
// nothing, with no lock and no attempts known, and no identities.
QVariantMap readingProperties()
{
    return { { OfonoSim::PresentProperty, true }, { OfonoSim::PinRequiredProperty, NoCode },
        { OfonoSim::LockedPinsProperty, QStringList() },
        { OfonoSim::RetriesProperty, QVariantMap() } };
}

} // namespace

SimModel::SimModel(const Config &config, QObject *parent)
    : QObject(parent)
    , m_config(config)
{
    m_startUp.setSingleShot(true);
    connect(&m_startUp, &QTimer::timeout, this, [this] { change([this] { m_ready = true; }); });
    m_recheck.setSingleShot(true);
    connect(&m_recheck, &QTimer::timeout, this, &SimModel::recheck);
    // The start state is not a change: nobody could have seen another one.
    const QSignalBlocker quiet(this);
    reset();
}

QString SimModel::configProblem(const Config &config)
{
    if (!isPinFormat(config.pin))
        return QStringLiteral("the PIN must have 4 to 8 digits");
    if (!isPukFormat(config.puk))
        return QStringLiteral("the PUK must have 8 digits");
    if (!isUnlockCodeFormat(config.unlockCode))
        return QStringLiteral("the unlock code must have 8 to 16 digits");
    if (!PersonalisationLocks.contains(config.lockType))
        return QStringLiteral("the lock type must be one of ")
            + PersonalisationLocks.join(QLatin1Char(' '));
    if (config.startUpMs < 0 || config.recheckMs < 0)
        return QStringLiteral("times cannot be negative");
    return QString();
}

QString SimModel::errorName(Result result)
{
    switch (result) {
    case Result::Ok:
        break;
    case Result::Failed:
        return QStringLiteral("org.ofono.Error.Failed");
    case Result::InvalidFormat:
        return QStringLiteral("org.ofono.Error.InvalidFormat");
    case Result::NotImplemented:
        return QStringLiteral("org.ofono.Error.NotImplemented");
    case Result::InProgress:
        return QStringLiteral("org.ofono.Error.InProgress");
    case Result::IncorrectPassword:
        return QStringLiteral("org.ofono.Error.IncorrectPassword");
    case Result::InvalidArguments:
        return QStringLiteral("org.ofono.Error.InvalidArguments");
    case Result::NotAvailable:
        return QStringLiteral("org.ofono.Error.NotAvailable");
    }
    return QString();
}

QString SimModel::errorMessage(Result result)
{
    // The service's generic texts: a reply never echoes what the caller sent.
    switch (result) {
    case Result::Ok:
        break;
    case Result::Failed:
        return QStringLiteral("Operation failed");
    case Result::InvalidFormat:
        return QStringLiteral("Argument format is not recognized");
    case Result::NotImplemented:
        return QStringLiteral("Implementation not provided");
    case Result::InProgress:
        return QStringLiteral("Operation already in progress");
    case Result::IncorrectPassword:
        return QStringLiteral("Invalid password");
    case Result::InvalidArguments:
        return QStringLiteral("Invalid arguments in method call");
    case Result::NotAvailable:
        return QStringLiteral("Operation currently not available");
    }
    return QString();
}

bool SimModel::isPinFormat(const QString &code)
{
    return isDigits(code, 4, 8);
}

bool SimModel::isPukFormat(const QString &code)
{
    return isDigits(code, 8, 8);
}

bool SimModel::isUnlockCodeFormat(const QString &code)
{
    return isDigits(code, 8, 16);
}

QString SimModel::pinRequired() const
{
    if (!m_present || !m_ready)
        return NoCode;
    if (pinBlocked() || pukBlocked())
        return Puk;
    if (m_pinRequest && !m_pinEntered)
        return Pin;
    if (m_simLocked)
        return m_config.lockType;
    return NoCode;
}

QVariantMap SimModel::properties() const
{
    if (!m_present)
        return { { OfonoSim::PresentProperty, false } };
    QVariantMap properties = readingProperties();
    if (!m_ready)
        return properties;
    QStringList locked;
    if (m_pinRequest)
        locked << Pin;
    if (m_simLocked)
        locked << m_config.lockType;
    properties.insert(QStringLiteral("CardIdentifier"), CardIdentifier);
    properties.insert(OfonoSim::PinRequiredProperty, pinRequired());
    properties.insert(OfonoSim::LockedPinsProperty, locked);
    properties.insert(
        OfonoSim::RetriesProperty, QVariantMap { { Pin, m_pinAttempts }, { Puk, m_pukAttempts } });
    // The service reads the subscriber's identity only from a card that
    // asks for no code any more.
    if (pinRequired() == NoCode)
        properties.insert(QStringLiteral("SubscriberIdentity"), SubscriberIdentity);
    return properties;
}

QString SimModel::state() const
{
    if (!m_present)
        return QStringLiteral("absent");
    if (!m_ready)
        return QStringLiteral("starting");
    if (pukBlocked())
        return QStringLiteral("blocked");
    const QString required = pinRequired();
    if (required == NoCode)
        return QStringLiteral("ready");
    if (required == Pin || required == Puk)
        return required;
    return QStringLiteral("locked");
}

SimModel::Result SimModel::checkReady(const QString &type) const
{
    if (!isKnownType(type))
        return Result::InvalidFormat;
    if (!m_present)
        return Result::Failed;
    if (!m_ready)
        return Result::InProgress;
    return Result::Ok;
}

SimModel::Result SimModel::wrongCode(int *misses)
{
    if (misses)
        ++*misses;
    if (m_config.recheckMs == 0)
        recheck();
    else
        m_recheck.start(m_config.recheckMs);
    return m_config.wrongCode;
}

void SimModel::recheck()
{
    m_recheck.stop();
    if (m_pinMisses == 0 && m_pukMisses == 0)
        return;
    change([this] {
        m_pinAttempts = std::max(0, m_pinAttempts - std::exchange(m_pinMisses, 0));
        m_pukAttempts = std::max(0, m_pukAttempts - std::exchange(m_pukMisses, 0));
    });
}

SimModel::Result SimModel::verifyPin(const QString &pin)
{
    if (pin != m_pin)
        return wrongCode(&m_pinMisses);
    change([this] { m_pinAttempts = PinAttempts; });
    return Result::Ok;
}

SimModel::Result SimModel::enterPin(const QString &type, const QString &code)
{
    recheck();
    if (const Result r = checkReady(type); r != Result::Ok && r != Result::InProgress)
        return r;
    // A code of another kind than the card asks for (also while it is read,
    // when it asks for none) is refused as a bad argument.
    if (type != pinRequired())
        return Result::InvalidFormat;
    if (type == Pin) {
        if (!isPinFormat(code))
            return Result::InvalidFormat;
        if (code != m_pin)
            return wrongCode(&m_pinMisses);
        change([this] {
            m_pinAttempts = PinAttempts;
            m_pinEntered = true;
        });
        return Result::Ok;
    }
    if (type == m_config.lockType) {
        if (!isUnlockCodeFormat(code))
            return Result::InvalidFormat;
        if (code != m_config.unlockCode)
            return wrongCode(nullptr);
        // Opening the lock restarts the card, as a real one does.
        change([this] {
            m_simLocked = false;
            m_ready = false;
        });
        m_startUp.start(m_config.startUpMs);
        return Result::Ok;
    }
    return Result::Failed; // a PUK goes through ResetPin
}

SimModel::Result SimModel::resetPin(const QString &type, const QString &puk, const QString &newPin)
{
    recheck();
    if (type == Puk2)
        return Result::NotImplemented;
    if (const Result r = checkReady(type); r != Result::Ok)
        return r;
    if (type != Puk || pinRequired() != Puk)
        return Result::InvalidFormat;
    if (!isPukFormat(puk) || !isPinFormat(newPin))
        return Result::InvalidFormat;
    if (pukBlocked())
        return Result::Failed;
    if (puk != m_config.puk)
        return wrongCode(&m_pukMisses);
    change([this, &newPin] {
        m_pin = newPin;
        m_pinAttempts = PinAttempts;
        m_pukAttempts = PukAttempts;
        m_pinEntered = true;
    });
    return Result::Ok;
}

SimModel::Result SimModel::changePin(
    const QString &type, const QString &oldPin, const QString &newPin)
{
    recheck();
    if (type == Pin2)
        return Result::NotImplemented;
    if (type != Pin)
        return Result::InvalidFormat;
    if (const Result r = checkReady(type); r != Result::Ok)
        return r;
    const QString required = pinRequired();
    if (!m_pinRequest || required == Pin || required == Puk)
        return Result::Failed;
    if (!isPinFormat(oldPin) || !isPinFormat(newPin))
        return Result::InvalidFormat;
    if (const Result r = verifyPin(oldPin); r != Result::Ok)
        return r;
    m_pin = newPin;
    return Result::Ok;
}

SimModel::Result SimModel::lockPin(const QString &type, const QString &pin)
{
    return setPinLock(type, pin, true);
}

SimModel::Result SimModel::unlockPin(const QString &type, const QString &pin)
{
    return setPinLock(type, pin, false);
}

SimModel::Result SimModel::setPinLock(const QString &type, const QString &pin, bool on)
{
    recheck();
    if (type != Pin)
        return PersonalisationLocks.contains(type) || type == Pin2 ? Result::NotImplemented
                                                                   : Result::InvalidFormat;
    if (const Result r = checkReady(type); r != Result::Ok)
        return r;
    const QString required = pinRequired();
    if (required == Pin || required == Puk)
        return Result::Failed;
    if (!isPinFormat(pin))
        return Result::InvalidFormat;
    if (const Result r = verifyPin(pin); r != Result::Ok)
        return r;
    // The service reports the locks after every successful LockPin and
    // UnlockPin; a code given to lock the card also counts as entered.
    change(
        [this, on] {
            m_pinRequest = on;
            if (on)
                m_pinEntered = true;
        },
        OfonoSim::LockedPinsProperty);
    return Result::Ok;
}

void SimModel::insert()
{
    if (m_present)
        return;
    recheck();
    change([this] {
        m_present = true;
        m_pinEntered = false;
    });
    startUp();
}

void SimModel::remove()
{
    recheck();
    m_startUp.stop();
    change([this] {
        m_present = false;
        m_ready = false;
        m_pinEntered = false;
    });
}

void SimModel::setPowered(bool powered)
{
    {
        const QSignalBlocker quiet(this);
        recheck();
        m_startUp.stop();
        m_ready = false;
        m_pinEntered = false;
    }
    if (powered && m_present)
        m_startUp.start(m_config.startUpMs);
}

void SimModel::setReady(bool ready)
{
    recheck();
    m_startUp.stop();
    if (m_present)
        change([this, ready] { m_ready = ready; });
}

void SimModel::setSimLocked(bool locked)
{
    recheck();
    change([this, locked] { m_simLocked = locked; });
}

bool SimModel::setState(const QString &state)
{
    static const QStringList states { QStringLiteral("absent"), QStringLiteral("starting"),
        QStringLiteral("ready"), QStringLiteral("pin"), QStringLiteral("puk"),
        QStringLiteral("blocked"), QStringLiteral("locked") };
    if (!states.contains(state))
        return false;
    if (state == states.at(0)) {
        remove();
        return true;
    }
    recheck();
    m_startUp.stop();
    change([this, &state] {
        m_present = true;
        m_ready = state != QLatin1String("starting");
        if (!m_ready)
            return;
        m_pinAttempts = state == Puk || state == QLatin1String("blocked") ? 0 : PinAttempts;
        m_pukAttempts = state == QLatin1String("blocked") ? 0 : PukAttempts;
        m_simLocked = state == QLatin1String("locked");
        m_pinEntered = state != Pin;
        if (state == Pin)
            m_pinRequest = true;
    });
    return true;
}

void SimModel::reset()
{
    m_startUp.stop();
    m_recheck.stop();
    m_pinMisses = 0;
    m_pukMisses = 0;
    change([this] {
        m_present = m_config.present;
        m_ready = m_config.present;
        m_pinRequest = m_config.pinRequest;
        m_pinEntered = !(m_config.pinRequest && m_config.pinRequired);
        m_simLocked = m_config.simLocked;
        m_pin = m_config.pin;
        m_pinAttempts = PinAttempts;
        m_pukAttempts = PukAttempts;
    });
}

void SimModel::startUp()
{
    change([this] { m_ready = false; });
    m_startUp.start(m_config.startUpMs);
}

template <typename Change> void SimModel::change(Change apply, const QString &always)
{
    const QVariantMap before = properties();
    apply();
    const QVariantMap after = properties();
    const QVariant present = after.value(OfonoSim::PresentProperty);
    const bool presentMoved = before.value(OfonoSim::PresentProperty) != present;
    // Listeners drop what they know of a card when Present moves, so it goes
    // first. A property that vanishes (a card restarting) has no change of
    // its own to report: Present is reported again, so that listeners read
    // the card afresh instead of keeping the vanished values.
    const bool vanished = std::any_of(before.keyBegin(), before.keyEnd(),
        [&after](const QString &key) { return !after.contains(key); });
    if (presentMoved || vanished)
        Q_EMIT propertyChanged(OfonoSim::PresentProperty, present);
    // A card that comes is read afresh by its listeners: only what reading
    // it finds is reported, as the service does. The map's order (by name)
    // is the service's order too: the identities around LockedPins,
    // PinRequired and then Retries.
    const QVariantMap seen = presentMoved ? readingProperties() : before;
    for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
        if (it.key() != OfonoSim::PresentProperty
            && (it.key() == always || seen.value(it.key()) != it.value()))
            Q_EMIT propertyChanged(it.key(), it.value());
    }
}
