#include "zubuttonmodel.h"

ZuButtonModel::ZuButtonModel(QObject *parent)
    : ZuWidgetModel(parent)
{ }

ZuButtonModel::~ZuButtonModel() = default;

QString ZuButtonModel::text() const
{
    return m_text;
}

void ZuButtonModel::setText(const QString &text)
{
    if (m_text == text) {
        return;
    }
    m_text = text;
    Q_EMIT modified(QStringLiteral("text"));
}

QString ZuButtonModel::iconID() const
{
    return m_iconID;
}

void ZuButtonModel::setIconID(const QString &id)
{
    if (m_iconID == id) {
        return;
    }
    m_iconID = id;
    Q_EMIT modified(QStringLiteral("iconID"));
}

bool ZuButtonModel::checkable() const
{
    return m_checkable;
}

void ZuButtonModel::setCheckable(bool checkable)
{
    if (m_checkable == checkable) {
        return;
    }
    m_checkable = checkable;
    Q_EMIT modified(QStringLiteral("checkable"));
}

bool ZuButtonModel::checked() const
{
    return m_checked;
}

void ZuButtonModel::setChecked(bool checked)
{
    if (m_checked == checked) {
        return;
    }
    m_checked = checked;
    Q_EMIT modified(QStringLiteral("checked"));
}

bool ZuButtonModel::down() const
{
    return m_down;
}

void ZuButtonModel::setDown(bool down)
{
    if (m_down == down) {
        return;
    }
    m_down = down;
    Q_EMIT modified(QStringLiteral("down"));
}
