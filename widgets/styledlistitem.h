#pragma once

#include <zubasiclistitem.h>

// The toolkit's list row with the page's inverted panel look.
class StyledListItem : public ZuBasicListItem
{
    Q_OBJECT

public:
    explicit StyledListItem(ZuBasicListItem::ItemStyle style, QGraphicsItem *parent = nullptr);
    ~StyledListItem() override;

public:
    QGraphicsLayout *createLayout() override;
};
