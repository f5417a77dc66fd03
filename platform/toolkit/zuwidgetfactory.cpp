#include "zuwidgetfactory.h"

#include "zuwidgetcreator.h"

#include <QHash>
#include <QList>

namespace {

using Registry = QHash<QString, QList<ZuWidgetCreatorBase *>>;

Registry &registry()
{
    // Never destroyed: static creators of plug-ins unregister during static
    // destruction, possibly after this library's own statics are gone.
    static Registry *instance = new Registry;
    return *instance;
}

} // namespace

ZuWidget *ZuWidgetFactory::create(const QString &className)
{
    const ZuWidgetCreatorBase *found = creator(className);
    return found ? found->create() : nullptr;
}

const QMetaObject *ZuWidgetFactory::metaObject(const QString &className)
{
    const ZuWidgetCreatorBase *found = creator(className);
    return found ? found->metaObject() : nullptr;
}

QString ZuWidgetFactory::assemblyName(const QString &className)
{
    const ZuWidgetCreatorBase *found = creator(className);
    return found ? found->assemblyName() : QString();
}

bool ZuWidgetFactory::isRegistered(const QString &className)
{
    return creator(className) != nullptr;
}

QStringList ZuWidgetFactory::classNames()
{
    QStringList names = registry().keys();
    names.sort();
    return names;
}

void ZuWidgetFactory::registerCreator(ZuWidgetCreatorBase *creator)
{
    registry()[creator->className()].append(creator);
}

void ZuWidgetFactory::unregisterCreator(ZuWidgetCreatorBase *creator)
{
    Registry &creators = registry();
    const QString name = creator->className();
    auto it = creators.find(name);
    if (it == creators.end()) {
        return;
    }
    it->removeOne(creator);
    if (it->isEmpty()) {
        creators.erase(it);
    }
}

const ZuWidgetCreatorBase *ZuWidgetFactory::creator(const QString &className)
{
    const Registry &creators = registry();
    const auto it = creators.constFind(className);
    return it == creators.constEnd() || it->isEmpty() ? nullptr : it->constLast();
}
