#include "simtracker.h"

#include "ofononames.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDebug>
#include <QStringList>

namespace OfonoSim {

namespace {

const QLatin1String GetModems("GetModems");
const QLatin1String GetProperties("GetProperties");
const QLatin1String ModemAdded("ModemAdded");
const QLatin1String ModemRemoved("ModemRemoved");
const QLatin1String PropertyChanged("PropertyChanged");
const QLatin1String ModemListSignature("a(oa{sv})");
const QLatin1String PropertiesSignature("a{sv}");
const QLatin1String PropertyChangedSignature("sv");
const QLatin1String WarningPrefix("SIM tracker:");

// The pause before a failed read is tried again doubles up to the last one,
// and the reads go on while the service is there.
const int FirstRetryMs = 250;
const int LastRetryMs = 8000;

bool meansServiceAbsent(const QString &errorName)
{
    return errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")
        || errorName == QLatin1String("org.freedesktop.DBus.Error.Disconnected");
}

QString errorText(const QDBusMessage &reply)
{
    return QStringLiteral("%1 \"%2\"").arg(reply.errorName(), reply.errorMessage());
}

QVariantMap unpackMap(const QDBusArgument &arg)
{
    QVariantMap map;
    arg.beginMap();
    while (!arg.atEnd()) {
        QString key;
        QVariant value;
        arg.beginMapEntry();
        arg >> key;
        if (arg.currentType() == QDBusArgument::VariantType) {
            QDBusVariant v;
            arg >> v;
            value = unpackProperty(v.variant());
        } else if (arg.currentSignature() == QLatin1String("y")) {
            uchar byte = 0;
            arg >> byte;
            value = int(byte);
        } else {
            value = unpackProperty(arg.asVariant());
        }
        arg.endMapEntry();
        map.insert(key, value);
    }
    arg.endMap();
    return map;
}

void warnOfUnknownCode(const QString &path, const QVariant &required)
{
    if (required.isValid() && !isKnownPinType(required.toString()))
        qWarning().noquote() << WarningPrefix << path << "asks for an unknown code"
                             << QStringLiteral("\"%1\"").arg(required.toString());
}

} // namespace

QVariant unpackProperty(const QVariant &value)
{
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return value;
    const QDBusArgument arg = value.value<QDBusArgument>();
    if (arg.currentType() == QDBusArgument::MapType)
        return unpackMap(arg);
    if (arg.currentSignature() == QLatin1String("as")) {
        QStringList list;
        arg >> list;
        return list;
    }
    return QVariant();
}

QSharedPointer<SimTracker> SimTracker::shared()
{
    // Weak, so that nothing of the tracker outlives its last client.
    static QWeakPointer<SimTracker> current;
    QSharedPointer<SimTracker> tracker = current.toStrongRef();
    if (!tracker) {
        tracker = QSharedPointer<SimTracker>::create();
        current = tracker;
    }
    return tracker;
}

SimTracker::SimTracker(QObject *parent)
    : QObject(parent)
    , m_bus(QDBusConnection::systemBus())
    , m_retryMs(FirstRetryMs)
{
    qRegisterMetaType<Snapshot>();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] { readAll(Answers::KeepGiving); });

    auto *watcher
        = new QDBusServiceWatcher(Service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &SimTracker::onOwnerChanged);

    // Subscribed without the service's name, which would make QtDBus look up
    // its owner with a blocking call; fromService() checks the sender instead.
    // An empty path takes the signals of every modem.
    m_bus.connect(QString(), ManagerPath, ManagerInterface, ModemAdded, this,
        SLOT(onModemsChanged(QDBusMessage)));
    m_bus.connect(QString(), ManagerPath, ManagerInterface, ModemRemoved, this,
        SLOT(onModemsChanged(QDBusMessage)));
    m_bus.connect(QString(), QString(), ModemInterface, PropertyChanged, this,
        SLOT(onModemPropertyChanged(QDBusMessage)));
    m_bus.connect(QString(), QString(), SimManagerInterface, PropertyChanged, this,
        SLOT(onSimPropertyChanged(QDBusMessage)));

    readAll(Answers::Wait);
}

SimTracker::~SimTracker() = default;

