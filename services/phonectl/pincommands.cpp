#include "pincommands.h"

#include "peernames.h"

#include <QRegularExpression>

const PeerInfo PinCommands::Peer = { QStringLiteral("pin"), { PeerNames::PinQuery::Service },
    PeerNames::PinQuery::ControlService, QStringLiteral("PIN query service") };

namespace {
const int MinDigits = 4;
const int MaxDigits = 8;
const QString PinInterface = PeerNames::PinQuery::ControlInterface;
} // namespace

QStringList PinCommands::commands() const
{
    return { QStringLiteral("pin") };
}

QStringList PinCommands::usage() const
{
    return {
        QStringLiteral(
            "pin enter CODE                     answer the dialogue's question (4-8 digits)"),
        QStringLiteral("pin cancel                         cancel the dialogue's question"),
        QStringLiteral("pin pending                        show what the dialogue asks for"),
        QStringLiteral("pin emit-enabled N [--count N]     emit PinQueryEnabled"),
        QStringLiteral("pin emit-unlock true|false [--count N]  emit SimLockUnlockComplete"),
    };
}

int PinCommands::run(const QStringList &arguments)
{
    QStringList rest = arguments.mid(1);
    uint count = 1;
    if (!takeCount(&rest, &count)) {
        return usageError(QStringLiteral("--count takes a number above 0"));
    }
    const QString action = rest.value(0);
    const QString value = rest.value(1);
    const int valuesWanted
        = (action == QLatin1String("cancel") || action == QLatin1String("pending")) ? 1 : 2;
    if (rest.size() != valuesWanted) {
        return usageError(QStringLiteral(
            "pin takes enter CODE, cancel, pending, emit-enabled N or emit-unlock true|false"));
    }

    static const QRegularExpression code(
        QStringLiteral("^[0-9]{%1,%2}$").arg(MinDigits).arg(MaxDigits));
    bool ok = false;
    const int state = value.toInt(&ok);
    bool success = false;
    if (action == QLatin1String("enter") && !code.match(value).hasMatch()) {
        return usageError(
            QStringLiteral("a code is %1 to %2 digits").arg(MinDigits).arg(MaxDigits));
    }
    if (action == QLatin1String("emit-enabled") && !ok) {
        return usageError(QStringLiteral("emit-enabled takes a whole number"));
    }
    if (action == QLatin1String("emit-unlock") && !parseBool(value, &success)) {
        return usageError(QStringLiteral("emit-unlock takes true or false"));
    }
    if (!QStringList { QStringLiteral("enter"), QStringLiteral("cancel"), QStringLiteral("pending"),
            QStringLiteral("emit-enabled"), QStringLiteral("emit-unlock") }
             .contains(action)) {
        return usageError(QStringLiteral("unknown pin action %1").arg(action));
    }
    if (!reachable(Peer)) {
        return Failure;
    }

    if (action == QLatin1String("enter")) {
        if (!control(Peer, PinInterface, QStringLiteral("EnterCode"), { value })) {
            return Failure;
        }
        // Never echo the code itself.
        say(QStringLiteral("code entered"));
    } else if (action == QLatin1String("cancel")) {
        if (!control(Peer, PinInterface, QStringLiteral("Cancel"))) {
            return Failure;
        }
        say(QStringLiteral("dialogue cancelled"));
    } else if (action == QLatin1String("pending")) {
        QVariant question;
        if (!control(Peer, PinInterface, QStringLiteral("PendingQuestion"), {}, &question)) {
            return Failure;
        }
        say(question.toString().isEmpty()
                ? QStringLiteral("no question open")
                : QStringLiteral("waiting for the %1").arg(question.toString()));
    } else if (action == QLatin1String("emit-enabled")) {
        if (!control(Peer, PinInterface, QStringLiteral("EmitPinQueryEnabled"), { state, count })) {
            return Failure;
        }
        say(QStringLiteral("emitted PinQueryEnabled %1 %2 time(s)").arg(state).arg(count));
    } else {
        if (!control(Peer, PinInterface, QStringLiteral("EmitSimLockUnlockComplete"),
                { success, count })) {
            return Failure;
        }
        say(QStringLiteral("emitted SimLockUnlockComplete %1 %2 time(s)").arg(value).arg(count));
    }
    return Success;
}
