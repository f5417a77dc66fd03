#pragma once

// Shared by the fault and storm tests: the three peers and the SIM page on a
// scene, read through PageProbe's notation.

#include "pageprobe.h"
#include "peerprocess.h"
#include "simwidget.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGraphicsScene>
#include <QPointer>
#include <QtTest>

#include <csignal>

namespace Faults {
inline const QString ReadyRows = QStringLiteral("SimPinRequestItem:on SimPinChangeItem");
inline const QString FlightRows = QStringLiteral("SimErrorItem:qtn_cell_sim_not_flight");
inline const QString SimErrorRows = QStringLiteral("SimErrorItem:qtn_cell_sim_not_error");
const int PageTimeoutMs = 15000;
const int NoPeer = -1;

// The three peers, not started. The modem's card is ready with the PIN
// request on, so a page that reaches everything shows ReadyRows.
struct Peers
{
    PeerProcess &operator[](int kind) { return *all[kind]; }

    bool start(int kind)
    {
        static const QStringList arguments[] = { { "--pin-entered", "--pin-request", "on" }, {},
            { "--headless", "--backend", "modem" } };
        return all[kind]->start(arguments[kind]);
    }

    bool startAll(int except = NoPeer)
    {
        for (int kind : { PeerProcess::Modem, PeerProcess::ModeControl, PeerProcess::PinQuery }) {
            if (kind != except && !start(kind))
                return false;
        }
        return true;
    }

    // SIGKILL, as a crash would end it, and wait until its names are gone.
    bool crash(int kind)
    {
        PeerProcess &peer = *all[kind];
        const QDBusReply<uint> pid
            = QDBusConnection::systemBus().interface()->servicePid(peer.publicName());
        if (!pid.isValid() || ::kill(pid_t(pid.value()), SIGKILL) != 0)
            return false;
        peer.stop(); // reaps the process; its names are gone with it
        return peer.waitForName(false);
    }

    PeerProcess modem { PeerProcess::Modem };
    PeerProcess modeControl { PeerProcess::ModeControl };
    PeerProcess pinQuery { PeerProcess::PinQuery };
    PeerProcess *const all[3] { &modem, &modeControl, &pinQuery };
};
} // namespace Faults

// The SIM page as the host shows it, on a scene of its own.
class SimPage
{
public:
    SimPage() { m_scene.addItem(m_page); }
    ~SimPage() { delete m_page.data(); }

    QString rows() const { return PageProbe::rows(m_page); }
    // Runs events until the page shows these rows.
    bool waitForRows(const QString &rows, int timeoutMs = Faults::PageTimeoutMs)
    {
        if (QTest::qWaitFor([&] { return this->rows() == rows; }, timeoutMs))
            return true;
        qWarning().noquote() << "the page shows" << this->rows() << "instead of" << rows;
        return false;
    }
    // The PIN request switch, or null while the row was never made.
    ZuButton *pinSwitch() const { return PageProbe::pinSwitch(m_page); }
    QObject *widget() const { return m_page; }

private:
    QGraphicsScene m_scene;
    QPointer<SimWidget> m_page { new SimWidget(nullptr) };
};
