// sim-bench: the SIM page measured against the bus round trip. Run it on a
// private bus with scripts/bench, which also starts nothing else: the
// program starts the reference peers and the simulated modem itself.

#include "benchmark.h"
#include "objectcensus.h"
#include "qtoptionguard.h"
#include "report.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

namespace {
const int ExitMissed = 1;
const int ExitFailed = 2;

int intValue(const QCommandLineParser &parser, const QCommandLineOption &option, int fallback)
{
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}
} // namespace

int main(int argc, char *argv[])
{
    // Before anything else: the census counts only objects made after it.
    const bool counting = ObjectCensus::install();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Qt would take "--plugin FILE" for its own plug-in option.
    QtOptionGuard guard(argc, argv, { QStringLiteral("plugin") });
    if (!guard.error().isEmpty()) {
        std::fprintf(stderr, "sim-bench: %s\n", qPrintable(guard.error()));
        return ExitFailed;
    }
    QApplication app(guard.argc(), guard.argv());
    app.setApplicationName(QStringLiteral("sim-bench"));
    Benchmark::enableBlockingCallReports();
    if (qEnvironmentVariableIsEmpty("SIM_BUILD_DIR"))
        qputenv(
            "SIM_BUILD_DIR", QFile::encodeName(QDir::cleanPath(app.applicationDirPath() + "/..")));

    Benchmark::Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Measures the SIM page against the D-Bus round trip."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption jsonOption(QStringLiteral("json"),
        QStringLiteral("Also write the results here."), QStringLiteral("file"));
    const QCommandLineOption pluginOption(QStringLiteral("plugin"),
        QStringLiteral("The applet plug-in to load."), QStringLiteral("file"),
        QStringLiteral(SIM_APPLET_FILE));
    const QCommandLineOption opensOption(QStringLiteral("opens"),
        QStringLiteral("Timed page opens."), QStringLiteral("n"), QString::number(options.opens));
    const QCommandLineOption changesOption(QStringLiteral("changes"),
        QStringLiteral("Timed SIM changes."), QStringLiteral("n"),
        QString::number(options.changes));
    const QCommandLineOption cyclesOption(QStringLiteral("cycles"),
        QStringLiteral("Page open/close cycles for the memory figures."), QStringLiteral("n"),
        QString::number(options.cycles));
    const QCommandLineOption flipsOption(QStringLiteral("flips"),
        QStringLiteral("SIM state flips on one page for the memory figures."), QStringLiteral("n"),
        QString::number(options.flips));
    parser.addOptions(
        { jsonOption, pluginOption, opensOption, changesOption, cyclesOption, flipsOption });
    if (!parser.parse(QApplication::arguments())) {
        std::fprintf(
            stderr, "sim-bench: %s\n(see sim-bench --help)\n", qPrintable(parser.errorText()));
        return ExitFailed;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    options.plugin = parser.value(pluginOption);
    options.opens = intValue(parser, opensOption, options.opens);
    options.changes = intValue(parser, changesOption, options.changes);
    options.cycles = intValue(parser, cyclesOption, options.cycles);
    options.flips = intValue(parser, flipsOption, options.flips);

    if (!counting) {
        std::fprintf(stderr, "sim-bench: this QtCore's object hooks are unknown\n");
        return ExitFailed;
    }
    Report report;
    Benchmark benchmark(options);
    const bool measured = benchmark.run(&report);
    std::fputs(qPrintable(report.table()), stdout);
    std::fflush(stdout);
    if (parser.isSet(jsonOption)) {
        const QString file = parser.value(jsonOption);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || out.write(QJsonDocument(report.json()).toJson()) < 0) {
            std::fprintf(stderr, "sim-bench: cannot write %s\n", qPrintable(file));
            return ExitFailed;
        }
    }
    if (!measured) {
        std::fprintf(stderr, "sim-bench: %s\n", qPrintable(benchmark.lastError()));
        return ExitFailed;
    }
    return report.allHeld() ? 0 : ExitMissed;
}
