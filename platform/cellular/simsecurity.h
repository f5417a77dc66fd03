#pragma once

#include "simerror.h"

#include <QObject>
#include <QScopedPointer>

namespace Cellular {
namespace SIM {

class SIMSecurityPrivate;

/// The PIN code request settings of the SIM card in use.
class SIMSecurity : public QObject
{
    Q_OBJECT

public:
    enum PINType : int { PIN = 0, PIN2 = 1 };
    enum PINQuery : int {
        /// The code is asked at power-up.
        Enabled = 0,
        Disabled = 1,
        /// Sent together with an error.
        UnknownQuery = 2
    };

    explicit SIMSecurity(QObject *parent = nullptr);
    ~SIMSecurity() override;

    /// Starts a query whether the code of the given type is asked at power-up;
    /// the answer comes later as pinQueryStateComplete(), once per call.
    void pinQueryState(SIMSecurity::PINType type);

Q_SIGNALS:
    void pinQueryStateComplete(SIMSecurity::PINQuery state, SIMError error);

private:
    QScopedPointer<SIMSecurityPrivate> d;
};

} // namespace SIM
} // namespace Cellular

Q_DECLARE_METATYPE(Cellular::SIM::SIMSecurity::PINType)
Q_DECLARE_METATYPE(Cellular::SIM::SIMSecurity::PINQuery)
