#pragma once

#include <zubasiclistitem.h>

class QGraphicsGridLayout;
class ZuImageWidget;

// A list row that leads to another view: title (and subtitle) at the left,
// a drill-down arrow at the right.
class DrillDownListItem : public ZuBasicListItem
{
    Q_OBJECT

public:
    explicit DrillDownListItem(ZuBasicListItem::ItemStyle style, QGraphicsItem *parent = nullptr);
    ~DrillDownListItem() override;

    QGraphicsLayout *createLayout() override;
    virtual void setImageWidget(ZuImageWidget *widget);
    virtual ZuImageWidget *imageWidget();
    virtual QGraphicsWidget *createSpacer();
};
