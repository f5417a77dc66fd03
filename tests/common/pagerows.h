#pragma once

#include <QString>

// What the SIM page shows, in the notation of the page dumps the tests read:
// the visible rows of the item list in their order, the switch's state after
// the PIN request row, the error text after an error row.
namespace PageRows {
inline const QString Normal = QStringLiteral("SimPinRequestItem:on SimPinChangeItem");
// The switch moved off by the user and left there: the change PIN row stays.
inline const QString SwitchedOff = QStringLiteral("SimPinRequestItem:off SimPinChangeItem");
// The card reports the request off: no change PIN row.
inline const QString RequestOff = QStringLiteral("SimPinRequestItem:off");
inline const QString Activate = QStringLiteral("SimActivateSimItem");
inline const QString NoSim = QStringLiteral("SimErrorItem:qtn_cell_sim_not_available");
inline const QString SimError = QStringLiteral("SimErrorItem:qtn_cell_sim_not_error");
inline const QString FlightMode = QStringLiteral("SimErrorItem:qtn_cell_sim_not_flight");
} // namespace PageRows
