#include "infowidget.h"

#include <QTextOption>

namespace {
const char *const BodyTextStyle = "CommonBodyTextInverted";
}

InfoWidget::InfoWidget(QGraphicsItem *parent)
    : ZuLabel(parent, nullptr)
{
    setStyleName(QLatin1String(BodyTextStyle));
    setAlignment(Qt::AlignLeft);
    setWordWrap(true);
    setWrapMode(QTextOption::WordWrap);
}

InfoWidget::~InfoWidget() = default;
