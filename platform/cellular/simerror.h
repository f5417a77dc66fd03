#pragma once

#include <QMetaType>

namespace Cellular {
namespace SIM {

/// Outcome of a SIM query: 0 is success, every other value a failure.
enum SIMError : int {
    NoError = 0,
    /// No telephony service on the system bus.
    ServiceUnavailable = 1,
    /// The telephony service answered with an error or with data it should not send.
    ServiceFailed = 2,
    /// The SIM card is still starting up; its state is not known yet.
    SIMNotReady = 3,
    /// No modem with a SIM card.
    SIMAbsent = 4,
    /// The SIM cannot be read while the SIM lock is active.
    SIMLockActive = 5,
    /// The query named a PIN type this library does not know.
    InvalidPINType = 6
};

} // namespace SIM
} // namespace Cellular

Q_DECLARE_METATYPE(Cellular::SIM::SIMError)
