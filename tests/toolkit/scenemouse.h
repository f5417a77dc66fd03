#pragma once

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>

// Mouse input delivered the way a view delivers it: to the scene, which finds
// the item under the point and lets it grab the mouse.
inline void sendSceneMouse(QGraphicsScene *scene, QEvent::Type type, const QPointF &scenePos,
    Qt::MouseButton button = Qt::LeftButton)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(scenePos);
    event.setScreenPos(scenePos.toPoint());
    event.setButtonDownScenePos(button, scenePos);
    event.setButtonDownScreenPos(button, scenePos.toPoint());
    event.setButton(button);
    event.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : button);
    QCoreApplication::sendEvent(scene, &event);
}

// Press at one point, slide to the other if it differs, release there.
inline void sceneTap(QGraphicsScene *scene, const QPointF &press, const QPointF &release,
    Qt::MouseButton button = Qt::LeftButton)
{
    sendSceneMouse(scene, QEvent::GraphicsSceneMousePress, press, button);
    if (press != release) {
        sendSceneMouse(scene, QEvent::GraphicsSceneMouseMove, release, button);
    }
    sendSceneMouse(scene, QEvent::GraphicsSceneMouseRelease, release, button);
}
