// phonectl: drives the reference peers through their control interfaces,
// for tests, the demo and a person at a terminal.

#include "commandgroup.h"
#include "modecommands.h"
#include "modemcommands.h"
#include "peercommands.h"
#include "pincommands.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
void printUsage(const std::vector<std::unique_ptr<CommandGroup>> &groups)
{
    std::fprintf(stdout, "usage: phonectl COMMAND [ARGUMENTS]\n");
    for (const auto &group : groups) {
        for (const QString &line : group->usage()) {
            std::fprintf(stdout, "  %s\n", qPrintable(line));
        }
    }
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
    if (command.isEmpty() || command == QLatin1String("help")
        || command == QLatin1String("--help")) {
        printUsage(groups);
        return command.isEmpty() ? CommandGroup::UsageError : CommandGroup::Success;
    }
    for (const auto &group : groups) {
        if (group->commands().contains(command)) {
            return group->run(arguments);
        }
    }
    std::fprintf(stderr, "phonectl: unknown command %s (see phonectl help)\n", qPrintable(command));
    return CommandGroup::UsageError;
}
