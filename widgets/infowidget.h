#pragma once

#include <zulabel.h>

// Body text that wraps over as many lines as it needs; the item list shows
// its error line with it.
class InfoWidget : public ZuLabel
{
    Q_OBJECT

public:
    explicit InfoWidget(QGraphicsItem *parent = nullptr);
    ~InfoWidget() override;
};
