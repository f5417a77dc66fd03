#pragma once

#include "kivappletif.h"

#include <QObject>
#include <QPointer>

class KivBrief;
class KivWidget;

// The SIM card applet: the plug-in's root object that the settings host drives.
// It hands out the applet's title, one brief and the one main page; it owns
// neither the page nor the brief.
class SimApplet : public QObject, public KivAppletIf
{
    Q_OBJECT
    Q_INTERFACES(KivAppletIf)

public:
    explicit SimApplet(QObject *parent = nullptr);
    ~SimApplet() override;

    virtual void init() override;
    virtual KivWidget *constructWidget(int widgetId) override;
    virtual KivWidget *pageMain();
    virtual QString title() const override;
    virtual QVector<QAction *> viewMenuItems() override;
    virtual KivBrief *constructBrief(int partId) override;

private:
    QPointer<KivWidget> m_page;
    // Guarded like the page: a host that deleted the brief and asks again
    // gets a new brief instead of a dangling pointer.
    QPointer<KivBrief> m_brief;
};
