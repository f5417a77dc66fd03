#pragma once

#include <QLatin1String>

// The part of the telephony service's bus API that the SIM clients use.
namespace OfonoSim {

inline const QLatin1String Service("org.ofono");
inline const QLatin1String ManagerPath("/");
inline const QLatin1String ManagerInterface("org.ofono.Manager");
inline const QLatin1String ModemInterface("org.ofono.Modem");
inline const QLatin1String SimManagerInterface("org.ofono.SimManager");

inline const QLatin1String PresentProperty("Present");
inline const QLatin1String PinRequiredProperty("PinRequired");
inline const QLatin1String LockedPinsProperty("LockedPins");
inline const QLatin1String RetriesProperty("Retries");
inline const QLatin1String SubscriberIdentityProperty("SubscriberIdentity");
inline const QLatin1String InterfacesProperty("Interfaces");

} // namespace OfonoSim
