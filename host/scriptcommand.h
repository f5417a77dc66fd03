#pragma once

#include <QString>

// One line of an automation script, as the parser understood it.
struct ScriptCommand
{
    enum Kind {
        Open, // open an applet's page by title or index
        Back, // ask the page to go back; close it when it agrees
        Close, // destroy the page
        Tap, // press and release at a widget's centre
        Locate, // tell where a widget's centre is on the screen
        Wait, // run the event loop until a condition holds
        Dump, // print the page's widget tree
        List, // print the applets and their brief lines
        Lang, // switch the display language
        Screenshot, // render the view to a PNG file
        Echo, // print a text
        Quit, // stop the script successfully
    };

    enum Condition {
        NoCondition,
        Visible, // a widget with that object name is visible
        Hidden, // no widget with that object name is visible
        Exists, // a widget with that object name exists, visible or not
        Checked, // its switch is on
        Unchecked, // its switch is off
        Spinning, // its spinner is visible and running
        Text, // its text equals the given text
        DumpContains, // the page's dump contains the given text
    };

    static constexpr int DefaultTimeoutMs = 5000;
    static constexpr int MaxTimeoutMs = 600000;

    int line = 0;
    Kind kind = Echo;
    Condition condition = NoCondition;
    // Object name, applet title or index, language code or file name.
    QString target;
    // The text of Text, DumpContains and Echo.
    QString text;
    int timeoutMs = DefaultTimeoutMs;
    // The line as written, for messages.
    QString source;
};
