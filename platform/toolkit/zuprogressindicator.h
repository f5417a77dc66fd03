#pragma once

#include "zuwidgetcontroller.h"

#include <QBasicTimer>

// A busy indicator. In unknown-duration mode the spinner turns without end,
// but it only animates (ticks and repaints) while it is visible.
class ZuProgressIndicator : public ZuWidgetController
{
    Q_OBJECT

public:
    static const QString spinnerType;

    explicit ZuProgressIndicator(QGraphicsItem *parent = nullptr,
        const QString &viewType = ZuProgressIndicator::spinnerType);
    ~ZuProgressIndicator() override;

    // Starts or stops the endless animation.
    void setUnknownDuration(bool unknownDuration);
    // The mode, whether or not the indicator is visible right now.
    bool unknownDuration() const;
    // Whether the animation is running at this moment.
    bool isAnimating() const;
    // Animation step, advancing once per frame while animating.
    int frame() const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
        QWidget *widget = nullptr) override;

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void updateAnimation();

    bool m_unknownDuration = false;
    int m_frame = 0;
    QBasicTimer m_timer;
};
