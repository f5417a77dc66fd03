#pragma once

#include "zubutton.h"

// A small button that leads to a help page.
class ZuHelpButton : public ZuButton
{
    Q_OBJECT

public:
    explicit ZuHelpButton(const QString &pageId, QGraphicsItem *parent = nullptr);
    ~ZuHelpButton() override;

    QString pageId() const;
    void setPageId(const QString &pageId);

Q_SIGNALS:
    // Emitted on a tap, with the page to show.
    void helpRequested(const QString &pageId);

private:
    QString m_pageId;
};
