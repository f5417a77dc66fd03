#pragma once

#include "ofononames.h"

#include <QLatin1String>

// Where each reference peer lives on the bus: the name its clients call, the
// name that carries its control interface (kept while the public name is
// given up), and its objects. The peers, phonectl and the demo's probes all
// read them here; the interfaces themselves are described in
// dbus/interfaces.
namespace PeerNames {

// Every peer's control object, with the shared control interface beside the
// peer's own.
inline const QLatin1String ControlPath("/control");
inline const QLatin1String PeerControlInterface("com.tavik.sim.PeerControl");

// The simulated modem: the telephony service's names (OfonoSim) with one
// modem object.
namespace Modem {
inline const QLatin1String Service = OfonoSim::Service;
inline const QLatin1String ControlService("com.tavik.sim.Modem");
inline const QLatin1String ControlInterface("com.tavik.sim.ModemControl");
inline const QLatin1String ModemPath("/sim_0");
} // namespace Modem

namespace ModeControl {
inline const QLatin1String Service("com.tavik.oxa");
inline const QLatin1String ControlService("com.tavik.sim.ModeControl");
inline const QLatin1String ControlInterface("com.tavik.sim.ModeControlControl");
inline const QLatin1String RequestPath("/com/tavik/oxa/request");
inline const QLatin1String SignalPath("/com/tavik/oxa/signal");
} // namespace ModeControl

namespace PinQuery {
inline const QLatin1String Service("com.tavik.ronwe.pin");
inline const QLatin1String ControlService("com.tavik.sim.PinQuery");
inline const QLatin1String ControlInterface("com.tavik.sim.PinQueryControl");
inline const QLatin1String Path("/com/tavik/ronwe/pin");
} // namespace PinQuery

} // namespace PeerNames
