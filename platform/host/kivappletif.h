#pragma once

#include <QString>
#include <QVector>
#include <QtPlugin>

class QAction;
class QGraphicsWidget;
class KivBrief;
class KivWidget;
class ZuWidgetController;

// The settings host's applet interface. An applet plug-in's root object
// implements it; the host finds it with qobject_cast by the interface id below.
// The slot order of the virtual operations is part of the interface: applets
// built against one version of this header must keep working with the host.
class KivAppletIf
{
public:
    virtual ~KivAppletIf();

    // Called by the host before it uses the applet, and again whenever it
    // wants the applet to start over (for example to get a fresh brief).
    virtual void init();
    // The page for the given widget id; null when the applet has none.
    virtual KivWidget *constructWidget(int widgetId);
    // The applet's name in the host's list; a null string means "no title".
    virtual QString title() const;
    // Entries the applet adds to the host's view menu while its page is shown.
    virtual QVector<QAction *> viewMenuItems() = 0;
    // The object the host reads to draw the applet's line in its list.
    virtual KivBrief *constructBrief(int partId);
    // Maps a part name to the widget id that shows it.
    virtual int partID(const QString &partName);
    // The interface version the applet was written for.
    virtual int interfaceVersion();
    virtual ZuWidgetController *constructStylableWidget(int widgetId);
    virtual QGraphicsWidget *constructSheet(int widgetId);
};

#define KivAppletIf_iid "com.tavik.zu.core.KivAppletIf/1.0"
Q_DECLARE_INTERFACE(KivAppletIf, KivAppletIf_iid)
