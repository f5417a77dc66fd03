<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="qtn_cell_sim_card">
        <source>SIM card</source>
        <translation>SIM-Karte</translation>
    </message>
    <message id="qtn_cell_activate_sim">
        <source>Activate SIM card</source>
        <translation>SIM-Karte aktivieren</translation>
    </message>
    <message id="qtn_cell_sim_not_available">
        <source>SIM card not available</source>
        <translation>SIM-Karte nicht verfügbar</translation>
    </message>
    <message id="qtn_cell_sim_not_error">
        <source>SIM card error</source>
        <translation>SIM-Kartenfehler</translation>
    </message>
    <message id="qtn_cell_sim_not_flight">
        <source>Not available in flight mode</source>
        <translation>Im Flugmodus nicht verfügbar</translation>
    </message>
    <message id="qtn_cell_pin_code_request">
        <source>PIN code request</source>
        <translation>PIN-Abfrage</translation>
    </message>
    <message id="qtn_cell_change_pin">
        <source>Change PIN code</source>
        <translation>PIN ändern</translation>
    </message>
    <message id="qtn_cell_enter_unlock_code">
        <source>Enter unlock code</source>
        <translation>Entsperrcode eingeben</translation>
    </message>
</context>
</TS>
