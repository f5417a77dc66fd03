#pragma once

#include <QObject>

// The data side of a controller widget. Controllers keep their content here
// and repaint when the model reports a change.
class ZuWidgetModel : public QObject
{
    Q_OBJECT

public:
    explicit ZuWidgetModel(QObject *parent = nullptr);
    ~ZuWidgetModel() override;

Q_SIGNALS:
    // A value of the model changed; member names the value (e.g. "text").
    void modified(const QString &member);
};
