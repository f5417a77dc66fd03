#include "peercommands.h"

#include "peernames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
const QString Fault = QStringLiteral("fault");
const QString Calls = QStringLiteral("calls");
const QString ClearCalls = QStringLiteral("clear-calls");
const QString Reset = QStringLiteral("reset");
const QString BusLeave = QStringLiteral("bus-leave");
const QString BusRejoin = QStringLiteral("bus-rejoin");
const QString Late = QStringLiteral("late");
} // namespace

PeerCommands::PeerCommands(const QList<PeerInfo> &peers)
    : m_peers(peers)
{ }

QStringList PeerCommands::commands() const
{
    return { Fault, Calls, ClearCalls, Reset, BusLeave, BusRejoin };
}

QStringList PeerCommands::usage() const
{
    return {
        QStringLiteral("fault PEER METHOD error|noargs|wrongtype|late MS|never|none"),
        QStringLiteral("                                   shape the replies to METHOD"),
        QStringLiteral("calls PEER                         list the calls the peer received"),
        QStringLiteral("clear-calls PEER                   forget them"),
        QStringLiteral("reset PEER                         initial state, no faults, no calls"),
        QStringLiteral("bus-leave PEER [--disconnect] [--rejoin-after MS]"),
        QStringLiteral(
            "                                   give up the public name (or the connection)"),
        QStringLiteral("bus-rejoin PEER                    own the public name again"),
        QStringLiteral("PEER: %1").arg(peerNames()),
    };
}

int PeerCommands::run(const QStringList &arguments)
{
    const QString command = arguments.value(0);
    QStringList rest = arguments.mid(2);
    const PeerInfo *peer = find(arguments.value(1));
    if (!peer) {
        return usageError(QStringLiteral("%1 needs a peer: %2").arg(command, peerNames()));
    }

    QString kind;
    uint delayMs = 0;
    bool disconnect = false;
    uint rejoinAfterMs = 0;
    if (command == Fault) {
        kind = rest.value(1);
        const bool late = kind == Late;
        if (rest.size() != (late ? 3 : 2) || (late && !parseNumber(rest.at(2), &delayMs))) {
            return usageError(QStringLiteral(
                "fault takes METHOD and error, noargs, wrongtype, late MS, never or none"));
        }
    } else if (command == BusLeave) {
        disconnect = rest.removeAll(QStringLiteral("--disconnect")) > 0;
        const int at = rest.indexOf(QStringLiteral("--rejoin-after"));
        if (at >= 0) {
            if (at + 1 >= rest.size() || !parseNumber(rest.at(at + 1), &rejoinAfterMs)) {
                return usageError(QStringLiteral("--rejoin-after takes milliseconds"));
            }
            rest.erase(rest.begin() + at, rest.begin() + at + 2);
        }
        if (!rest.isEmpty() || (disconnect && rejoinAfterMs == 0)) {
            return usageError(QStringLiteral(
                "bus-leave --disconnect needs --rejoin-after MS: nothing could call it back"));
        }
    } else if (!rest.isEmpty()) {
        return usageError(QStringLiteral("%1 takes only the peer").arg(command));
    }
    if (!reachable(*peer)) {
        return Failure;
    }

    if (command == Fault) {
        if (!control(*peer, PeerNames::PeerControlInterface, QStringLiteral("SetFault"),
                { rest.at(0), kind, delayMs })) {
            return Failure;
        }
        say(QStringLiteral("%1 %2: %3%4")
                .arg(peer->key, rest.at(0), kind,
                    kind == Late ? QStringLiteral(" %1 ms").arg(delayMs) : QString()));
    } else if (command == Calls) {
        QVariant calls;
        if (!control(
                *peer, PeerNames::PeerControlInterface, QStringLiteral("GetCalls"), {}, &calls)) {
            return Failure;
        }
        const QJsonArray array = QJsonDocument::fromJson(calls.toString().toUtf8()).array();
        for (const QJsonValue &value : array) {
            const QJsonObject call = value.toObject();
            say(QStringLiteral("%1(%2) %3 from %4")
                    .arg(call.value(QStringLiteral("method")).toString(),
                        call.value(QStringLiteral("signature")).toString(),
                        call.value(QStringLiteral("arguments")).toString(),
                        call.value(QStringLiteral("sender")).toString()));
        }
        say(QStringLiteral("%1 call(s)").arg(array.size()));
    } else if (command == ClearCalls) {
        if (!control(*peer, PeerNames::PeerControlInterface, QStringLiteral("ClearCalls"))) {
            return Failure;
        }
        say(QStringLiteral("%1: calls forgotten").arg(peer->key));
    } else if (command == Reset) {
        if (!control(*peer, PeerNames::PeerControlInterface, QStringLiteral("Reset"))) {
            return Failure;
        }
        say(QStringLiteral("%1: reset").arg(peer->key));
    } else if (command == BusLeave) {
        const QString how = disconnect ? QStringLiteral("disconnect") : QStringLiteral("release");
        if (!control(*peer, PeerNames::PeerControlInterface, QStringLiteral("LeaveBus"),
                { how, rejoinAfterMs })) {
            return Failure;
        }
        say(QStringLiteral("%1: left the bus (%2)%3")
                .arg(peer->key, how,
                    rejoinAfterMs ? QStringLiteral(", back in %1 ms").arg(rejoinAfterMs)
                                  : QString()));
    } else {
        if (!control(*peer, PeerNames::PeerControlInterface, QStringLiteral("RejoinBus"))) {
            return Failure;
        }
        say(QStringLiteral("%1: back on the bus").arg(peer->key));
    }
    return Success;
}

const PeerInfo *PeerCommands::find(const QString &name) const
{
    for (const PeerInfo &peer : m_peers) {
        if (peer.key == name || peer.aliases.contains(name)) {
            return &peer;
        }
    }
    return nullptr;
}

QString PeerCommands::peerNames() const
{
    QStringList names;
    for (const PeerInfo &peer : m_peers) {
        names.append(peer.key);
    }
    return names.join(QStringLiteral(", "));
}
