// Reference mode-control daemon on the system bus, with its control interface
// beside the public one (names in peernames.h).

#include "buspresence.h"
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
#include "peermain.h"
#include "peernames.h"

#include <QCommandLineParser>
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("mode-control-daemon"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference mode-control daemon."));
    const QCommandLineOption radioOption(QStringLiteral("radio-states"),
        QStringLiteral("Radio-state mask at start (bit 0: radios on)."), QStringLiteral("mask"),
        QString::number(ModeState::AllRadiosOn));
    const QCommandLineOption callOption(QStringLiteral("call-state"),
        QStringLiteral("Call state at start (\"none\" or e.g. \"active\")."),
        QStringLiteral("state"), ModeState::NoCall);
    const QCommandLineOption emergencyOption(QStringLiteral("emergency"),
        QStringLiteral("Second call-state string at start."), QStringLiteral("text"));
    parser.addOptions({ radioOption, callOption, emergencyOption });
    if (const int exit = PeerMain::parse(parser, app.arguments()); exit != PeerMain::Continue)
        return exit;

    bool ok = false;
    const uint radioStates = parser.value(radioOption).toUInt(&ok, 0);
    if (!ok)
        return PeerMain::refuse(QStringLiteral("--radio-states takes a number"));

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

    using namespace PeerNames::ModeControl;
    BusPresence presence(Service, ControlService, [&](QDBusConnection &bus) {
        return bus.registerObject(RequestPath, &request, QDBusConnection::ExportAdaptors)
            && bus.registerObject(SignalPath, &signalObject, QDBusConnection::ExportAdaptors)
            && bus.registerObject(
                PeerNames::ControlPath, &control, QDBusConnection::ExportAdaptors);
    });
    control.setPresence(&presence);
    return PeerMain::run(presence);
}
