#pragma once

#include <QJsonObject>
#include <QString>
#include <QVector>

// The benchmark's results: one row per figure, times also as multiples of
// the bus round trip, and the targets each marked held or missed. Printed as
// a table and written as JSON with the same content.
class Report
{
public:
    enum Unit { Milliseconds, Count, Kilobytes, Ratio };

    // p in 0..100; nearest rank, so the figure is one that was measured.
    static double percentile(QVector<double> values, double p);

    void setRtt(double ms) { m_rttMs = ms; }
    double rtt() const { return m_rttMs; }

    void add(const QString &key, const QString &label, double value, Unit unit,
        const QString &note = QString());
    // A target: what it compares, its limit, and whether it held.
    void addTarget(const QString &key, const QString &label, const QString &limit, bool held);
    void addDetail(const QString &key, const QJsonValue &value);

    QString table() const;
    QJsonObject json() const;
    bool allHeld() const;

private:
    struct Row
    {
        QString key;
        QString label;
        double value;
        Unit unit;
        QString note;
    };
    struct Target
    {
        QString key;
        QString label;
        QString limit;
        bool held;
    };

    double m_rttMs = 0;
    QVector<Row> m_rows;
    QVector<Target> m_targets;
    QJsonObject m_details;
};
