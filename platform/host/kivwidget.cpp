#include "kivwidget.h"

namespace {
// Not opened from anywhere yet.
constexpr int NoReferer = -1;
} // namespace

KivWidget::KivWidget(QGraphicsWidget *parent)
    : ZuWidget(parent)
    , m_referer(NoReferer)
{ }

KivWidget::~KivWidget() = default;

void KivWidget::setReferer(int referer)
{
    m_referer = referer;
}

bool KivWidget::back()
{
    return true;
}

bool KivWidget::pagePans() const
{
    return true;
}

QString KivWidget::title() const
{
    return QString();
}

int KivWidget::referer() const
{
    return m_referer;
}
