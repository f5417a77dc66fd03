#include "zuhelpbutton.h"

ZuHelpButton::ZuHelpButton(const QString &pageId, QGraphicsItem *parent)
    : ZuButton(parent)
    , m_pageId(pageId)
{
    connect(this, &ZuButton::clicked, this, [this] { Q_EMIT helpRequested(m_pageId); });
}

ZuHelpButton::~ZuHelpButton() = default;

QString ZuHelpButton::pageId() const
{
    return m_pageId;
}

void ZuHelpButton::setPageId(const QString &pageId)
{
    m_pageId = pageId;
}
