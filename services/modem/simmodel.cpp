#include "simmodel.h"

#include <algorithm>

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString PresentProperty = QStringLiteral("Present");
const QString PinRequiredProperty = QStringLiteral("PinRequired");
const QString LockedPinsProperty = QStringLiteral("LockedPins");
const QString RetriesProperty = QStringLiteral("Retries");

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

} // namespace

SimModel::SimModel(const Config &config, QObject *parent)
    : QObject(parent)
    , m_config(config)
{
    m_startUp.setSingleShot(true);
    connect(&m_startUp, &QTimer::timeout, this, [this] { change([this] { m_ready = true; }); });
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
    if (config.startUpMs < 0)
        return QStringLiteral("the start-up time cannot be negative");
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
    }
    return QString();
}

QString SimModel::errorMessage(Result result)
{
    // Fixed texts: a reply never echoes what the caller sent.
    switch (result) {
    case Result::Ok:
        break;
    case Result::Failed:
        return QStringLiteral("Operation failed");
    case Result::InvalidFormat:
        return QStringLiteral("Invalid format");
    case Result::NotImplemented:
        return QStringLiteral("Implementation not provided");
    case Result::InProgress:
        return QStringLiteral("Operation already in progress");
    case Result::IncorrectPassword:
        return QStringLiteral("Invalid password");
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
        return QString();
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
    QVariantMap properties { { PresentProperty, m_present } };
    if (!m_present || !m_ready)
        return properties;
    QStringList locked;
    if (m_pinRequest)
        locked << Pin;
    if (m_simLocked)
        locked << m_config.lockType;
    properties.insert(PinRequiredProperty, pinRequired());
    properties.insert(LockedPinsProperty, locked);
    properties.insert(
        RetriesProperty, QVariantMap { { Pin, m_pinAttempts }, { Puk, m_pukAttempts } });
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

SimModel::Result SimModel::checkReady(const QString &type, const QString &wanted) const
{
    if (!isKnownType(type))
        return Result::InvalidFormat;
    if (!m_present)
        return Result::Failed;
    if (!m_ready)
        return Result::InProgress;
    if (!wanted.isEmpty() && pinRequired() != wanted)
        return Result::Failed;
    return Result::Ok;
}

SimModel::Result SimModel::verifyPin(const QString &pin)
{
    Result result = Result::Ok;
    change([&] {
        if (pin == m_pin) {
            m_pinAttempts = PinAttempts;
        } else {
            --m_pinAttempts;
            result = Result::IncorrectPassword;
        }
    });
    return result;
}

SimModel::Result SimModel::enterPin(const QString &type, const QString &code)
{
    if (const Result r = checkReady(type, type); r != Result::Ok)
        return r;
    if (type == Pin) {
        if (!isPinFormat(code))
            return Result::InvalidFormat;
        if (code != m_pin)
            return verifyPin(code);
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
            return Result::IncorrectPassword;
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
    if (type != Puk)
        return isKnownType(type) ? Result::NotImplemented : Result::InvalidFormat;
    if (const Result r = checkReady(type, Puk); r != Result::Ok)
        return r;
    if (pukBlocked())
        return Result::Failed;
    if (!isPukFormat(puk) || !isPinFormat(newPin))
        return Result::InvalidFormat;
    if (puk != m_config.puk) {
        change([this] { --m_pukAttempts; });
        return Result::IncorrectPassword;
    }
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
    if (type != Pin)
        return isKnownType(type) ? Result::NotImplemented : Result::InvalidFormat;
    if (const Result r = checkReady(type, QString()); r != Result::Ok)
        return r;
    const QString required = pinRequired();
    if (!m_pinRequest || required == Pin || required == Puk)
        return Result::Failed;
    if (!isPinFormat(oldPin) || !isPinFormat(newPin))
        return Result::InvalidFormat;
    if (verifyPin(oldPin) != Result::Ok)
        return Result::IncorrectPassword;
    m_pin = newPin;
    return Result::Ok;
}

SimModel::Result SimModel::lockPin(const QString &type, const QString &pin)
{
    if (type != Pin)
        return isKnownType(type) ? Result::NotImplemented : Result::InvalidFormat;
    if (const Result r = checkReady(type, QString()); r != Result::Ok)
        return r;
    const QString required = pinRequired();
    if (required == Pin || required == Puk)
        return Result::Failed;
    if (!isPinFormat(pin))
        return Result::InvalidFormat;
    if (verifyPin(pin) != Result::Ok)
        return Result::IncorrectPassword;
    change([this] {
        m_pinRequest = true;
        m_pinEntered = true;
    });
    return Result::Ok;
}

SimModel::Result SimModel::unlockPin(const QString &type, const QString &pin)
{
    if (type != Pin)
        return isKnownType(type) ? Result::NotImplemented : Result::InvalidFormat;
    if (const Result r = checkReady(type, QString()); r != Result::Ok)
        return r;
    const QString required = pinRequired();
    if (required == Pin || required == Puk)
        return Result::Failed;
    if (!isPinFormat(pin))
        return Result::InvalidFormat;
    if (verifyPin(pin) != Result::Ok)
        return Result::IncorrectPassword;
    change([this] { m_pinRequest = false; });
    return Result::Ok;
}

void SimModel::insert()
{
    if (m_present)
        return;
    change([this] {
        m_present = true;
        m_pinEntered = false;
    });
    startUp();
}

void SimModel::remove()
{
    m_startUp.stop();
    change([this] {
        m_present = false;
        m_ready = false;
        m_pinEntered = false;
    });
}

void SimModel::setReady(bool ready)
{
    m_startUp.stop();
    if (m_present)
        change([this, ready] { m_ready = ready; });
}

void SimModel::setSimLocked(bool locked)
{
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

template <typename Change> void SimModel::change(Change apply)
{
    const QVariantMap before = properties();
    apply();
    const QVariantMap after = properties();
    // Listeners drop what they know of a card when Present moves, so it goes
    // first. A property that vanishes (a card restarting) has no change of
    // its own to report: Present is reported again, so that listeners read
    // the card afresh instead of keeping the vanished values.
    const bool vanished = std::any_of(before.keyBegin(), before.keyEnd(),
        [&after](const QString &key) { return !after.contains(key); });
    if (vanished || before.value(PresentProperty) != after.value(PresentProperty))
        Q_EMIT propertyChanged(PresentProperty, after.value(PresentProperty));
    for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
        if (it.key() != PresentProperty && before.value(it.key()) != it.value())
            Q_EMIT propertyChanged(it.key(), it.value());
    }
}
