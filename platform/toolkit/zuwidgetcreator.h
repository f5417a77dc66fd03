#pragma once

#include "zunamespace.h"

#include <QByteArray>
#include <QString>

class ZuWidget;
struct QMetaObject;

// Registers a widget class with the process-wide widget factory under its
// class name while the creator lives (ZuWidgetFactory looks it up). Creators
// are usually static objects of the library that holds the class.
class ZuWidgetCreatorBase
{
public:
    ZuWidgetCreatorBase(const char *className, const char *assembly, Zu::AssemblyType type);
    virtual ~ZuWidgetCreatorBase();

    // A new widget of the class, or null when the class cannot be made by name.
    virtual ZuWidget *create() const = 0;
    virtual const QMetaObject *metaObject() const = 0;

    QString className() const;
    QString assemblyName() const;
    Zu::AssemblyType assemblyType() const;

private:
    Q_DISABLE_COPY(ZuWidgetCreatorBase)
    QByteArray m_className;
    QByteArray m_assembly;
    Zu::AssemblyType m_type;
};

// Makes the class known by name without letting the factory create it.
template <class T> class ZuWidgetNullCreator : public ZuWidgetCreatorBase
{
public:
    using ZuWidgetCreatorBase::ZuWidgetCreatorBase;
    ZuWidget *create() const override { return nullptr; }
    const QMetaObject *metaObject() const override { return &T::staticMetaObject; }
};

// Lets the factory make widgets of a default-constructible class.
template <class T> class ZuWidgetCreator : public ZuWidgetCreatorBase
{
public:
    using ZuWidgetCreatorBase::ZuWidgetCreatorBase;
    ZuWidget *create() const override { return new T(); }
    const QMetaObject *metaObject() const override { return &T::staticMetaObject; }
};
