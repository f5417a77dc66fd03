#include "zuwidgetcreator.h"

#include "zuwidgetfactory.h"

ZuWidgetCreatorBase::ZuWidgetCreatorBase(
    const char *className, const char *assembly, Zu::AssemblyType type)
    : m_className(className)
    , m_assembly(assembly)
    , m_type(type)
{
    ZuWidgetFactory::registerCreator(this);
}

ZuWidgetCreatorBase::~ZuWidgetCreatorBase()
{
    ZuWidgetFactory::unregisterCreator(this);
}

QString ZuWidgetCreatorBase::className() const
{
    return QString::fromLatin1(m_className);
}

QString ZuWidgetCreatorBase::assemblyName() const
{
    return QString::fromLatin1(m_assembly);
}

Zu::AssemblyType ZuWidgetCreatorBase::assemblyType() const
{
    return m_type;
}
