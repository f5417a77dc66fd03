#include "zustyle.h"

#include <QStringList>

namespace {
const QColor defaultTextColor(0xff, 0xff, 0xff);
const qreal defaultFontPixelSize = 24;
const QString defaultFontFamily = QStringLiteral("DejaVu Sans");
} // namespace

ZuStyle::ZuStyle(const QString &name, const QHash<QString, QString> &properties)
    : m_name(name)
    , m_properties(properties)
{ }

QString ZuStyle::value(const QString &key, const QString &fallback) const
{
    return m_properties.value(key, fallback);
}

QColor ZuStyle::color(const QString &key, const QColor &fallback) const
{
    const auto it = m_properties.constFind(key);
    if (it == m_properties.constEnd()) {
        return fallback;
    }
    const QColor parsed(*it);
    return parsed.isValid() ? parsed : fallback;
}

qreal ZuStyle::number(const QString &key, qreal fallback) const
{
    const auto it = m_properties.constFind(key);
    if (it == m_properties.constEnd()) {
        return fallback;
    }
    bool ok = false;
    const qreal parsed = it->toDouble(&ok);
    return ok && qIsFinite(parsed) ? parsed : fallback;
}

QMarginsF ZuStyle::margins(const QString &key) const
{
    const QStringList parts = value(key).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<qreal> values;
    for (const QString &part : parts) {
        bool ok = false;
        const qreal parsed = part.toDouble(&ok);
        if (!ok || !qIsFinite(parsed)) {
            return QMarginsF();
        }
        values.append(parsed);
    }
    if (values.size() == 1) {
        return QMarginsF(values[0], values[0], values[0], values[0]);
    }
    if (values.size() == 4) {
        return QMarginsF(values[0], values[1], values[2], values[3]);
    }
    return QMarginsF();
}

QFont ZuStyle::font() const
{
    QFont result(value(QStringLiteral("font-family"), defaultFontFamily));
    // Falls back to any sans-serif face when the family is not installed.
    result.setStyleHint(QFont::SansSerif);
    result.setPixelSize(qMax(1, qRound(number(QStringLiteral("font-size"), defaultFontPixelSize))));
    const QString weight = value(QStringLiteral("font-weight"));
    if (weight == QLatin1String("bold")) {
        result.setWeight(QFont::Bold);
    } else if (weight == QLatin1String("light")) {
        result.setWeight(QFont::Light);
    } else if (weight == QLatin1String("demibold")) {
        result.setWeight(QFont::DemiBold);
    } else {
        result.setWeight(QFont::Normal);
    }
    return result;
}

QColor ZuStyle::textColor() const
{
    return color(QStringLiteral("color"), defaultTextColor);
}

QColor ZuStyle::backgroundColor() const
{
    return color(QStringLiteral("background-color"));
}

QMarginsF ZuStyle::contentMargins() const
{
    return margins(QStringLiteral("margins")) + margins(QStringLiteral("padding"));
}
