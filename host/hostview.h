#pragma once

#include <QGraphicsView>

// The host's phone-sized screen. The Escape and Back keys ask to go back.
class HostView : public QGraphicsView
{
    Q_OBJECT

public:
    static constexpr int ScreenWidth = 480;
    static constexpr int ScreenHeight = 854;

    explicit HostView(QGraphicsScene *scene, QWidget *parent = nullptr);

Q_SIGNALS:
    void backRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
