#pragma once

#include <QGraphicsWidget>
#include <QStringList>

// The host's own list of applets, shown while no page is open: one row per
// applet with its title and, beneath it, its brief's value text.
class AppletList : public QGraphicsWidget
{
    Q_OBJECT

public:
    explicit AppletList(QGraphicsItem *parent = nullptr);

    // titles and values run in parallel; a null value draws no value line.
    void setRows(const QStringList &titles, const QStringList &values);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
        QWidget *widget = nullptr) override;

Q_SIGNALS:
    void activated(int index);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    int rowAt(const QPointF &pos) const;

    QStringList m_titles;
    QStringList m_values;
    int m_pressedRow = -1;
};
