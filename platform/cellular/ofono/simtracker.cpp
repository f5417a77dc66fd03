#include "simtracker.h"

#include "ofononames.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
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

bool meansServiceAbsent(const QString &errorName)
{
    return errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")
        || errorName == QLatin1String("org.freedesktop.DBus.Error.Disconnected");
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

SimTracker::SimTracker(QObject *parent)
    : QObject(parent)
    , m_bus(QDBusConnection::systemBus())
{
    auto *watcher = new QDBusServiceWatcher(Service, m_bus,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration,
        this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &SimTracker::refresh);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this,
        &SimTracker::onServiceUnregistered);

    // Modems coming and going, or gaining and losing a SIM manager, may change
    // which modem is in use: each starts a fetch from the top.
    m_bus.connect(Service, ManagerPath, ManagerInterface, ModemAdded, this, SLOT(refresh()));
    m_bus.connect(Service, ManagerPath, ManagerInterface, ModemRemoved, this, SLOT(refresh()));
    // An empty path subscribes to every modem object.
    m_bus.connect(Service, QString(), ModemInterface, PropertyChanged, this,
        SLOT(onModemPropertyChanged(QString, QDBusVariant)));
    m_bus.connect(Service, QString(), SimManagerInterface, PropertyChanged, this,
        SLOT(onSimPropertyChanged(QString, QDBusVariant, QDBusMessage)));

    refresh();
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

void SimTracker::refresh()
{
    m_settled = false;
    m_modemPath.clear();
    fetch(QDBusMessage::createMethodCall(Service, ManagerPath, ManagerInterface, GetModems),
        &SimTracker::onModemsReply);
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

void SimTracker::onServiceUnregistered()
{
    ++m_generation; // whatever is in flight belongs to the old owner
    settle(Snapshot::ServiceAbsent);
}

void SimTracker::onModemsReply(const QDBusMessage &reply)
{
    if (reply.type() == QDBusMessage::ErrorMessage) {
        settle(meansServiceAbsent(reply.errorName()) ? Snapshot::ServiceAbsent
                                                     : Snapshot::ServiceFailed);
        return;
    }
    if (reply.signature() != ModemListSignature) {
        settle(Snapshot::ServiceFailed);
        return;
    }

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
        if (m_modemPath.isEmpty() && interfaces.contains(SimManagerInterface))
            m_modemPath = path.path();
    }
    modems.endArray();

    if (m_modemPath.isEmpty()) {
        settle(Snapshot::NoModem);
        return;
    }
    fetch(QDBusMessage::createMethodCall(Service, m_modemPath, SimManagerInterface, GetProperties),
        &SimTracker::onPropertiesReply);
}

void SimTracker::onPropertiesReply(const QDBusMessage &reply)
{
    if (reply.type() == QDBusMessage::ErrorMessage) {
        settle(meansServiceAbsent(reply.errorName()) ? Snapshot::ServiceAbsent
                                                     : Snapshot::ServiceFailed);
        return;
    }
    if (reply.signature() != PropertiesSignature) {
        settle(Snapshot::ServiceFailed);
        return;
    }
    settle(Snapshot::SimManager, unpackMap(reply.arguments().at(0).value<QDBusArgument>()));
}

void SimTracker::onModemPropertyChanged(const QString &name, const QDBusVariant &value)
{
    Q_UNUSED(value)
    if (name == InterfacesProperty)
        refresh();
}

void SimTracker::onSimPropertyChanged(
    const QString &name, const QDBusVariant &value, const QDBusMessage &message)
{
    if (!m_settled || m_snapshot.source != Snapshot::SimManager || message.path() != m_modemPath)
        return; // a running fetch brings newer data anyway
    if (name == PresentProperty) {
        // Everything else the snapshot holds belongs to the card that was
        // there before: start over.
        const QString path = m_modemPath;
        m_settled = false;
        fetch(QDBusMessage::createMethodCall(Service, path, SimManagerInterface, GetProperties),
            &SimTracker::onPropertiesReply);
        return;
    }
    m_snapshot.properties.insert(name, unpackProperty(value.variant()));
    Q_EMIT snapshotChanged(m_snapshot);
}

void SimTracker::settle(Snapshot::Source source, const QVariantMap &properties)
{
    m_settled = true;
    m_snapshot.source = source;
    m_snapshot.properties = properties;
    if (source != Snapshot::SimManager)
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
