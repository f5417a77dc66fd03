#pragma once

#include "kivwidget.h"

class HeaderWidget;
class SimLogic;

// The SIM card settings page: a header with a busy spinner, a divider and
// the SIM item list, driven by the page's controller.
class SimWidget : public KivWidget
{
    Q_OBJECT

public:
    explicit SimWidget(QGraphicsWidget *parent = nullptr);

    void retranslateUi() override;

private:
    SimLogic *logic;
    HeaderWidget *header;
};
