// phonectl: drives the reference peers through their control interfaces,
// for tests, the demo and a person at a terminal.

#include "commandgroup.h"
#include "defaultcodes.h"
#include "modecommands.h"
#include "modemcommands.h"
#include "peercommands.h"
#include "pincommands.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
void printUsage(FILE *stream, const std::vector<std::unique_ptr<CommandGroup>> &groups)
{
    std::fprintf(stream, "usage: phonectl COMMAND [ARGUMENTS]\n");
    for (const auto &group : groups) {
        for (const QString &line : group->usage()) {
            std::fprintf(stream, "  %s\n", qPrintable(line));
        }
    }
    std::fprintf(stream,
        "  codes                              show the simulated card's default codes\n"
        "  help, -h, --help                   show this help\n");
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

    // The groups of commands; a new peer brings its own group here.
    std::vector<std::unique_ptr<CommandGroup>> groups;
    groups.emplace_back(new ModeCommands);
    groups.emplace_back(new PinCommands);
    groups.emplace_back(new ModemCommands);
    QList<PeerInfo> peers;
    for (const auto &group : groups) {
        peers.append(group->peers());
    }
    groups.emplace_back(new PeerCommands(peers));

    const QStringList arguments = app.arguments().mid(1);
    const QString command = arguments.value(0);
    if (command == QLatin1String("help") || command == QLatin1String("--help")
        || command == QLatin1String("-h")) {
        printUsage(stdout, groups);
        return CommandGroup::Success;
    }
    if (command.isEmpty()) {
        printUsage(stderr, groups);
        return CommandGroup::UsageError;
    }
    if (command == QLatin1String("codes") && arguments.size() == 1) {
        // What the demo tells its users; the same codes open the PIN query
        // service's local backend.
        std::fprintf(stdout, "PIN %s, PUK %s, unlock code %s\n", DefaultCodes::Pin.data(),
            DefaultCodes::Puk.data(), DefaultCodes::UnlockCode.data());
        return CommandGroup::Success;
    }
    for (const auto &group : groups) {
        if (group->commands().contains(command)) {
            return group->run(arguments);
        }
    }
    std::fprintf(stderr, "phonectl: unknown %s %s (see phonectl help)\n",
        command.startsWith(QLatin1Char('-')) ? "option" : "command", qPrintable(command));
    return CommandGroup::UsageError;
}
