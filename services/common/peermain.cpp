#include "peermain.h"

#include "buspresence.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace PeerMain {

namespace {
QString s_program;

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}
} // namespace

int parse(QCommandLineParser &parser, const QStringList &arguments)
{
    s_program = QFileInfo(arguments.value(0)).fileName();
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments))
        return refuse(parser.errorText() + QStringLiteral(" (see --help)"));
    if (parser.isSet(help)) {
        // The help text names the program from the application object.
        if (QCoreApplication::instance()) {
            print(stdout, parser.helpText());
        } else {
            QByteArray name = arguments.value(0).toLocal8Bit();
            int argc = 1;
            char *argv[] = { name.data(), nullptr };
            const QCoreApplication app(argc, argv);
            print(stdout, parser.helpText());
        }
        return ExitOk;
    }
    // Not echoed: a stray argument may well be a code.
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("takes no arguments besides options (see --help)"));
    return Continue;
}

int refuse(const QString &text)
{
    print(stderr, s_program + QStringLiteral(": ") + text + QLatin1Char('\n'));
    return ExitBadArguments;
}

bool parseOnOff(const QString &text, bool *on)
{
    if (text != QLatin1String("on") && text != QLatin1String("off"))
        return false;
    *on = text == QLatin1String("on");
    return true;
}

int run(BusPresence &presence)
{
    QObject::connect(&presence, &BusPresence::lost, QCoreApplication::instance(),
        [] { QCoreApplication::exit(ExitBusLost); });
    QObject::connect(&presence, &BusPresence::rejoinFailed, QCoreApplication::instance(),
        [] { QCoreApplication::exit(ExitNoBus); });
    if (!presence.join())
        return ExitNoBus;
    return QCoreApplication::exec();
}

} // namespace PeerMain
