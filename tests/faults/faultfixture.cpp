#include "faultfixture.h"

#include "pageprobe.h"
#include "simwidget.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <sys/types.h>

namespace Faults {
Peers::Peers()
    : modem(PeerProcess::Modem)
    , modeControl(PeerProcess::ModeControl)
    , pinQuery(PeerProcess::PinQuery)
{ }

bool Peers::startModem()
{
    return modem.start(
        { QStringLiteral("--pin-entered"), QStringLiteral("--pin-request"), QStringLiteral("on") });
}

bool Peers::startModeControl()
{
    return modeControl.start();
}

bool Peers::startPinQuery()
{
    return pinQuery.start(
        { QStringLiteral("--headless"), QStringLiteral("--backend"), QStringLiteral("modem") });
}

bool Peers::startAll()
{
    return startModem() && startModeControl() && startPinQuery();
}

bool Peers::crash(PeerProcess *peer)
{
    const QDBusReply<uint> pid
        = QDBusConnection::systemBus().interface()->servicePid(peer->publicName());
    if (!pid.isValid() || ::kill(pid_t(pid.value()), SIGKILL) != 0)
        return false;
    peer->stop(); // reaps the process; its names are gone with it
    return peer->waitForName(false);
}

QString interfaceXml(const QString &file)
{
    QFile xml(qEnvironmentVariable("SIM_SOURCE_DIR") + QStringLiteral("/dbus/interfaces/") + file);
    if (!xml.open(QIODevice::ReadOnly))
        return QString();
    const QRegularExpression interfaces(
        QStringLiteral("<interface.*</interface>"), QRegularExpression::DotMatchesEverythingOption);
    return interfaces.match(QString::fromUtf8(xml.readAll())).captured(0);
}
} // namespace Faults

SimPage::SimPage()
    : m_page(new SimWidget(nullptr))
{
    m_scene.addItem(m_page);
}

SimPage::~SimPage()
{
    delete m_page.data();
}

QString SimPage::rows() const
{
    return PageProbe::rows(m_page);
}

bool SimPage::waitForRows(const QString &rows, int timeoutMs)
{
    if (QTest::qWaitFor([&] { return PageProbe::rows(m_page) == rows; }, timeoutMs))
        return true;
    qWarning().noquote() << "the page shows" << PageProbe::rows(m_page) << "instead of" << rows;
    return false;
}

QObject *SimPage::widget() const
{
    return m_page;
}

ZuButton *SimPage::pinSwitch() const
{
    return PageProbe::pinSwitch(m_page);
}

StackGauge::StackGauge(QObject *parent)
    : QObject(parent)
    , m_base(reinterpret_cast<quintptr>(__builtin_frame_address(0)))
    , m_lowest(m_base)
{
    QCoreApplication::instance()->installEventFilter(this);
}

StackGauge::~StackGauge()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

qptrdiff StackGauge::deepest() const
{
    return qptrdiff(m_base - m_lowest);
}

bool StackGauge::eventFilter(QObject *watched, QEvent *event)
{
    // The stack grows downwards on every platform this runs on.
    m_lowest = qMin(m_lowest, reinterpret_cast<quintptr>(__builtin_frame_address(0)));
    return QObject::eventFilter(watched, event);
}

namespace {
// Lives in the impostor's thread, so that it answers while the GUI thread
// waits in a blocking call to it.
class ImpostorObject : public QDBusVirtualObject
{
public:
    explicit ImpostorObject(const QString &introspection)
        : m_introspection(introspection)
    { }

    QString introspect(const QString &) const override { return m_introspection; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        // A virtual object gets introspection calls too.
        if (message.member() == QLatin1String("Introspect"))
            connection.send(
                message.createReply(QStringLiteral("<node>%1</node>").arg(m_introspection)));
        else
            connection.send(message.createReply());
        return true;
    }

private:
    QString m_introspection;
};
} // namespace

BusImpostor::BusImpostor(const QString &connectionName)
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SystemBus, connectionName))
{
    m_thread.start();
}

BusImpostor::~BusImpostor()
{
    if (!m_service.isEmpty())
        m_connection.unregisterService(m_service);
    m_connection.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
    m_thread.quit();
    m_thread.wait();
    delete m_object;
    const QString name = m_connection.name();
    m_connection = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(name);
}

bool BusImpostor::own(const QString &service, const QString &introspection)
{
    auto *object = new ImpostorObject(introspection);
    m_object = object;
    // Registered before it moves: registering gives it parts of its own.
    if (!m_connection.registerVirtualObject(QStringLiteral("/"), object, QDBusConnection::SubPath))
        return false;
    m_object->moveToThread(&m_thread);
    m_service = service;
    return m_connection.registerService(service);
}

bool BusImpostor::emitSignal(const QString &path, const QString &interface, const QString &name,
    const QVariantList &arguments)
{
    QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
    signal.setArguments(arguments);
    if (!m_connection.send(signal))
        return false;
    // The bus handles one sender's messages in order: once this answer is
    // here, the signal has gone out to its receivers.
    return Faults::succeeded(m_connection.call(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"))));
}
