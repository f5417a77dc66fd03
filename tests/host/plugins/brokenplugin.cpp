// A plug-in that is wrong in one way, chosen at build time, for the loader's
// refusal tests. Without any option it is a well-formed plug-in whose root
// object is not an applet.

#include "kivpluginbuild.h"

#include <QObject>
#include <QPointer>

#ifndef PLUGIN_PATTERN
#define PLUGIN_PATTERN KIV_PLUGIN_VERIFICATION_PATTERN
#endif
#ifndef PLUGIN_VERSION
#define PLUGIN_VERSION KIV_PLUGIN_QT_VERSION
#endif
#ifndef PLUGIN_DEBUG
#define PLUGIN_DEBUG KIV_PLUGIN_DEBUG
#endif
#ifndef PLUGIN_BUILD_KEY
#define PLUGIN_BUILD_KEY KIV_PLUGIN_BUILD_KEY
#endif

#ifndef PLUGIN_NO_VERIFICATION
extern "C" Q_DECL_EXPORT const char *qt_plugin_query_verification_data()
{
#ifdef PLUGIN_RAW_VERIFICATION
    return PLUGIN_RAW_VERIFICATION;
#else
    return "pattern=" PLUGIN_PATTERN "\nversion=" PLUGIN_VERSION "\ndebug=" PLUGIN_DEBUG
           "\nbuildkey=" PLUGIN_BUILD_KEY;
#endif
}
#endif

#ifndef PLUGIN_NO_INSTANCE
extern "C" Q_DECL_EXPORT QObject *qt_plugin_instance()
{
    static QPointer<QObject> instance;
    if (instance.isNull()) {
        instance = new QObject;
    }
    return instance.data();
}
#endif
