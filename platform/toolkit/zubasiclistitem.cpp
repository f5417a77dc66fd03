#include "zubasiclistitem.h"
#include "zucommonstyles.h"

#include "zuimagewidget.h"
#include "zulabel.h"

#include <QCoreApplication>
#include <QGraphicsGridLayout>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

namespace {

// Room between the icon and the texts of the icon styles.
const qreal iconSpacing = 16;
const QColor defaultPressedColor(0x2a, 0x2a, 0x2a);

bool hasSubtitleRow(ZuBasicListItem::ItemStyle style)
{
    return style == ZuBasicListItem::TitleWithSubtitle
        || style == ZuBasicListItem::IconWithTitleAndSubtitle;
}

// Posted by the constructor: the first turn of the event loop after
// construction is the latest moment for the row to get its layout.
QEvent::Type layoutPendingEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace

ZuBasicListItem::ZuBasicListItem(ZuBasicListItem::ItemStyle style, QGraphicsItem *parent)
    : ZuWidgetController(parent)
    , m_itemStyle(style)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    // Rows keep the height their look and content ask for; a list with room
    // to spare leaves it below the last row.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setStyleName(QLatin1String(ZuCommonStyle::Panel));
    // createLayout() is virtual: calling it here would run this class's
    // version even for subclasses. Ask for it once the object is complete.
    QCoreApplication::postEvent(this, new QEvent(layoutPendingEvent()));
}

ZuBasicListItem::~ZuBasicListItem() = default;

ZuBasicListItem::ItemStyle ZuBasicListItem::itemStyle() const
{
    return m_itemStyle;
}

ZuLabel *ZuBasicListItem::titleLabelWidget()
{
    if (!m_title) {
        m_title = new ZuLabel(this);
        m_title->setObjectName(QStringLiteral("ZuBasicListItemTitle"));
        m_title->setStyleName(QLatin1String(hasSubtitleRow(m_itemStyle) ? ZuCommonStyle::Title : ZuCommonStyle::SingleTitle));
        m_title->setTextElide(true);
    }
    return m_title;
}

ZuLabel *ZuBasicListItem::subtitleLabelWidget()
{
    if (!m_subtitle) {
        m_subtitle = new ZuLabel(this);
        m_subtitle->setObjectName(QStringLiteral("ZuBasicListItemSubtitle"));
        m_subtitle->setStyleName(QLatin1String(ZuCommonStyle::Subtitle));
        m_subtitle->setTextElide(true);
    }
    return m_subtitle;
}

ZuImageWidget *ZuBasicListItem::imageWidget()
{
    if (!m_image) {
        m_image = new ZuImageWidget(this);
        m_image->setObjectName(QStringLiteral("ZuBasicListItemImage"));
    }
    return m_image;
}

void ZuBasicListItem::setImageWidget(ZuImageWidget *widget)
{
    if (widget == m_image) {
        // Replacing a widget by itself must not destroy what stays in use.
        return;
    }
    if (m_image) {
        if (QGraphicsLayout *current = layout()) {
            for (int i = 0; i < current->count(); ++i) {
                if (current->itemAt(i) == m_image) {
                    current->removeAt(i);
                    break;
                }
            }
        }
        delete m_image;
        m_image = nullptr;
    }
    if (!widget) {
        return;
    }
    m_image = widget;
    m_image->setParentItem(this);
    const bool iconStyle = m_itemStyle == IconWithTitle || m_itemStyle == IconWithTitleAndSubtitle;
    if (iconStyle && m_ownGrid && layout() == m_ownGrid) {
        m_ownGrid->addItem(m_image, 0, 0, hasSubtitleRow(m_itemStyle) ? 2 : 1, 1, Qt::AlignCenter);
    }
}

QString ZuBasicListItem::title() const
{
    return m_title ? m_title->text() : QString();
}

void ZuBasicListItem::setTitle(const QString &title)
{
    titleLabelWidget()->setText(title);
}

