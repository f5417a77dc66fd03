#include "kivappletif.h"

namespace {
// Applets that keep this default were written against this interface version.
constexpr int CurrentInterfaceVersion = 10;
} // namespace

KivAppletIf::~KivAppletIf() = default;

void KivAppletIf::init() { }

KivWidget *KivAppletIf::constructWidget(int)
{
    return nullptr;
}

QString KivAppletIf::title() const
{
    return QString();
}

KivBrief *KivAppletIf::constructBrief(int)
{
    return nullptr;
}

int KivAppletIf::partID(const QString &)
{
    return 0;
}

int KivAppletIf::interfaceVersion()
{
    return CurrentInterfaceVersion;
}

ZuWidgetController *KivAppletIf::constructStylableWidget(int)
{
    return nullptr;
}

QGraphicsWidget *KivAppletIf::constructSheet(int)
{
    return nullptr;
}
