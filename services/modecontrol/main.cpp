// Reference mode-control daemon on the system bus: owns "com.tavik.oxa" for
// the clients and "com.tavik.sim.ModeControl" for its control interface.

#include "calllog.h"
#include "faultinjector.h"
#include "modecontrolcontrol.h"
#include "modecontrolcontroladaptor.h"
#include "modestate.h"
#include "oxarequest.h"
#include "oxarequestadaptor.h"
#include "oxasignal.h"
#include "oxasignaladaptor.h"
#include "peercontroladaptor.h"

#include "buspresence.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {
const QString PublicName = QStringLiteral("com.tavik.oxa");
const QString ControlName = QStringLiteral("com.tavik.sim.ModeControl");
const int ExitNoBus = 1;
const int ExitBadArguments = 2;
const int ExitBusLost = 3;
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("mode-control-daemon"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference mode-control daemon."));
    parser.addHelpOption();
    const QCommandLineOption radioOption(QStringLiteral("radio-states"),
        QStringLiteral("Radio-state mask at start (bit 0: radios on)."), QStringLiteral("mask"),
        QString::number(ModeState::AllRadiosOn));
    const QCommandLineOption callOption(QStringLiteral("call-state"),
        QStringLiteral("Call state at start (\"none\" or e.g. \"active\")."),
        QStringLiteral("state"), ModeState::NoCall);
    const QCommandLineOption emergencyOption(QStringLiteral("emergency"),
        QStringLiteral("Second call-state string at start."), QStringLiteral("text"));
    parser.addOptions({ radioOption, callOption, emergencyOption });
    parser.process(app);

    bool ok = false;
    const uint radioStates = parser.value(radioOption).toUInt(&ok, 0);
    if (!ok) {
        std::fprintf(stderr, "mode-control-daemon: --radio-states wants a number, not %s\n",
            qPrintable(parser.value(radioOption)));
        return ExitBadArguments;
    }

    ModeState state({ radioStates, parser.value(callOption), parser.value(emergencyOption) });
    CallLog log;
    FaultInjector faults;
    OxaSignal signalObject;
    new OxaSignalAdaptor(&signalObject);
    OxaRequest request(&state, &signalObject, &log, &faults);
    new OxaRequestAdaptor(&request);
    ModeControlControl control(&state, &signalObject, &log, &faults);
    new PeerControlAdaptor(&control);
    new ModeControlControlAdaptor(&control);

    BusPresence presence(PublicName, ControlName, [&](QDBusConnection &bus) {
        return bus.registerObject(OxaRequest::Path, &request, QDBusConnection::ExportAdaptors)
            && bus.registerObject(OxaSignal::Path, &signalObject, QDBusConnection::ExportAdaptors)
            && bus.registerObject(PeerControl::Path, &control, QDBusConnection::ExportAdaptors);
    });
    control.setPresence(&presence);
    QObject::connect(
        &presence, &BusPresence::lost, &app, [] { QCoreApplication::exit(ExitBusLost); });
    QObject::connect(
        &presence, &BusPresence::rejoinFailed, &app, [] { QCoreApplication::exit(ExitNoBus); });
    if (!presence.join()) {
        return ExitNoBus;
    }
    return app.exec();
}
