#include "report.h"

#include <QJsonArray>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {
const int LabelWidth = 44;
const int ValueWidth = 14;
const int RttWidth = 10;
const int TimeDecimals = 3;
const int RatioDecimals = 2;

QString formatValue(double value, Report::Unit unit)
{
    switch (unit) {
    case Report::Milliseconds:
        return QString::number(value, 'f', TimeDecimals) + QStringLiteral(" ms");
    case Report::Kilobytes:
        return QString::number(qRound64(value)) + QStringLiteral(" kB");
    case Report::Ratio:
        return QString::number(value, 'f', RatioDecimals) + QStringLiteral(" x");
    case Report::Count:
        break;
    }
    return QString::number(qRound64(value));
}

QString unitName(Report::Unit unit)
{
    switch (unit) {
    case Report::Milliseconds:
        return QStringLiteral("ms");
    case Report::Kilobytes:
        return QStringLiteral("kB");
    case Report::Ratio:
        return QStringLiteral("ratio");
    case Report::Count:
        break;
    }
    return QStringLiteral("count");
}
} // namespace

double Report::percentile(QVector<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int rank = int(std::ceil(p / 100.0 * values.size()));
    return values.at(qBound(0, rank - 1, values.size() - 1));
}

void Report::add(
    const QString &key, const QString &label, double value, Unit unit, const QString &note)
{
    m_rows.append({ key, label, value, unit, note });
}

void Report::addTarget(const QString &key, const QString &label, const QString &limit, bool held)
{
    m_targets.append({ key, label, limit, held });
}

void Report::addDetail(const QString &key, const QJsonValue &value)
{
    m_details.insert(key, value);
}

QString Report::table() const
{
    QStringList lines;
    lines << QStringLiteral("%1 %2 %3  %4")
                 .arg(QStringLiteral("figure"), -LabelWidth)
                 .arg(QStringLiteral("value"), ValueWidth)
                 .arg(QStringLiteral("x RTT"), RttWidth)
                 .arg(QStringLiteral("note"));
    for (const Row &row : m_rows) {
        const QString multiple = row.unit == Milliseconds && m_rttMs > 0
            ? QString::number(row.value / m_rttMs, 'f', 1)
            : QString();
        lines << QStringLiteral("%1 %2 %3  %4")
                     .arg(row.label, -LabelWidth)
                     .arg(formatValue(row.value, row.unit), ValueWidth)
                     .arg(multiple, RttWidth)
                     .arg(row.note)
                     .trimmed();
    }
    lines << QString() << QStringLiteral("targets");
    for (const Target &target : m_targets) {
        lines << QStringLiteral("  %1 %2  %3")
                     .arg(target.held ? QStringLiteral("held  ") : QStringLiteral("MISSED"))
                     .arg(target.label)
                     .arg(target.limit);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QJsonObject Report::json() const
{
    QJsonObject figures;
    for (const Row &row : m_rows) {
        QJsonObject figure { { QStringLiteral("label"), row.label },
            { QStringLiteral("value"), row.value },
            { QStringLiteral("unit"), unitName(row.unit) } };
        if (row.unit == Milliseconds && m_rttMs > 0)
            figure.insert(QStringLiteral("rtt_multiple"), row.value / m_rttMs);
        if (!row.note.isEmpty())
            figure.insert(QStringLiteral("note"), row.note);
        figures.insert(row.key, figure);
    }
    QJsonObject targets;
    for (const Target &target : m_targets) {
        targets.insert(target.key,
            QJsonObject { { QStringLiteral("label"), target.label },
                { QStringLiteral("limit"), target.limit },
                { QStringLiteral("held"), target.held } });
    }
    return QJsonObject { { QStringLiteral("rtt_ms"), m_rttMs },
        { QStringLiteral("figures"), figures }, { QStringLiteral("targets"), targets },
        { QStringLiteral("details"), m_details } };
}

bool Report::allHeld() const
{
    return std::all_of(
        m_targets.cbegin(), m_targets.cend(), [](const Target &target) { return target.held; });
}
