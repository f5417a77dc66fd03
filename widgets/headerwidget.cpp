#include "headerwidget.h"

#include <QGraphicsLinearLayout>
#include <zucommonstyles.h>
#include <zudebug.h>
#include <zulabel.h>
#include <zuprogressindicator.h>

namespace {
const char *const HeaderStyle = "CommonHeaderInverted";
const char *const HeaderLabelName = "headerLabel";
}

HeaderWidget::HeaderWidget(QGraphicsItem *parent)
    : QGraphicsWidget(parent, Qt::WindowFlags())
    , m_label(nullptr)
    , m_spinner(nullptr)
{
    auto *layout = new QGraphicsLinearLayout(Qt::Horizontal, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *label = new ZuLabel(this, nullptr);
    label->setStyleName(QLatin1String(HeaderStyle));
    label->setObjectName(QLatin1String(HeaderLabelName));
    label->setSizePolicy(
        label->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed, QSizePolicy::DefaultType);
    m_label = label;

    auto *spinner = new ZuProgressIndicator(this, ZuProgressIndicator::spinnerType);
    m_spinner = spinner;
    spinner->setStyleName(QLatin1String(ZuCommonStyle::ListItemSpinner));
    spinner->setUnknownDuration(false);
    spinner->hide();

    layout->addItem(label);
    layout->setAlignment(label, Qt::AlignLeft);
    layout->addItem(spinner);
    layout->setAlignment(spinner, Qt::AlignRight | Qt::AlignVCenter);
}

HeaderWidget::~HeaderWidget() = default;

void HeaderWidget::setText(const QString &text)
{
    if (m_label)
        m_label->setText(text);
}

void HeaderWidget::setProgressIndicatorVisible(bool enable)
{
    zuDebugStream(Q_FUNC_INFO) << enable;
    if (!m_spinner)
        return;
    m_spinner->setVisible(enable);
    m_spinner->setUnknownDuration(enable);
}
