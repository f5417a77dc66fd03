#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QMarginsF>
#include <QString>

// One resolved look from the theme: the key/value pairs of a theme section
// with typed accessors. A default-constructed style is the toolkit's default
// look (no background, light text of the default size).
class ZuStyle
{
public:
    ZuStyle() = default;
    explicit ZuStyle(const QString &name, const QHash<QString, QString> &properties);

    QString name() const { return m_name; }
    bool contains(const QString &key) const { return m_properties.contains(key); }
    QString value(const QString &key, const QString &fallback = QString()) const;
    // A colour value; the fallback when the key is absent or not a colour.
    QColor color(const QString &key, const QColor &fallback = QColor()) const;
    // A number value; the fallback when the key is absent or not a number.
    qreal number(const QString &key, qreal fallback = 0) const;
    // "a" for all four sides or "left top right bottom"; zero when absent.
    QMarginsF margins(const QString &key) const;

    // The text font: font-family, font-size (pixels) and font-weight.
    QFont font() const;
    QColor textColor() const;
    // Invalid when the style paints no background.
    QColor backgroundColor() const;
    // Room around the content: margins plus padding.
    QMarginsF contentMargins() const;

private:
    QString m_name;
    QHash<QString, QString> m_properties;
};
