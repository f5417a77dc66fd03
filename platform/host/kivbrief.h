#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// What the settings host reads to draw an applet's line in its list of
// applets. Every operation has a default that draws a plain line: the applet's
// title and, when there is one, a value text beneath it.
class KivBrief : public QObject
{
    Q_OBJECT
public:
    // The kinds of line the host can draw.
    enum WidgetType {
        LabelType = 0, // title and value text
        ToggleType = 1, // title and a switch bound to toggle()/setToggle()
        SliderType = 2, // title and a slider over minValue()..maxValue()
        ImageType = 3, // title with image()
    };
    Q_ENUM(WidgetType)

    explicit KivBrief(QObject *parent = nullptr);
    ~KivBrief() override;

    // One of WidgetType.
    virtual int widgetTypeID() const;
    // The second line under the title; a null string means "no value line".
    virtual QString valueText() const;
    // Theme image id of the line's icon; null for none.
    virtual QString icon() const;
    // Theme image id of the toggle's icon for ToggleType lines.
    virtual QString toggleIconId() const;
    virtual Qt::Alignment align() const;
    virtual bool toggle() const;
    virtual void setToggle(bool toggle);
    virtual QString image() const;
    // Overrides the applet's title on the line when not null.
    virtual QString titleText() const;
    virtual QString helpId() const;
    virtual int minValue() const;
    virtual int maxValue() const;
    virtual int sliderSteps() const;
    virtual void setValue(const QVariant &value);
    virtual QVariant value() const;
    virtual QStringList possibleValues() const;

Q_SIGNALS:
    // Tells the host to read the brief again and redraw the line.
    void valuesChanged();
};
