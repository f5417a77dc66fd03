// settings-host: loads applet plug-ins and shows their pages on a phone-sized
// screen, interactively or driven by an automation script.

#include "commandfeed.h"
#include "hostview.h"
#include "kivwidget.h"
#include "qtoptionguard.h"
#include "programpaths.h"
#include "scriptparser.h"
#include "scriptrunner.h"
#include "settingshost.h"
#include "widgettree.h"
#include "zutheme.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

#ifndef SIM_DEFAULT_APPLET_DIR
#define SIM_DEFAULT_APPLET_DIR ""
#endif
#ifndef SIM_DEFAULT_TRANSLATIONS_DIR
#define SIM_DEFAULT_TRANSLATIONS_DIR ""
#endif

namespace {

enum ExitCode {
    ExitOk = 0,
    ExitUsage = 2, // bad options or a script with syntax errors
    ExitCommandFailed = 3, // a script command failed
    ExitNoApplet = 4, // nothing to open
    ExitIncomplete = 5, // a file the host needs is missing (the theme)
};

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool readScript(const QString &name, QString *text, QString *error)
{
    QFile file;
    const bool fromStdin = name == QLatin1String("-");
    if (fromStdin) {
        if (!file.open(stdin, QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read the script from standard input");
            return false;
        }
    } else {
        file.setFileName(name);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read the script %1: %2").arg(name, file.errorString());
            return false;
        }
    }
    *text = QString::fromUtf8(file.readAll());
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Without a display the host still runs, drawing off screen.
    if (!hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Applet pages run pending events in the middle of their own operations
    // and rely on socket notifiers being left out there. The glib-based event
    // dispatcher ignores that exclusion, so the stdin notifier of the command
    // feed would fire inside a page operation and run the next command (a
    // wait, say) while the page is stuck half-way. Qt's own dispatcher
    // honours it.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) {
        qputenv("QT_NO_GLIB", "1");
    }
    // Qt would take "--plugin FILE" for its own plug-in option.
    QtOptionGuard guard(argc, argv, { QStringLiteral("plugin") });
    if (!guard.error().isEmpty()) {
        std::fprintf(stderr, "settings-host: %s\n", qPrintable(guard.error()));
        return ExitUsage;
    }
    QApplication app(guard.argc(), guard.argv());
    QApplication::setApplicationName(QStringLiteral("settings-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Loads settings applets and shows their pages.\n\n") + ScriptParser::syntax()
        + QStringLiteral("\nExit codes: 0 success, 2 bad options or script syntax, 3 a script "
                         "command failed, 4 no applet to open, 5 the theme is missing."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption listOption(
        QStringLiteral("list"), QStringLiteral("Print each applet's title and value."));
    const QCommandLineOption appletsOption(QStringLiteral("applets"),
        QStringLiteral("Load the applets of DIR."), QStringLiteral("DIR"),
        ProgramPaths::resolve(QStringLiteral(SIM_DEFAULT_APPLET_DIR)));
    const QCommandLineOption pluginOption(QStringLiteral("plugin"),
        QStringLiteral("Load only this plug-in file (repeatable)."), QStringLiteral("FILE"));
    const QCommandLineOption langOption(QStringLiteral("lang"),
        QStringLiteral("Show texts in language CODE."), QStringLiteral("CODE"));
    const QCommandLineOption translationsOption(QStringLiteral("translations"),
        QStringLiteral("Read the catalogues from DIR."), QStringLiteral("DIR"),
        ProgramPaths::resolve(QStringLiteral(SIM_DEFAULT_TRANSLATIONS_DIR)));
    const QCommandLineOption scriptOption(QStringLiteral("script"),
        QStringLiteral("Run the automation script FILE (- for stdin)."), QStringLiteral("FILE"));
    const QCommandLineOption interactiveOption(QStringLiteral("interactive"),
        QStringLiteral("Run script commands from standard input as each line arrives, until the "
                       "input ends or quit; a failed command does not stop the run."));
    const QCommandLineOption openOption(QStringLiteral("open"),
        QStringLiteral("Open the applet with this title or index."), QStringLiteral("APPLET"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
        QStringLiteral("Render the screen to the PNG file FILE."), QStringLiteral("FILE"));
    parser.addOptions({ listOption, appletsOption, pluginOption, langOption, translationsOption,
        scriptOption, interactiveOption, openOption, screenshotOption });

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parser.parse(QApplication::arguments())) {
        err << "settings-host: " << parser.errorText() << "\n(see settings-host --help)\n";
        return ExitUsage;
    }
    if (parser.isSet(helpOption)) {
        parser.showHelp(ExitOk);
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "settings-host: unexpected argument \"" << parser.positionalArguments().first()
            << "\"\n(see settings-host --help)\n";
        return ExitUsage;
    }
    const bool listing = parser.isSet(listOption);
    const bool scripted = parser.isSet(scriptOption);
    const bool screenshot = parser.isSet(screenshotOption);

    // Read and check the script before anything is loaded: a typo should not
    // cost a whole run.
    ScriptParser::Result script;
    if (scripted) {
        QString text;
        QString error;
        if (!readScript(parser.value(scriptOption), &text, &error)) {
            err << "settings-host: " << error << '\n';
            return ExitUsage;
        }
        script = ScriptParser::parse(text);
        if (!script.errors.isEmpty()) {
            for (const QString &line : qAsConst(script.errors)) {
                err << "settings-host: script " << line << '\n';
            }
            return ExitUsage;
        }
    }

    // Without its theme every widget would be drawn in a default look that
    // hides what the page shows: a broken installation, not a page to show.
    if (!ZuTheme::instance()->isLoaded()) {
        err << "settings-host: cannot read the theme in " << ZuTheme::themeDirectory()
            << " (ZU_THEME_DIR overrides the folder)\n";
        return ExitIncomplete;
    }

    SettingsHost host;
    host.setTranslationsDirectory(parser.value(translationsOption));
    if (parser.isSet(langOption)) {
        QString error;
        if (!host.setLanguage(parser.value(langOption), &error)) {
            err << "settings-host: " << error << '\n';
            return ExitUsage;
        }
    }

    QStringList refusals;
    if (parser.isSet(pluginOption)) {
        const QStringList files = parser.values(pluginOption);
        for (const QString &file : files) {
            QString error;
            if (!host.loadPlugin(file, &error)) {
                refusals << error;
            }
        }
    } else {
        refusals = host.loadDirectory(parser.value(appletsOption));
    }
    // In a listing the refusals are part of the answer; otherwise they are
    // diagnostics.
    QTextStream &refusalStream = listing ? out : err;
    for (const QString &refusal : qAsConst(refusals)) {
        refusalStream << refusal << '\n';
    }

    if (listing) {
        for (int i = 0; i < host.appletCount(); ++i) {
            out << host.appletTitle(i) << '\t' << '"' << host.appletValueText(i) << '"' << '\n';
        }
        out.flush();
        if (!scripted && !screenshot) {
            return ExitOk;
        }
    }

    host.view()->show();
    if (parser.isSet(interactiveOption)) {
        ScriptRunner runner(&host, &out);
        CommandFeed feed(&runner, &out, STDIN_FILENO);
        QObject::connect(&feed, &CommandFeed::finished, &app,
            [](bool ok) { QCoreApplication::exit(ok ? ExitOk : ExitCommandFailed); });
        return QApplication::exec();
    }
    if (scripted) {
        ScriptRunner runner(&host, &out);
        const bool ok = runner.run(script.commands);
        if (ok && screenshot) {
            QString error;
            if (!host.screenshot(parser.value(screenshotOption), &error)) {
                err << "settings-host: " << error << '\n';
                return ExitCommandFailed;
            }
        }
        return ok ? ExitOk : ExitCommandFailed;
    }

    if (host.appletCount() == 0) {
        err << "settings-host: no applet to open\n";
        return ExitNoApplet;
    }
    const int index = parser.isSet(openOption) ? host.findApplet(parser.value(openOption)) : 0;
    if (index < 0) {
        err << "settings-host: no applet \"" << parser.value(openOption) << "\"\n";
        return ExitNoApplet;
    }
    QString message;
    const bool opened = host.openApplet(index, &message);
    out << message << '\n';

    const bool interactive
        = hasDisplay() && QApplication::platformName() != QLatin1String("offscreen") && !screenshot;
    if (interactive) {
        out.flush();
        return QApplication::exec();
    }
    if (screenshot) {
        QString error;
        if (!host.screenshot(parser.value(screenshotOption), &error)) {
            err << "settings-host: " << error << '\n';
            return ExitCommandFailed;
        }
        return ExitOk;
    }
    out << (opened ? WidgetTree::dump(host.page()) : QStringLiteral("(no page)\n"));
    return ExitOk;
}
