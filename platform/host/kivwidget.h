#pragma once

#include "zuwidget.h"

#include <QString>

// Base of an applet's page. The host places the page in its window, tells it
// where the user came from and asks it before closing it on "back".
class KivWidget : public ZuWidget
{
    Q_OBJECT

public:
    explicit KivWidget(QGraphicsWidget *parent = nullptr);
    ~KivWidget() override;

    // Where the page was opened from: 0 for the host's own applet list,
    // otherwise a widget id of the applet that opened it.
    virtual void setReferer(int referer);
    // The user asked to go back. Returning true lets the host close the page;
    // a page with an inner step to undo first returns false.
    virtual bool back();
    // Whether the host may pan the page when it is taller than the screen.
    virtual bool pagePans() const;
    // The page's title for the host's title bar; null means the applet's title.
    virtual QString title() const;

    int referer() const;

private:
    int m_referer;
};
