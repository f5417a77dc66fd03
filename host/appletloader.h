#pragma once

#include <QString>
#include <QStringList>

class KivAppletIf;
class QObject;

// Loads applet plug-ins the way the settings host always has: check the
// plug-in's verification data against the host's own build, then take its
// root object and cast it to KivAppletIf by the interface id.
class AppletLoader
{
public:
    struct Result
    {
        QString file;
        // The plug-in's root object and its applet interface; both null when
        // the plug-in was refused.
        QObject *root = nullptr;
        KivAppletIf *applet = nullptr;
        // Why the plug-in was refused; empty when it was loaded.
        QString error;

        bool isLoaded() const { return applet != nullptr; }
    };

    // Loads one plug-in file. A refused file is unloaded again unless it has
    // already made objects whose code must stay mapped.
    static Result load(const QString &file);

    // The plug-in files of a directory, in name order.
    static QStringList pluginFiles(const QString &directory);
};