void SimTracker::whenSettled(QObject *context, Answer answer)
{
    if (!m_settled) {
        m_waiting.append({ context, std::move(answer) });
        return;
    }
    // Queued even when the answer is known: callers must never be answered
    // inside their own call.
    QMetaObject::invokeMethod(
        context, [answer = std::move(answer), snapshot = m_snapshot]() { answer(snapshot); },
        Qt::QueuedConnection);
}

void SimTracker::readAll(Answers answers)
{
    if (answers == Answers::Wait)
        m_settled = false;
    m_reading = true;
    m_retry.stop();
    fetch(QDBusMessage::createMethodCall(Service, ManagerPath, ManagerInterface, GetModems),
        &SimTracker::onModemsReply);
}

void SimTracker::readSim(Answers answers)
{
    if (answers == Answers::Wait)
        m_settled = false;
    m_reading = true;
    m_retry.stop();
    fetch(QDBusMessage::createMethodCall(Service, m_modemPath, SimManagerInterface, GetProperties),
        &SimTracker::onPropertiesReply);
}

void SimTracker::fetch(const QDBusMessage &call, void (SimTracker::*handler)(const QDBusMessage &))
{
    const quint64 generation = ++m_generation;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation, handler]() {
            watcher->deleteLater();
            if (generation == m_generation)
                (this->*handler)(watcher->reply());
        });
}

bool SimTracker::fromService(const QDBusMessage &message) const
{
    return !m_owner.isEmpty() && message.service() == m_owner;
}

void SimTracker::learnOwner(const QDBusMessage &reply)
{
    // The service's answers, errors included, come from its owner's unique
    // name, the sender its signals carry. The bus's own errors do not, nor do
    // those Qt makes up for a call that timed out.
    if (!meansServiceAbsent(reply.errorName()) && reply.service().startsWith(QLatin1Char(':')))
        m_owner = reply.service();
}

void SimTracker::onOwnerChanged(
    const QString &service, const QString &oldOwner, const QString &newOwner)
{
    Q_UNUSED(service)
    Q_UNUSED(oldOwner)
    m_owner = newOwner;
    if (!newOwner.isEmpty()) {
        readAll(Answers::Wait);
        return;
    }
    ++m_generation; // whatever is in flight belongs to the old owner
    settle(Snapshot::ServiceAbsent);
}

void SimTracker::onModemsChanged(const QDBusMessage &message)
{
    if (!fromService(message))
        return;
    const QString path = message.arguments().value(0).value<QDBusObjectPath>().path();
    // The modem in use stays in use while it is there.
    if (m_snapshot.source == Snapshot::ServiceFailed)
        readAll(Answers::KeepGiving);
    else if (m_modemPath.isEmpty() || path == m_modemPath)
        readAll(Answers::Wait);
}

void SimTracker::onModemPropertyChanged(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (!fromService(message) || arguments.value(0).toString() != InterfacesProperty)
        return;
    if (m_snapshot.source == Snapshot::ServiceFailed) {
        readAll(Answers::KeepGiving);
        return;
    }
    const bool hasSim = unpackProperty(arguments.value(1).value<QDBusVariant>().variant())
                            .toStringList()
                            .contains(SimManagerInterface);
    const bool inUse = message.path() == m_modemPath;
    // Other interfaces come and go as the modem powers up; only a SIM
    // manager gained or lost can change what is read.
    if ((inUse && !hasSim) || (m_modemPath.isEmpty() && hasSim))
        readAll(Answers::Wait);
}

void SimTracker::onSimPropertyChanged(const QDBusMessage &message)
{
    if (!fromService(message) || m_reading)
        return; // the running read was answered after this change: it is newer
    if (m_snapshot.source == Snapshot::ServiceFailed) {
        readAll(Answers::KeepGiving); // the service lives again
        return;
    }
    if (m_snapshot.source != Snapshot::SimManager || message.path() != m_modemPath)
        return;

    const QString change = QStringLiteral("%1 of %2").arg(PropertyChanged, m_modemPath);
    if (message.signature() != PropertyChangedSignature) {
        rejected(QStringLiteral("%1 came with \"%2\"").arg(change, message.signature()));
        return;
    }
    const QString name = message.arguments().at(0).toString();
    const QVariant value
        = unpackProperty(message.arguments().at(1).value<QDBusVariant>().variant());
    const QString problem = propertyProblem(name, value);
    if (!problem.isEmpty()) {
        rejected(QStringLiteral("%1: %2").arg(change, problem));
        return;
    }
    if (name == PresentProperty) {
        // Everything else the snapshot holds belongs to the card that was
        // there before: start over.
        readSim(Answers::Wait);
        return;
    }
    if (name == PinRequiredProperty)
        warnOfUnknownCode(m_modemPath, value);
    m_snapshot.properties.insert(name, value);
    Q_EMIT snapshotChanged(m_snapshot);
}

