#pragma once

#include "zunamespace.h"

#include <QString>
#include <QStringList>

class ZuWidget;
class ZuWidgetCreatorBase;
struct QMetaObject;

// Widget classes known by name, as registered by ZuWidgetCreatorBase. Every
// look-up of an unknown name answers null or empty. When two creators
// register the same name, the later one answers until it is destroyed.
class ZuWidgetFactory
{
public:
    static ZuWidget *create(const QString &className);
    static const QMetaObject *metaObject(const QString &className);
    static QString assemblyName(const QString &className);
    static bool isRegistered(const QString &className);
    static QStringList classNames();

private:
    friend class ZuWidgetCreatorBase;
    static void registerCreator(ZuWidgetCreatorBase *creator);
    static void unregisterCreator(ZuWidgetCreatorBase *creator);
    static const ZuWidgetCreatorBase *creator(const QString &className);
};
