#pragma once

#include "zuwidgetmodel.h"

#include <QString>

// Content and state of a ZuButton.
class ZuButtonModel : public ZuWidgetModel
{
    Q_OBJECT

public:
    explicit ZuButtonModel(QObject *parent = nullptr);
    ~ZuButtonModel() override;

    QString text() const;
    void setText(const QString &text);
    QString iconID() const;
    void setIconID(const QString &id);
    bool checkable() const;
    void setCheckable(bool checkable);
    bool checked() const;
    void setChecked(bool checked);
    bool down() const;
    void setDown(bool down);

private:
    QString m_text;
    QString m_iconID;
    bool m_checkable = false;
    bool m_checked = false;
    bool m_down = false;
};
