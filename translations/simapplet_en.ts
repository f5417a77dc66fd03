<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name></name>
    <message id="qtn_cell_sim_card">
        <source>SIM card</source>
        <translation>SIM card</translation>
    </message>
    <message id="qtn_cell_activate_sim">
        <source>Activate SIM card</source>
        <translation>Activate SIM card</translation>
    </message>
    <message id="qtn_cell_sim_not_available">
        <source>SIM card not available</source>
        <translation>SIM card not available</translation>
    </message>
    <message id="qtn_cell_sim_not_error">
        <source>SIM card error</source>
        <translation>SIM card error</translation>
    </message>
    <message id="qtn_cell_sim_not_flight">
        <source>Not available in flight mode</source>
        <translation>Not available in flight mode</translation>
    </message>
    <message id="qtn_cell_pin_code_request">
        <source>PIN code request</source>
        <translation>PIN code request</translation>
    </message>
    <message id="qtn_cell_change_pin">
        <source>Change PIN code</source>
        <translation>Change PIN code</translation>
    </message>
    <message id="qtn_cell_enter_unlock_code">
        <source>Enter unlock code</source>
        <translation>Enter unlock code</translation>
    </message>
</context>
</TS>
