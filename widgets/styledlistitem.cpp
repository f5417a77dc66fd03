#include "styledlistitem.h"

#include <zulabel.h>

namespace {
const char *const RowStyle = "CommonPanelInverted";
const char *const SingleTitleStyle = "CommonSingleTitleInverted";
const char *const TitleStyle = "CommonTitleInverted";
const char *const SubtitleStyle = "CommonSubTitleInverted";
}

StyledListItem::StyledListItem(ZuBasicListItem::ItemStyle style, QGraphicsItem *parent)
    : ZuBasicListItem(style, parent)
{
    setStyleName(QLatin1String(RowStyle));
}

StyledListItem::~StyledListItem() = default;

QGraphicsLayout *StyledListItem::createLayout()
{
    switch (static_cast<int>(itemStyle())) {
    case 0:
    case 2:
        titleLabelWidget()->setStyleName(QLatin1String(SingleTitleStyle));
        break;
    case 1:
    case 3:
        titleLabelWidget()->setStyleName(QLatin1String(TitleStyle));
        subtitleLabelWidget()->setStyleName(QLatin1String(SubtitleStyle));
        break;
    default:
        break;
    }
    return ZuBasicListItem::createLayout();
}
