#include "zulabel.h"

#include "zulabelmodel.h"
#include "zuqtcompat.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QWidget>

namespace {

const qreal unlimitedSize = QWIDGETSIZE_MAX;
const QString ellipsis = QStringLiteral("\u2026");

QTextOption textOption(const ZuLabelModel *model)
{
    QTextOption option(model->alignment());
    option.setWrapMode(model->wordWrap() ? model->wrapMode() : QTextOption::NoWrap);
    return option;
}

// Height of the text laid out at the given width, the way paint() draws it.
qreal wrappedHeight(const QString &text, const QFont &font, const QTextOption &option, qreal width)
{
    QTextLayout layout(text, font);
    layout.setTextOption(option);
    const QFontMetricsF metrics(font);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax<qreal>(1, width));
        height += metrics.lineSpacing();
    }
    layout.endLayout();
    return qMax(height, ZuQtCompat::textHeight(metrics));
}

qreal widestWord(const QString &text, const QFontMetricsF &metrics)
{
    qreal widest = 0;
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        widest = qMax(widest, metrics.horizontalAdvance(word));
    }
    return widest;
}

} // namespace

ZuLabel::ZuLabel(QGraphicsItem *parent, ZuLabelModel *model)
    : ZuWidgetController(model ? model : new ZuLabelModel, parent)
{
    connect(this->model(), &ZuLabelModel::modified, this, &ZuLabel::onModelModified);
    onModelModified(QStringLiteral("wordWrap"));
}

ZuLabel::~ZuLabel() = default;

ZuLabelModel *ZuLabel::model() const
{
    return static_cast<ZuLabelModel *>(ZuWidgetController::model());
}

void ZuLabel::setText(const QString &text)
{
    model()->setText(text);
}

QString ZuLabel::text() const
{
    return model()->text();
}

void ZuLabel::setTextElide(bool elide)
{
    model()->setTextElide(elide);
}

bool ZuLabel::textElide() const
{
    return model()->textElide();
}

void ZuLabel::setAlignment(Qt::Alignment alignment)
{
    model()->setAlignment(alignment);
}

Qt::Alignment ZuLabel::alignment() const
{
    return model()->alignment();
}

void ZuLabel::setWordWrap(bool wrap)
{
    model()->setWordWrap(wrap);
}

bool ZuLabel::wordWrap() const
{
    return model()->wordWrap();
}

void ZuLabel::setWrapMode(QTextOption::WrapMode mode)
{
    model()->setWrapMode(mode);
}

QTextOption::WrapMode ZuLabel::wrapMode() const
{
    return model()->wrapMode();
}

void ZuLabel::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    ZuWidgetController::paint(painter, option, widget);
    const QString content = text();
    if (content.isEmpty()) {
        return;
    }
    const ZuStyle look = style();
    const QFont font = look.font();
    const QRectF area = styledContentsRect();
    painter->save();
    painter->setFont(font);
    painter->setPen(look.textColor());
    painter->setClipRect(rect());
    if (wordWrap()) {
        QTextOption wrapping = textOption(model());
        painter->drawText(area, content, wrapping);
    } else {
        QString line = content;
        if (textElide()) {
            line = QFontMetricsF(font).elidedText(content, Qt::ElideRight, area.width());
        }
        painter->drawText(area, int(alignment()) | Qt::TextSingleLine, line);
    }
    painter->restore();
}

QSizeF ZuLabel::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    const QSizeF base = ZuWidgetController::sizeHint(which, constraint);
    if (which == Qt::MaximumSize) {
        return QSizeF(unlimitedSize, unlimitedSize);
    }
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    getContentsMargins(&left, &top, &right, &bottom);
    const QFont font = style().font();
    const QFontMetricsF metrics(font);
    const QString content = text();
    const qreal lineWidth = metrics.horizontalAdvance(content);

    qreal width = lineWidth;
    qreal height = ZuQtCompat::textHeight(metrics);
    if (which == Qt::MinimumSize) {
        if (wordWrap()) {
            width = widestWord(content, metrics);
        } else if (textElide()) {
            width = metrics.horizontalAdvance(ellipsis);
        }
    }
    if (wordWrap() && constraint.width() >= 0) {
        width = constraint.width() - left - right;
        height = wrappedHeight(content, font, textOption(model()), width);
    }
    return base.expandedTo(QSizeF(width + left + right, height + top + bottom));
}

void ZuLabel::onModelModified(const QString &member)
{
    if (member == QLatin1String("wordWrap")) {
        // Layouts only ask for height-for-width when the policy says so.
        QSizePolicy policy = sizePolicy();
        policy.setHeightForWidth(wordWrap());
        setSizePolicy(policy);
    }
    updateGeometry();
    update();
}
