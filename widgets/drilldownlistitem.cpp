#include "drilldownlistitem.h"

#include <QGraphicsGridLayout>
#include <zucommonstyles.h>
#include <zuimagewidget.h>
#include <zulabel.h>

namespace {
const char *const ArrowStyle = "CommonDrilldownIconInverted";
const char *const ArrowImageId = "icon-m-common-drilldown-arrow-inverse";
const char *const SpacerName = "DrillDownSpacer";

enum LayoutStyle {
    SingleTitle = 0,
    TitleSubtitle = 1,
    ToolkitSingleTitle = 2,
    ToolkitTitleSubtitle = 3
};

const int TitleRow = 0;
const int SubtitleRow = 1;
const int SpacerRow = 2;
const int TextColumn = 0;
const int ArrowColumn = 1;
const int SingleSpan = 1;
const int TextRowCount = 3;
const int TextStretch = 1;
const Qt::Alignment TextAlignment = Qt::AlignLeft | Qt::AlignVCenter;
}

DrillDownListItem::DrillDownListItem(ZuBasicListItem::ItemStyle style, QGraphicsItem *parent)
    : ZuBasicListItem(style, parent)
{
    setStyleName(QLatin1String(ZuCommonStyle::Panel));
}

DrillDownListItem::~DrillDownListItem() = default;

QGraphicsLayout *DrillDownListItem::createLayout()
{
    const int style = static_cast<int>(itemStyle());
    if (style == ToolkitSingleTitle || style == ToolkitTitleSubtitle)
        return ZuBasicListItem::createLayout();

    auto *grid = new QGraphicsGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    ZuImageWidget *arrow = imageWidget();
    arrow->setStyleName(QLatin1String(ArrowStyle));
    arrow->setImage(QLatin1String(ArrowImageId));

    if (style == SingleTitle) {
        ZuLabel *title = titleLabelWidget();
        title->setStyleName(QLatin1String(ZuCommonStyle::SingleTitle));
        grid->addItem(title, TitleRow, TextColumn, SingleSpan, SingleSpan, TextAlignment);
        grid->addItem(arrow, TitleRow, ArrowColumn, SingleSpan, SingleSpan, Qt::AlignCenter);
    } else if (style == TitleSubtitle) {
        ZuLabel *title = titleLabelWidget();
        ZuLabel *subtitle = subtitleLabelWidget();
        title->setStyleName(QLatin1String(ZuCommonStyle::Title));
        subtitle->setStyleName(QLatin1String(ZuCommonStyle::Subtitle));
        subtitle->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        grid->addItem(title, TitleRow, TextColumn, SingleSpan, SingleSpan, TextAlignment);
        grid->addItem(subtitle, SubtitleRow, TextColumn, SingleSpan, SingleSpan, TextAlignment);
        // Each layout gets a new spacer; the one of an earlier layout goes.
        for (QGraphicsItem *child : childItems()) {
            if (child->isWidget()
                && static_cast<QGraphicsWidget *>(child)->objectName() == QLatin1String(SpacerName))
                delete child;
        }
        QGraphicsWidget *spacer = createSpacer();
        spacer->setObjectName(QLatin1String(SpacerName));
        grid->addItem(spacer, SpacerRow, TextColumn, SingleSpan, SingleSpan);
        grid->addItem(arrow, TitleRow, ArrowColumn, TextRowCount, SingleSpan, Qt::AlignCenter);
    }

    titleLabelWidget()->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    grid->setColumnStretchFactor(TextColumn, TextStretch);
    return grid;
}

void DrillDownListItem::setImageWidget(ZuImageWidget *widget)
{
    ZuBasicListItem::setImageWidget(widget);
}

ZuImageWidget *DrillDownListItem::imageWidget()
{
    return ZuBasicListItem::imageWidget();
}

QGraphicsWidget *DrillDownListItem::createSpacer()
{
    auto *spacer = new QGraphicsWidget(this, Qt::WindowFlags());
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding, QSizePolicy::DefaultType);
    return spacer;
}
