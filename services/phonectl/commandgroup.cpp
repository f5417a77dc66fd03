#include "commandgroup.h"

#include "peernames.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <cstdio>

CommandGroup::~CommandGroup() = default;

void CommandGroup::say(const QString &text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
}

int CommandGroup::fail(const QString &text)
{
    std::fprintf(stderr, "phonectl: %s\n", qPrintable(text));
    return Failure;
}

int CommandGroup::usageError(const QString &text)
{
    std::fprintf(stderr, "phonectl: %s (see phonectl help)\n", qPrintable(text));
    return UsageError;
}

bool CommandGroup::reachable(const PeerInfo &peer)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        fail(QStringLiteral("cannot reach the system bus: %1").arg(bus.lastError().message()));
        return false;
    }
    if (!bus.interface()->isServiceRegistered(peer.controlName)) {
        fail(QStringLiteral("the %1 is not on the bus (nobody owns %2)")
                 .arg(peer.title, peer.controlName));
        return false;
    }
    return true;
}

bool CommandGroup::control(const PeerInfo &peer, const QString &interface, const QString &method,
    const QVariantList &arguments, QVariant *result)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        peer.controlName, PeerNames::ControlPath, interface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = QDBusConnection::systemBus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        fail(QStringLiteral("the %1 refused: %2").arg(peer.title, reply.errorMessage()));
        return false;
    }
    if (result) {
        *result = reply.arguments().value(0);
    }
    return true;
}

bool CommandGroup::succeeded(QDBusPendingCall call, const PeerInfo &peer)
{
    call.waitForFinished();
    if (call.isError()) {
        fail(QStringLiteral("the %1 refused: %2").arg(peer.title, call.error().message()));
        return false;
    }
    return true;
}

bool CommandGroup::parseNumber(const QString &text, uint *value)
{
    bool ok = false;
    // Base 0: decimal, or hexadecimal with 0x.
    *value = text.toUInt(&ok, 0);
    return ok;
}

bool CommandGroup::parseBool(const QString &text, bool *value)
{
    if (text == QLatin1String("true")) {
        *value = true;
    } else if (text == QLatin1String("false")) {
        *value = false;
    } else {
        return false;
    }
    return true;
}

bool CommandGroup::takeCount(QStringList *arguments, uint *count)
{
    *count = 1;
    const int at = arguments->indexOf(QStringLiteral("--count"));
    if (at < 0) {
        return true;
    }
    if (at + 1 >= arguments->size() || !parseNumber(arguments->at(at + 1), count) || *count == 0) {
        return false;
    }
    arguments->erase(arguments->begin() + at, arguments->begin() + at + 2);
    return true;
}