QString ZuBasicListItem::subtitle() const
{
    return m_subtitle ? m_subtitle->text() : QString();
}

void ZuBasicListItem::setSubtitle(const QString &subtitle)
{
    subtitleLabelWidget()->setText(subtitle);
}

bool ZuBasicListItem::isLayoutCreated() const
{
    return m_layoutCreated;
}

QGraphicsLayout *ZuBasicListItem::createLayout()
{
    auto *grid = new QGraphicsGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    const Qt::Alignment textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    ZuLabel *title = titleLabelWidget();
    title->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    int textColumn = 0;
    if (m_itemStyle == IconWithTitle || m_itemStyle == IconWithTitleAndSubtitle) {
        const int rows = hasSubtitleRow(m_itemStyle) ? 2 : 1;
        grid->addItem(imageWidget(), 0, 0, rows, 1, Qt::AlignCenter);
        grid->setColumnSpacing(0, iconSpacing);
        textColumn = 1;
    }
    grid->addItem(title, 0, textColumn, 1, 1, textAlignment);
    if (hasSubtitleRow(m_itemStyle)) {
        ZuLabel *subtitle = subtitleLabelWidget();
        subtitle->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        grid->addItem(subtitle, 1, textColumn, 1, 1, textAlignment);
    }
    grid->setColumnStretchFactor(textColumn, 1);
    m_ownGrid = grid;
    return grid;
}

void ZuBasicListItem::clearLayout()
{
    m_ownGrid = nullptr;
    m_layoutCreated = false;
    // Deleting the layout takes the parts out of it; the parts are our child
    // items and stay.
    setLayout(nullptr);
    QCoreApplication::postEvent(this, new QEvent(layoutPendingEvent()));
}

void ZuBasicListItem::paint(
    QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    ZuWidgetController::paint(painter, option, widget);
    if (m_pressed) {
        painter->fillRect(
            rect(), style().color(QStringLiteral("pressed-background-color"), defaultPressedColor));
    }
}

void ZuBasicListItem::setGeometry(const QRectF &rect)
{
    if (parentLayoutItem()) {
        ensureLayout();
    }
    ZuWidgetController::setGeometry(rect);
}

bool ZuBasicListItem::event(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == layoutPendingEvent()) {
        ensureLayout();
        return true;
    }
    if (type == QEvent::Polish || type == QEvent::Show || type == QEvent::LayoutRequest) {
        ensureLayout();
    }
    return ZuWidgetController::event(event);
}

QSizeF ZuBasicListItem::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    // A row placed in a layout is being laid out: it needs its own layout
    // now. Without a parent layout this may be the constructor's own
    // geometry update, when a subclass's createLayout() cannot run yet.
    if (parentLayoutItem()) {
        const_cast<ZuBasicListItem *>(this)->ensureLayout();
    }
    return ZuWidgetController::sizeHint(which, constraint);
}

void ZuBasicListItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    setPressed(true);
}

void ZuBasicListItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    setPressed(rect().contains(event->pos()));
}

void ZuBasicListItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const bool tapped = m_pressed && rect().contains(event->pos());
    setPressed(false);
    if (tapped) {
        Q_EMIT clicked();
    }
}

void ZuBasicListItem::ungrabMouseEvent(QEvent *event)
{
    Q_UNUSED(event)
    setPressed(false);
}

void ZuBasicListItem::ensureLayout()
{
    if (m_layoutCreated || m_creatingLayout) {
        return;
    }
    m_creatingLayout = true;
    QGraphicsLayout *created = createLayout();
    m_creatingLayout = false;
    m_layoutCreated = true;
    if (created && created != layout()) {
        setLayout(created);
    }
}

void ZuBasicListItem::setPressed(bool pressed)
{
    if (m_pressed != pressed) {
        m_pressed = pressed;
        update();
    }
}