void SimTracker::onModemsReply(const QDBusMessage &reply)
{
    learnOwner(reply);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (meansServiceAbsent(reply.errorName()))
            settle(Snapshot::ServiceAbsent);
        else
            failed(QStringLiteral("%1: %2").arg(GetModems, errorText(reply)));
        return;
    }
    if (reply.signature() != ModemListSignature) {
        failed(QStringLiteral("%1 answered \"%2\"").arg(GetModems, reply.signature()));
        return;
    }
    QString chosen;
    const QDBusArgument modems = reply.arguments().at(0).value<QDBusArgument>();
    modems.beginArray();
    while (!modems.atEnd()) {
        QDBusObjectPath path;
        QVariantMap properties;
        modems.beginStructure();
        modems >> path >> properties;
        modems.endStructure();
        const QStringList interfaces
            = unpackProperty(properties.value(InterfacesProperty)).toStringList();
        if (chosen.isEmpty() && interfaces.contains(SimManagerInterface))
            chosen = path.path();
    }
    modems.endArray();

    if (chosen.isEmpty()) {
        settle(Snapshot::NoModem);
        return;
    }
    m_modemPath = chosen;
    fetch(QDBusMessage::createMethodCall(Service, m_modemPath, SimManagerInterface, GetProperties),
        &SimTracker::onPropertiesReply);
}

void SimTracker::onPropertiesReply(const QDBusMessage &reply)
{
    learnOwner(reply);
    const QString call = QStringLiteral("%1 of %2").arg(GetProperties, m_modemPath);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (meansServiceAbsent(reply.errorName()))
            settle(Snapshot::ServiceAbsent);
        else
            failed(QStringLiteral("%1: %2").arg(call, errorText(reply)));
        return;
    }
    if (reply.signature() != PropertiesSignature) {
        failed(QStringLiteral("%1 answered \"%2\"").arg(call, reply.signature()));
        return;
    }
    const QVariantMap properties = unpackMap(reply.arguments().at(0).value<QDBusArgument>());
    const QString problem = propertiesProblem(properties);
    if (!problem.isEmpty()) {
        failed(QStringLiteral("%1: %2").arg(call, problem));
        return;
    }
    warnOfUnknownCode(m_modemPath, properties.value(PinRequiredProperty));
    settle(Snapshot::SimManager, properties);
}

void SimTracker::warnOnce(const QString &problem)
{
    if (!m_failing)
        qWarning().noquote() << WarningPrefix << "cannot read the SIM, trying again:" << problem;
    m_failing = true;
}

void SimTracker::rejected(const QString &problem)
{
    warnOnce(problem);
    readSim(Answers::KeepGiving);
}

void SimTracker::failed(const QString &problem)
{
    warnOnce(problem);
    m_retry.start(m_retryMs);
    m_retryMs = qMin(2 * m_retryMs, LastRetryMs);
    // After the timer: settle() ends with the signal, and a receiver may
    // drop the last reference to this tracker.
    settle(Snapshot::ServiceFailed);
}

void SimTracker::settle(Snapshot::Source source, const QVariantMap &properties)
{
    m_settled = true;
    m_reading = false;
    if (source != Snapshot::ServiceFailed) {
        m_failing = false;
        m_retryMs = FirstRetryMs;
        m_retry.stop();
    }
    m_snapshot.source = source;
    m_snapshot.properties = properties;
    // A failed read keeps the modem in use, for the next read to ask.
    if (source == Snapshot::ServiceAbsent || source == Snapshot::NoModem)
        m_modemPath.clear();

    const QVector<Waiting> waiting = std::exchange(m_waiting, {});
    for (const Waiting &w : waiting) {
        if (w.context)
            QMetaObject::invokeMethod(
                w.context.data(),
                [answer = w.answer, snapshot = m_snapshot]() { answer(snapshot); },
                Qt::QueuedConnection);
    }
    Q_EMIT snapshotChanged(m_snapshot);
}

} // namespace OfonoSim
