#include "faultinjector.h"

#include <QTimer>

const QString FaultInjector::ErrorName = QStringLiteral("com.tavik.sim.Error.Injected");

FaultInjector::FaultInjector(QObject *parent)
    : QObject(parent)
    , m_pending(new QObject(this))
{ }

bool FaultInjector::parseKind(const QString &text, Kind *kind)
{
    static const QHash<QString, Kind> kinds {
        { QStringLiteral("none"), Kind::None },
        { QStringLiteral("error"), Kind::Error },
        { QStringLiteral("noargs"), Kind::NoArgs },
        { QStringLiteral("wrongtype"), Kind::WrongType },
        { QStringLiteral("late"), Kind::Late },
        { QStringLiteral("never"), Kind::Never },
    };
    const auto it = kinds.constFind(text);
    if (it == kinds.constEnd()) {
        return false;
    }
    *kind = it.value();
    return true;
}

void FaultInjector::setFault(const QString &method, Kind kind, uint delayMs)
{
    if (kind == Kind::None) {
        m_faults.remove(method);
    } else {
        m_faults.insert(method, { kind, delayMs });
    }
}

FaultInjector::Kind FaultInjector::faultFor(const QString &method) const
{
    return m_faults.value(method, { Kind::None, 0 }).kind;
}

void FaultInjector::clear()
{
    m_faults.clear();
    delete m_pending;
    m_pending = new QObject(this);
}

void FaultInjector::answer(const QDBusConnection &connection, const QDBusMessage &call,
    const QVariantList &normal, const QVariant &wrongType, const std::function<void()> &proceed)
{
    const Fault fault = m_faults.value(call.member(), { Kind::None, 0 });
    switch (fault.kind) {
    case Kind::None:
        connection.send(call.createReply(normal));
        break;
    case Kind::Error:
        connection.send(call.createErrorReply(
            ErrorName, QStringLiteral("%1 failed on request").arg(call.member())));
        return;
    case Kind::NoArgs:
        connection.send(call.createReply());
        break;
    case Kind::WrongType:
        connection.send(call.createReply(wrongType));
        break;
    case Kind::Late: {
        const QDBusMessage reply = call.createReply(normal);
        QTimer::singleShot(int(fault.delayMs), m_pending, [connection, reply, proceed]() {
            connection.send(reply);
            proceed();
        });
        return;
    }
    case Kind::Never:
        break;
    }
    proceed();
}
