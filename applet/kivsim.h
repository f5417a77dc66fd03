#pragma once

// Logical text ids of everything the SIM applet shows. Each is translated with
// qtTrId(id, -1) where it is shown, so the host's id-based catalogues decide
// the language; without a catalogue the id itself is shown.
namespace KivSim {

// Applet title and page header.
constexpr const char *SimCardText = "qtn_cell_sim_card";
// The row that activates a SIM card waiting for its PIN code.
constexpr const char *ActivateSimCardText = "qtn_cell_activate_sim";
// Error line: no SIM card.
constexpr const char *SimNotAvailableText = "qtn_cell_sim_not_available";
// Error line: the SIM card reports an error.
constexpr const char *SimErrorText = "qtn_cell_sim_not_error";
// Error line: the device is in flight (offline) mode.
constexpr const char *FlightModeText = "qtn_cell_sim_not_flight";
// The PIN code request switch row.
constexpr const char *PinCodeRequestText = "qtn_cell_pin_code_request";
// The change PIN code row.
constexpr const char *ChangePinText = "qtn_cell_change_pin";
// The SIM-lock unlock row.
constexpr const char *UnlockSimText = "qtn_cell_enter_unlock_code";

} // namespace KivSim
