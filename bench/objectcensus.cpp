#include "objectcensus.h"

#include <QtGlobal>

#include <atomic>

class QObject;

// QtCore's hook table (declared in its private qhooks_p.h, which distributions
// do not ship). Its first entries tell the layout; version 1 is the one with
// the object hooks at these places.
extern quintptr Q_CORE_EXPORT qtHookData[];

namespace {
enum HookIndex { HookDataVersion = 0, HookDataSize = 1, AddQObject = 3, RemoveQObject = 4 };
const quintptr KnownHookVersion = 1;

using ObjectHook = void (*)(QObject *);

std::atomic<int> liveCount { 0 };
ObjectHook previousAdd = nullptr;
ObjectHook previousRemove = nullptr;

void objectAdded(QObject *object)
{
    ++liveCount;
    if (previousAdd)
        previousAdd(object);
}

void objectRemoved(QObject *object)
{
    --liveCount;
    if (previousRemove)
        previousRemove(object);
}
} // namespace

bool ObjectCensus::install()
{
    if (qtHookData[HookDataVersion] < KnownHookVersion || qtHookData[HookDataSize] <= RemoveQObject)
        return false;
    // Chained, so that an inspector that was there first keeps working.
    previousAdd = reinterpret_cast<ObjectHook>(qtHookData[AddQObject]);
    previousRemove = reinterpret_cast<ObjectHook>(qtHookData[RemoveQObject]);
    qtHookData[AddQObject] = reinterpret_cast<quintptr>(&objectAdded);
    qtHookData[RemoveQObject] = reinterpret_cast<quintptr>(&objectRemoved);
    return true;
}

int ObjectCensus::liveObjects()
{
    return liveCount.load();
}
