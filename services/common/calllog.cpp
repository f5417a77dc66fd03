#include "calllog.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

CallLog::CallLog(QObject *parent)
    : QObject(parent)
{ }

void CallLog::record(const QDBusMessage &call)
{
    record(call, call.arguments());
}

void CallLog::record(const QDBusMessage &call, const QVariantList &arguments)
{
    m_calls.append({ call.member(), call.signature(), argumentsText(arguments), call.service() });
}

void CallLog::clear()
{
    m_calls.clear();
}

QString CallLog::toJson() const
{
    QJsonArray array;
    for (const Call &call : m_calls) {
        array.append(QJsonObject { { QStringLiteral("method"), call.method },
            { QStringLiteral("signature"), call.signature },
            { QStringLiteral("arguments"), call.arguments },
            { QStringLiteral("sender"), call.sender } });
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QString CallLog::argumentsText(const QVariantList &arguments)
{
    QStringList texts;
    for (const QVariant &argument : arguments) {
        switch (static_cast<QMetaType::Type>(argument.userType())) {
        case QMetaType::Bool:
            texts.append(argument.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
            break;
        case QMetaType::QString:
            texts.append(QLatin1Char('"') + argument.toString() + QLatin1Char('"'));
            break;
        default:
            if (argument.canConvert<QString>()) {
                texts.append(argument.toString());
            } else {
                // Containers and structures: their D-Bus signature is enough
                // to tell a wrong call apart.
                texts.append(QLatin1Char('<') + argument.value<QDBusArgument>().currentSignature()
                    + QLatin1Char('>'));
            }
            break;
        }
    }
    return texts.join(QStringLiteral(", "));
}
