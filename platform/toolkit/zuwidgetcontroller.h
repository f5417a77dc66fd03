#pragma once

#include "zustyle.h"
#include "zuwidget.h"

class ZuWidgetModel;

// A toolkit widget with a model and a theme style. The style name is
// resolved by ZuTheme to the look used for painting and size hints; the
// view type picks one of several looks of the same widget.
class ZuWidgetController : public ZuWidget
{
    Q_OBJECT

public:
    explicit ZuWidgetController(QGraphicsItem *parent = nullptr);
    ~ZuWidgetController() override;

    void setStyleName(const QString &name);
    QString styleName() const;
    void setViewType(const QString &type);
    QString viewType() const;
    // Never null: every controller has its model from construction on.
    ZuWidgetModel *model() const;

    // The look currently in force for the style name.
    ZuStyle style() const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
        QWidget *widget = nullptr) override;

protected:
    // Used by subclasses that bring their own model; a model without a
    // parent becomes the controller's child.
    ZuWidgetController(ZuWidgetModel *model, QGraphicsItem *parent);

    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;
    // Called after the style name or view type changed.
    virtual void styleChanged();
    // The widget's rectangle less the style's margins and padding.
    QRectF styledContentsRect() const;

private:
    ZuWidgetModel *m_model;
    QString m_styleName;
    QString m_viewType;
};
