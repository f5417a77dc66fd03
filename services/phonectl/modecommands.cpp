#include "modecommands.h"

#include "peermain.h"
#include "peernames.h"

const PeerInfo ModeCommands::Peer
    = { QStringLiteral("mode-control"), { QStringLiteral("oxa"), PeerNames::ModeControl::Service },
          PeerNames::ModeControl::ControlService, QStringLiteral("mode-control daemon") };

namespace {
// Flight mode is the radios' bit 0 cleared; other bits are left alone.
const uint RadiosOnBit = 0x1;
const QString RadioStatesInd = QStringLiteral("radio_states_ind");
const QString CallStateInd = QStringLiteral("sig_call_state_ind");

const QString ModeInterface = PeerNames::ModeControl::ControlInterface;

QString describe(uint states)
{
    return QStringLiteral("radio states %1 (flight mode %2)")
        .arg(states)
        .arg((states & RadiosOnBit) ? QStringLiteral("off") : QStringLiteral("on"));
}
} // namespace

QStringList ModeCommands::commands() const
{
    return { QStringLiteral("flight"), QStringLiteral("radio"), QStringLiteral("call"),
        QStringLiteral("emit"), QStringLiteral("status") };
}

QStringList ModeCommands::usage() const
{
    return {
        QStringLiteral("flight on|off                      set flight mode (radio bit 0)"),
        QStringLiteral("radio MASK                         set the whole radio-state mask"),
        QStringLiteral("call STATE [EMERGENCY]             set the call state (none, active, ...)"),
        QStringLiteral("emit radio_states_ind MASK [--count N]"),
        QStringLiteral("emit sig_call_state_ind CALL [EMERGENCY] [--count N]"),
        QStringLiteral("                                   emit the daemon's signal N times"),
        QStringLiteral("status                             show radio states and call state"),
    };
}

int ModeCommands::run(const QStringList &arguments)
{
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("flight")) {
        return flight(rest);
    }
    if (command == QLatin1String("radio")) {
        return radio(rest);
    }
    if (command == QLatin1String("call")) {
        return call(rest);
    }
    if (command == QLatin1String("emit")) {
        return emitSignal(rest);
    }
    return status();
}

int ModeCommands::flight(const QStringList &arguments)
{
    bool on = false;
    if (arguments.size() != 1 || !PeerMain::parseOnOff(arguments.first(), &on)) {
        return usageError(QStringLiteral("flight takes on or off"));
    }
    if (!reachable(Peer)) {
        return Failure;
    }
    QVariant current;
    if (!control(Peer, ModeInterface, QStringLiteral("GetRadioStates"), {}, &current)) {
        return Failure;
    }
    const uint states = on ? (current.toUInt() & ~RadiosOnBit) : (current.toUInt() | RadiosOnBit);
    if (!control(Peer, ModeInterface, QStringLiteral("SetRadioStates"), { states })) {
        return Failure;
    }
    say(QStringLiteral("flight mode %1: %2").arg(arguments.first(), describe(states)));
    return Success;
}

int ModeCommands::radio(const QStringList &arguments)
{
    uint states = 0;
    if (arguments.size() != 1 || !parseNumber(arguments.first(), &states)) {
        return usageError(QStringLiteral("radio takes one number, the radio-state mask"));
    }
    if (!reachable(Peer)) {
        return Failure;
    }
    if (!control(Peer, ModeInterface, QStringLiteral("SetRadioStates"), { states })) {
        return Failure;
    }
    say(QStringLiteral("set %1").arg(describe(states)));
    return Success;
}

int ModeCommands::call(const QStringList &arguments)
{
    if (arguments.isEmpty() || arguments.size() > 2 || arguments.first().isEmpty()) {
        return usageError(QStringLiteral("call takes a call state and maybe an emergency string"));
    }
    if (!reachable(Peer)) {
        return Failure;
    }
    if (!control(Peer, ModeInterface, QStringLiteral("SetCallState"),
            { arguments.first(), arguments.value(1) })) {
        return Failure;
    }
    say(QStringLiteral("call state \"%1\", emergency \"%2\"")
            .arg(arguments.first(), arguments.value(1)));
    return Success;
}

int ModeCommands::emitSignal(QStringList arguments)
{
    uint count = 1;
    if (!takeCount(&arguments, &count)) {
        return usageError(QStringLiteral("--count takes a number above 0"));
    }
    const QString name = arguments.value(0);
    if (name == RadioStatesInd) {
        uint states = 0;
        if (arguments.size() != 2 || !parseNumber(arguments.at(1), &states)) {
            return usageError(QStringLiteral("emit radio_states_ind takes one number"));
        }
        if (!reachable(Peer)
            || !control(
                Peer, ModeInterface, QStringLiteral("EmitRadioStates"), { states, count })) {
            return Failure;
        }
        say(QStringLiteral("emitted radio_states_ind %1 %2 time(s)").arg(states).arg(count));
        return Success;
    }
    if (name == CallStateInd) {
        if (arguments.size() < 2 || arguments.size() > 3) {
            return usageError(QStringLiteral("emit sig_call_state_ind takes CALL [EMERGENCY]"));
        }
        const QString call = arguments.at(1);
        const QString emergency = arguments.value(2);
        if (!reachable(Peer)
            || !control(
                Peer, ModeInterface, QStringLiteral("EmitCallState"), { call, emergency, count })) {
            return Failure;
        }
        say(QStringLiteral("emitted sig_call_state_ind \"%1\" \"%2\" %3 time(s)")
                .arg(call, emergency)
                .arg(count));
        return Success;
    }
    return usageError(QStringLiteral("emit knows %1 and %2; the PIN service's signals are under "
                                     "\"pin emit-enabled\" and \"pin emit-unlock\"")
                          .arg(RadioStatesInd, CallStateInd));
}

int ModeCommands::status()
{
    if (!reachable(Peer)) {
        return Failure;
    }
    QVariant states;
    QVariant call;
    if (!control(Peer, ModeInterface, QStringLiteral("GetRadioStates"), {}, &states)
        || !control(Peer, ModeInterface, QStringLiteral("GetCallState"), {}, &call)) {
        return Failure;
    }
    say(QStringLiteral("%1, call state \"%2\"").arg(describe(states.toUInt()), call.toString()));
    return Success;
}
