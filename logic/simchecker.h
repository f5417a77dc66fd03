#pragma once

#include "simstatus.h"

#include <QObject>

class OxaIf;

// The slots spell the cellular status type as the library's signals do, so
// that the signature strings of the connections match.
using Cellular::SIM::SIMStatus;

// Combines the cellular SIM status and the device's offline state into one
// availability value; offline mode wins over whatever the SIM reports.
class SimChecker : public QObject
{
    Q_OBJECT

public:
    enum Status : int {
        Unknown = -1,
        NoSim = 0,
        NotActivated = 1,
        Ok = 2,
        SimLocked = 3,
        Error = 4,
        NotReady = 5,
        Offline = 6
    };

    explicit SimChecker(QObject *parent = nullptr);

    SimChecker::Status simStatus();
    bool isCalling();

protected:
    // Declared one by one so that the meta-object records them as protected.
    Q_SIGNAL void statusChange(SimChecker::Status s);
    Q_SIGNAL void callingChanged(bool calling);

private Q_SLOTS:
    void statusComplete(SIMStatus::Status s);
    void statusChanged(SIMStatus::Status s);
    void offlineChanged(bool offline);

private:
    OxaIf *oxaIf;
    SIMStatus::Status lastSimStatus;
};
