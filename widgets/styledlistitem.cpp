#include "styledlistitem.h"

#include <zucommonstyles.h>
#include <zulabel.h>

StyledListItem::StyledListItem(ZuBasicListItem::ItemStyle style, QGraphicsItem *parent)
    : ZuBasicListItem(style, parent)
{
    setStyleName(QLatin1String(ZuCommonStyle::Panel));
}

StyledListItem::~StyledListItem() = default;

QGraphicsLayout *StyledListItem::createLayout()
{
    switch (static_cast<int>(itemStyle())) {
    case 0:
    case 2:
        titleLabelWidget()->setStyleName(QLatin1String(ZuCommonStyle::SingleTitle));
        break;
    case 1:
    case 3:
        titleLabelWidget()->setStyleName(QLatin1String(ZuCommonStyle::Title));
        subtitleLabelWidget()->setStyleName(QLatin1String(ZuCommonStyle::Subtitle));
        break;
    default:
        break;
    }
    return ZuBasicListItem::createLayout();
}
