#include "appletlist.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

namespace {
constexpr qreal RowHeight = 96;
constexpr qreal Margin = 24;
constexpr int TitlePixelSize = 28;
constexpr int ValuePixelSize = 22;
const QColor TitleColor(Qt::white);
const QColor ValueColor(0x8c, 0xb4, 0xe6);
const QColor PressedColor(0x30, 0x30, 0x30);
const QColor DividerColor(0x40, 0x40, 0x40);
} // namespace

AppletList::AppletList(QGraphicsItem *parent)
    : QGraphicsWidget(parent)
{
    setObjectName(QStringLiteral("HostAppletList"));
}

void AppletList::setRows(const QStringList &titles, const QStringList &values)
{
    m_titles = titles;
    m_values = values;
    update();
}

void AppletList::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->fillRect(rect(), Qt::black);
    for (int i = 0; i < m_titles.size(); ++i) {
        const QRectF row(0, i * RowHeight, size().width(), RowHeight);
        if (i == m_pressedRow) {
            painter->fillRect(row, PressedColor);
        }
        const QString value = m_values.value(i);
        const QRectF text = row.adjusted(Margin, 0, -Margin, 0);
        QFont font = painter->font();
        font.setPixelSize(TitlePixelSize);
        painter->setFont(font);
        painter->setPen(TitleColor);
        if (value.isEmpty()) {
            painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, m_titles.at(i));
        } else {
            painter->drawText(text.adjusted(0, 0, 0, -RowHeight / 2),
                Qt::AlignLeft | Qt::AlignBottom, m_titles.at(i));
            font.setPixelSize(ValuePixelSize);
            painter->setFont(font);
            painter->setPen(ValueColor);
            painter->drawText(
                text.adjusted(0, RowHeight / 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, value);
        }
        painter->setPen(DividerColor);
        painter->drawLine(row.bottomLeft(), row.bottomRight());
    }
}

void AppletList::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_pressedRow = rowAt(event->pos());
    update();
    event->accept();
}

void AppletList::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    const int row = rowAt(event->pos());
    const bool tapped = row >= 0 && row == m_pressedRow;
    m_pressedRow = -1;
    update();
    if (tapped) {
        Q_EMIT activated(row);
    }
}

int AppletList::rowAt(const QPointF &pos) const
{
    if (pos.x() < 0 || pos.x() >= size().width() || pos.y() < 0) {
        return -1;
    }
    const int row = static_cast<int>(pos.y() / RowHeight);
    return row < m_titles.size() ? row : -1;
}
