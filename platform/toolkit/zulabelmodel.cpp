#include "zulabelmodel.h"

ZuLabelModel::ZuLabelModel(QObject *parent)
    : ZuWidgetModel(parent)
{ }

ZuLabelModel::~ZuLabelModel() = default;

QString ZuLabelModel::text() const
{
    return m_text;
}

void ZuLabelModel::setText(const QString &text)
{
    if (m_text == text) {
        return;
    }
    m_text = text;
    Q_EMIT modified(QStringLiteral("text"));
}

bool ZuLabelModel::textElide() const
{
    return m_textElide;
}

void ZuLabelModel::setTextElide(bool elide)
{
    if (m_textElide == elide) {
        return;
    }
    m_textElide = elide;
    Q_EMIT modified(QStringLiteral("textElide"));
}

Qt::Alignment ZuLabelModel::alignment() const
{
    return m_alignment;
}

void ZuLabelModel::setAlignment(Qt::Alignment alignment)
{
    if (m_alignment == alignment) {
        return;
    }
    m_alignment = alignment;
    Q_EMIT modified(QStringLiteral("alignment"));
}

bool ZuLabelModel::wordWrap() const
{
    return m_wordWrap;
}

void ZuLabelModel::setWordWrap(bool wrap)
{
    if (m_wordWrap == wrap) {
        return;
    }
    m_wordWrap = wrap;
    Q_EMIT modified(QStringLiteral("wordWrap"));
}

QTextOption::WrapMode ZuLabelModel::wrapMode() const
{
    return m_wrapMode;
}

void ZuLabelModel::setWrapMode(QTextOption::WrapMode mode)
{
    if (m_wrapMode == mode) {
        return;
    }
    m_wrapMode = mode;
    Q_EMIT modified(QStringLiteral("wrapMode"));
}
