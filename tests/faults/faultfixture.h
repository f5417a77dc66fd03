#pragma once

// Shared by the fault and storm tests: the SIM page on a scene, the three
// peers, a gauge of the GUI thread's stack, and connections that play a peer
// or spoof one.

#include "peerprocess.h"

#include <QDBusConnection>
#include <QGraphicsScene>
#include <QPointer>
#include <QThread>

class SimWidget;
class ZuButton;

namespace Faults {
inline const QString &ModemControl = PeerProcess::ModemControlInterface;
inline const QString &ModeControl = PeerProcess::ModeControlInterface;
inline const QString &PinControl = PeerProcess::PinQueryControlInterface;
// What the page shows: PageProbe's notation.
inline const QString ReadyRows = QStringLiteral("SimPinRequestItem:on SimPinChangeItem");
inline const QString FlightRows = QStringLiteral("SimErrorItem:qtn_cell_sim_not_flight");
inline const QString SimErrorRows = QStringLiteral("SimErrorItem:qtn_cell_sim_not_error");
const int PageTimeoutMs = 15000;

// The three peers, not started. The modem's card is ready with the PIN
// request on, so a page that reaches everything shows ReadyRows.
struct Peers
{
    Peers();
    bool startModem();
    bool startModeControl();
    bool startPinQuery();
    bool startAll();
    // SIGKILL, as a crash would end it, and wait until its names are gone.
    static bool crash(PeerProcess *peer);

    PeerProcess modem;
    PeerProcess modeControl;
    PeerProcess pinQuery;
};

inline bool succeeded(const QDBusMessage &reply)
{
    return PeerProcess::succeeded(reply);
}

// The <interface> elements of one of the project's introspection files.
QString interfaceXml(const QString &file);
} // namespace Faults

// The SIM page as the host shows it, on a scene of its own.
class SimPage
{
public:
    SimPage();
    ~SimPage();

    QString rows() const;
    // Runs events until the page shows these rows.
    bool waitForRows(const QString &rows, int timeoutMs = Faults::PageTimeoutMs);
    // The PIN request switch, or null while the row was never made.
    ZuButton *pinSwitch() const;
    // The page itself, to find its parts.
    QObject *widget() const;

private:
    QGraphicsScene m_scene;
    QPointer<SimWidget> m_page;
};

// How deep the GUI thread's stack gets while events are delivered: an
// application event filter notes its own frame address at every event. The
// frame address, not a local's address, so that a sanitizer's fake stack
// does not fool it.
class StackGauge : public QObject
{
    Q_OBJECT

public:
    explicit StackGauge(QObject *parent = nullptr);
    ~StackGauge() override;
    // Bytes of stack used below the frame that made the gauge.
    qptrdiff deepest() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    quintptr m_base;
    quintptr m_lowest;
};

// A second connection to the bus. Without a name it is a spoofer: what it
// emits comes from a sender that owns nothing. With own() it plays a peer:
// it owns the name and serves every path from a thread of its own, answering
// introspection with the given interfaces and every call with an empty reply.
class BusImpostor
{
public:
    explicit BusImpostor(const QString &connectionName);
    ~BusImpostor();
    BusImpostor(const BusImpostor &) = delete;
    BusImpostor &operator=(const BusImpostor &) = delete;

    bool own(const QString &service, const QString &introspection);
    // Emits a signal and returns once the bus has passed it on.
    bool emitSignal(const QString &path, const QString &interface, const QString &name,
        const QVariantList &arguments);

private:
    QDBusConnection m_connection;
    QString m_service;
    QThread m_thread;
    QObject *m_object = nullptr;
};
