#include "zulibrary.h"

#include "zutheme.h"

ZuLibrary::ZuLibrary(const QString &id)
    : m_id(id)
{
    ZuTheme::instance()->addLibrary(m_id);
}

ZuLibrary::~ZuLibrary()
{
    ZuTheme::instance()->removeLibrary(m_id);
}

QString ZuLibrary::id() const
{
    return m_id;
}

bool ZuLibrary::isRegistered(const QString &id)
{
    return ZuTheme::instance()->libraries().contains(id);
}

QStringList ZuLibrary::registeredLibraries()
{
    return ZuTheme::instance()->libraries();
}
