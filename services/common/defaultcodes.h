#pragma once

#include <QLatin1String>

// The codes of the simulated SIM card when none are given on the command
// line. The simulated modem's card and the PIN query service's local
// backend both start from them, and phonectl tells them ("phonectl codes"),
// so that whatever a person is told works on either.
namespace DefaultCodes {
inline const QLatin1String Pin("1234");
inline const QLatin1String Puk("12345678");
inline const QLatin1String UnlockCode("11223344");
} // namespace DefaultCodes
