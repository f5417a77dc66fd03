// The plug-in's two exports, with the plain C names the host's loader resolves.

#include "kivpluginbuild.h"
#include "simapplet.h"

#include <QPointer>

extern "C" Q_DECL_EXPORT const char *qt_plugin_query_verification_data()
{
    static const char verificationData[] = KIV_PLUGIN_VERIFICATION_DATA;
    return verificationData;
}

extern "C" Q_DECL_EXPORT QObject *qt_plugin_instance()
{
    // Made on the first call and held through a guard, so that the host gets
    // a new applet after it has destroyed the old one. The host calls this
    // on its GUI thread only.
    static QPointer<QObject> instance;
    if (instance.isNull()) {
        instance = new SimApplet();
    }
    return instance.data();
}
