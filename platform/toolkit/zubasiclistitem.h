#pragma once

#include "zuwidgetcontroller.h"

class QGraphicsGridLayout;
class QGraphicsLayout;
class ZuImageWidget;
class ZuLabel;

// A list row: title, optional subtitle and optional icon at the left. Parts
// are made on first use. The row asks the virtual createLayout() for its
// layout when it is first laid out, polished or shown (never from the
// constructor, so that a subclass's override is the one that runs).
class ZuBasicListItem : public ZuWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QString subtitle READ subtitle WRITE setSubtitle)

public:
    // The fixed underlying type keeps values beyond the list well defined;
    // a row of such a style has neither subtitle nor icon.
    enum ItemStyle : int {
        SingleTitle = 0,
        TitleWithSubtitle = 1,
        IconWithTitle = 2,
        IconWithTitleAndSubtitle = 3
    };
    Q_ENUM(ItemStyle)

    explicit ZuBasicListItem(ZuBasicListItem::ItemStyle style, QGraphicsItem *parent = nullptr);
    ~ZuBasicListItem() override;

    ItemStyle itemStyle() const;

    ZuLabel *titleLabelWidget();
    ZuLabel *subtitleLabelWidget();
    ZuImageWidget *imageWidget();
    // Replaces the image widget; the old one is destroyed, the new one
    // becomes the row's. For the icon styles it takes the icon cell.
    void setImageWidget(ZuImageWidget *widget);

    // Reading a text does not create its label.
    QString title() const;
    void setTitle(const QString &title);
    QString subtitle() const;
    void setSubtitle(const QString &subtitle);

    // Whether createLayout() has been called for the current layout.
    bool isLayoutCreated() const;

    // Builds the row's layout; the row installs what it returns. Called by
    // the row itself, once, when it is first laid out, polished or shown.
    virtual QGraphicsLayout *createLayout();
    // Takes the parts out of the layout and drops it; the next layout pass
    // asks createLayout() again. The parts themselves are kept.
    virtual void clearLayout();

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
        QWidget *widget = nullptr) override;
    void setGeometry(const QRectF &rect) override;

Q_SIGNALS:
    void clicked();

protected:
    bool event(QEvent *event) override;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void ungrabMouseEvent(QEvent *event) override;

private:
    void ensureLayout();
    void setPressed(bool pressed);

    ItemStyle m_itemStyle;
    ZuLabel *m_title = nullptr;
    ZuLabel *m_subtitle = nullptr;
    ZuImageWidget *m_image = nullptr;
    QGraphicsGridLayout *m_ownGrid = nullptr;
    bool m_layoutCreated = false;
    bool m_creatingLayout = false;
    bool m_pressed = false;
};
