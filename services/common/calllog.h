#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

class QDBusMessage;

// What a reference peer received on its public interfaces, as it came over
// the wire, so that tests check the traffic itself.
class CallLog : public QObject
{
    Q_OBJECT

public:
    struct Call
    {
        QString method;
        QString signature;
        QString arguments;
        QString sender;
    };

    explicit CallLog(QObject *parent = nullptr);

    void record(const QDBusMessage &call);
    // Records the call with other arguments than it carried, e.g. with codes
    // masked; the message itself stays as it is.
    void record(const QDBusMessage &call, const QVariantList &arguments);
    void clear();
    QList<Call> calls() const { return m_calls; }
    // A JSON array of {"method", "signature", "arguments", "sender"}.
    QString toJson() const;

    // Arguments as text: strings quoted, booleans as true/false, numbers in
    // decimal, separated by ", ".
    static QString argumentsText(const QVariantList &arguments);

private:
    QList<Call> m_calls;
};
