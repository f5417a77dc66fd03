#pragma once

#include <QGraphicsWidget>
#include <QPointer>

class ZuLabel;
class ZuProgressIndicator;

// The page's title row: the title at the left and a busy spinner at the
// right, shown while the page waits for a service.
class HeaderWidget : public QGraphicsWidget
{
    Q_OBJECT

public:
    explicit HeaderWidget(QGraphicsItem *parent = nullptr);
    ~HeaderWidget() override;

    void setText(const QString &text);

public Q_SLOTS:
    void setProgressIndicatorVisible(bool enable);

private:
    QPointer<ZuLabel> m_label;
    QPointer<ZuProgressIndicator> m_spinner;
};
