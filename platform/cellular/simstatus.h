#pragma once

#include "simerror.h"

#include <QObject>
#include <QScopedPointer>

namespace Cellular {
namespace SIM {

class SIMStatusPrivate;

/// The state of the SIM card of the first modem that has one.
class SIMStatus : public QObject
{
    Q_OBJECT

public:
    enum Status : int {
        /// The telephony service is absent or failing (the error says which).
        UnknownStatus = -1,
        Ok = 0,
        NoSIM = 1,
        /// No PUK attempt is left: the card cannot be used any more.
        PermanentlyBlocked = 2,
        NotReady = 3,
        PINRequired = 4,
        PUKRequired = 5,
        /// The card reports a condition this library does not know.
        Rejected = 6,
        /// A personalisation (SIM) lock wants its unlock code.
        SIMLockRejected = 7
    };

    explicit SIMStatus(QObject *parent = nullptr);
    ~SIMStatus() override;

    /// Starts a status query; the answer comes later as statusComplete(), once per call.
    void status();

Q_SIGNALS:
    void statusComplete(SIMStatus::Status status, SIMError error);
    /// The status moved, as seen from the service's change notifications.
    void statusChanged(SIMStatus::Status status);

private:
    QScopedPointer<SIMStatusPrivate> d;
};

} // namespace SIM
} // namespace Cellular

Q_DECLARE_METATYPE(Cellular::SIM::SIMStatus::Status)
