#pragma once

#include <QString>
#include <QStringList>

class BusPresence;
class QCommandLineParser;

// What the reference peers' main() functions share: the command line, the
// exit codes and the life on the bus.
namespace PeerMain {

enum Exit {
    ExitOk = 0,
    // The bus could not be joined, or rejoined after leaving it on purpose.
    ExitNoBus = 1,
    ExitBadArguments = 2,
    // The bus went away without being asked to.
    ExitBusLost = 3,
};
// What parse() returns when the program should go on.
const int Continue = -1;

// Parses the command line with a help option (-h, --help) added. Help goes to
// stdout (ExitOk), a bad option or a stray argument to stderr
// (ExitBadArguments); otherwise Continue. Works before the application object
// exists, so that a program can choose its kind of application from options.
int parse(QCommandLineParser &parser, const QStringList &arguments);
// Says "program: text" on stderr; returns ExitBadArguments.
int refuse(const QString &text);
// "on" or "off", the switches' only words.
bool parseOnOff(const QString &text, bool *on);
// Joins the bus and runs the event loop until the peer ends: ExitNoBus when
// joining or a rejoin fails, ExitBusLost when the bus drops the peer.
int run(BusPresence &presence);

} // namespace PeerMain
