#pragma once

#include "zuwidgetcontroller.h"

class ZuButtonModel;

// A push button, on/off switch (view type switchType) or icon button
// (iconType). A press and release inside the button is a tap: a checkable
// button changes its state, then emits clicked.
class ZuButton : public ZuWidgetController
{
    Q_OBJECT

public:
    static const QString switchType;
    static const QString iconType;

    // With a null model the button makes its own.
    explicit ZuButton(QGraphicsItem *parent = nullptr, ZuButtonModel *model = nullptr);
    ~ZuButton() override;

    ZuButtonModel *model() const;

    void setText(const QString &text);
    QString text() const;
    void setIconID(const QString &id);
    QString iconID() const;
    void setCheckable(bool checkable);
    bool isCheckable() const;
    bool isChecked() const;
    bool isDown() const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
        QWidget *widget = nullptr) override;

public Q_SLOTS:
    // Emits toggled when the state really changes (and signals are not blocked).
    void setChecked(bool checked);
    // Taps the button as if the user had.
    void click();

Q_SIGNALS:
    void pressed();
    void released();
    void clicked(bool checked = false);
    void toggled(bool checked);

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void ungrabMouseEvent(QEvent *event) override;

private:
    void paintSwitch(QPainter *painter, const QRectF &rect);
    void paintIcon(QPainter *painter, const QRectF &rect);
    void paintPushButton(QPainter *painter, const QRectF &rect);
};
