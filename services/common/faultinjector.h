#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QObject>
#include <QVariant>

#include <functional>

// Shapes the replies of a reference peer: each method can be made to fail,
// to answer with the wrong arguments, to answer late or never.
class FaultInjector : public QObject
{
    Q_OBJECT

public:
    enum class Kind { None, Error, NoArgs, WrongType, Late, Never };

    static const QString ErrorName;

    explicit FaultInjector(QObject *parent = nullptr);

    static bool parseKind(const QString &text, Kind *kind);

    void setFault(const QString &method, Kind kind, uint delayMs);
    // The fault set for a method, so that a peer whose outcome depends on
    // its state can decide itself when there is none.
    Kind faultFor(const QString &method) const;
    // Forgets all faults, and late replies not yet sent.
    void clear();

    // Replies to a call whose handler has set a delayed reply: with the
    // normal arguments, or as the method's fault says, and then runs proceed.
    // An error fault refuses the request, so proceed does not run. A late
    // reply runs proceed after it has gone out; "never" runs it at once.
    void answer(const QDBusConnection &connection, const QDBusMessage &call,
        const QVariantList &normal, const QVariant &wrongType,
        const std::function<void()> &proceed);

private:
    struct Fault
    {
        Kind kind;
        uint delayMs;
    };
    QHash<QString, Fault> m_faults;
    // Parent of the timers of late replies, so that clear() drops them too.
    QObject *m_pending;
};
