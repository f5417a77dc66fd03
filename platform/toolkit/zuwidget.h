#pragma once

#include <QGraphicsWidget>

// Base of every toolkit widget. Graphics widgets never see the application's
// language changes themselves, so the toolkit keeps track of all live
// ZuWidgets and calls retranslateUi() on each of them when the display
// language changes (a translator installed or removed).
class ZuWidget : public QGraphicsWidget
{
    Q_OBJECT

public:
    explicit ZuWidget(QGraphicsItem *parent = nullptr);
    ~ZuWidget() override;

    // Called by the toolkit after a change of language; sets the widget's texts again.
    virtual void retranslateUi();
    virtual void setObjectName(const QString &name);

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
};
