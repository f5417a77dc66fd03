#include "modemcommands.h"

#include "modemcontrolproxy.h"
#include "ofononames.h"
#include "peermain.h"
#include "peernames.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

const PeerInfo ModemCommands::Peer
    = { QStringLiteral("modem"), { QStringLiteral("modem-sim"), PeerNames::Modem::Service },
          PeerNames::Modem::ControlService, QStringLiteral("simulated modem") };

namespace {

ModemControlProxy proxy()
{
    return ModemControlProxy(
        ModemCommands::Peer.controlName, PeerNames::ControlPath, QDBusConnection::systemBus());
}

QString retriesText(const QVariant &value)
{
    // a{sy}: read as bytes, not as the variant map the outer a{sv} is.
    QMap<QString, uchar> retries;
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        value.value<QDBusArgument>() >> retries;
    QStringList parts;
    for (auto it = retries.constBegin(); it != retries.constEnd(); ++it)
        parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    return parts.join(QStringLiteral(", "));
}
} // namespace

QStringList ModemCommands::commands() const
{
    return { QStringLiteral("modem") };
}

QStringList ModemCommands::usage() const
{
    return {
        QStringLiteral("modem insert|remove                insert or remove the SIM card"),
        QStringLiteral("modem ready on|off                 end or hold the card's start-up"),
        QStringLiteral("modem simlock on|off               turn the SIM lock on or off"),
        QStringLiteral("modem state STATE                  absent, starting, ready, pin, puk, "
                       "blocked or locked"),
        QStringLiteral(
            "modem listed on|off                list the modem or not (ModemAdded/ModemRemoved)"),
        QStringLiteral("modem power on|off                 power the modem (the SIM manager "
                       "comes and goes with it)"),
        QStringLiteral(
            "modem enter TYPE CODE              enter a code on the card (pin, network, ...)"),
        QStringLiteral(
            "modem status                       show the card's state, code asked and attempts"),
    };
}

int ModemCommands::run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    const QStringList rest = arguments.mid(2);
    if (command == QLatin1String("status") && rest.isEmpty())
        return status();
    if (command == QLatin1String("enter"))
        return enter(rest);

    ModemControlProxy modem = proxy();
    QDBusPendingCall call = QDBusPendingReply<>();
    QString done;
    bool on = false;
    if ((command == QLatin1String("insert") || command == QLatin1String("remove"))
        && rest.isEmpty()) {
        if (!reachable(Peer))
            return Failure;
        call = command == QLatin1String("insert") ? modem.Insert() : modem.Remove();
        done = QStringLiteral("SIM card %1")
                   .arg(command == QLatin1String("insert") ? "inserted" : "removed");
    } else if (command == QLatin1String("state") && rest.size() == 1) {
        if (!reachable(Peer))
            return Failure;
        call = modem.SetState(rest.first());
        done = QStringLiteral("SIM state %1").arg(rest.first());
    } else if ((command == QLatin1String("ready") || command == QLatin1String("simlock")
                   || command == QLatin1String("listed") || command == QLatin1String("power"))
        && rest.size() == 1 && PeerMain::parseOnOff(rest.first(), &on)) {
        if (!reachable(Peer))
            return Failure;
        if (command == QLatin1String("ready"))
            call = modem.SetReady(on);
        else if (command == QLatin1String("simlock"))
            call = modem.SetSimLocked(on);
        else if (command == QLatin1String("power"))
            call = modem.SetPowered(on);
        else
            call = modem.SetModemPresent(on);
        done = QStringLiteral("%1 %2").arg(command, on ? "on" : "off");
    } else {
        return usageError(
            QStringLiteral("modem takes insert, remove, ready on|off, simlock on|off, "
                           "state STATE, listed on|off, power on|off, enter TYPE CODE or status"));
    }
    if (!succeeded(call, Peer))
        return Failure;
    say(done);
    return Success;
}

int ModemCommands::status()
{
    if (!reachable(Peer))
        return Failure;
    QDBusPendingReply<QString> state = proxy().GetState();
    if (!succeeded(state, Peer))
        return Failure;
    const QDBusMessage reply = QDBusConnection::systemBus().call(
        QDBusMessage::createMethodCall(PeerNames::Modem::Service, PeerNames::Modem::ModemPath,
            OfonoSim::SimManagerInterface, QStringLiteral("GetProperties")));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(QStringLiteral("the SIM manager did not answer: %1").arg(reply.errorMessage()));
    QVariantMap properties;
    reply.arguments().value(0).value<QDBusArgument>() >> properties;
    QString text = QStringLiteral("SIM %1").arg(state.value());
    if (properties.contains(OfonoSim::PinRequiredProperty))
        text += QStringLiteral(", code asked: %1, attempts left: %2")
                    .arg(properties.value(OfonoSim::PinRequiredProperty).toString(),
                        retriesText(properties.value(OfonoSim::RetriesProperty)));
    if (properties.contains(OfonoSim::LockedPinsProperty))
        text += QStringLiteral(", asked at power-up: %1")
                    .arg(properties.value(OfonoSim::LockedPinsProperty)
                             .toStringList()
                             .join(QLatin1Char(' ')));
    say(text);
    return Success;
}

int ModemCommands::enter(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return usageError(QStringLiteral("modem enter takes a code type and the code"));
    if (!reachable(Peer))
        return Failure;
    QDBusMessage call = QDBusMessage::createMethodCall(PeerNames::Modem::Service,
        PeerNames::Modem::ModemPath, OfonoSim::SimManagerInterface, QStringLiteral("EnterPin"));
    call << arguments.at(0) << arguments.at(1);
    const QDBusMessage reply = QDBusConnection::systemBus().call(call);
    // The code itself is never repeated in what phonectl prints.
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(QStringLiteral("%1 code refused: %2").arg(arguments.at(0), reply.errorName()));
    say(QStringLiteral("%1 code accepted").arg(arguments.at(0)));
    return Success;
}
