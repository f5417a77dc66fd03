#pragma once

#include <QString>
#include <QStringList>

// Registers a theme library for as long as it lives: the theme adds the
// styles of "<id>.theme" if that file exists. Plug-ins usually keep one as a
// static object, so it lives exactly as long as the plug-in is loaded.
class ZuLibrary
{
public:
    explicit ZuLibrary(const QString &id);
    ~ZuLibrary();

    QString id() const;

    static bool isRegistered(const QString &id);
    // Ids of the registered libraries, in registration order.
    static QStringList registeredLibraries();

private:
    Q_DISABLE_COPY(ZuLibrary)
    QString m_id;
};
