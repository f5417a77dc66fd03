// The simulated modem on the system bus: owns "org.ofono" with the modem
// manager and one modem with a SIM manager, and "com.tavik.sim.Modem" for its
// control interface. Codes come from the command line and are never printed.

#include "buspresence.h"
#include "calllog.h"
#include "faultinjector.h"
#include "modemadaptor.h"
#include "modemcontrol.h"
#include "modemcontroladaptor.h"
#include "modemlist.h"
#include "ofonomanager.h"
#include "ofonomanageradaptor.h"
#include "ofonosimmanager.h"
#include "ofonosimmanageradaptor.h"
#include "peercontroladaptor.h"
#include "simmodel.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {
const QString PublicName = QStringLiteral("org.ofono");
const QString ControlName = QStringLiteral("com.tavik.sim.Modem");
const int ExitNoBus = 1;
const int ExitBadArguments = 2;
const int ExitBusLost = 3;

bool parseOnOff(const QString &text, bool *value)
{
    if (text == QLatin1String("on") || text == QLatin1String("off")) {
        *value = text == QLatin1String("on");
        return true;
    }
    return false;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("modem-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated modem with a SIM card."));
    parser.addHelpOption();
    const QCommandLineOption absentOption(
        QStringLiteral("absent"), QStringLiteral("Start without a SIM card."));
    const QCommandLineOption noModemOption(
        QStringLiteral("no-modem"), QStringLiteral("Start with no modem listed."));
    const QCommandLineOption pinRequestOption(QStringLiteral("pin-request"),
        QStringLiteral("PIN request at power-up: on or off."), QStringLiteral("on|off"),
        QStringLiteral("on"));
    const QCommandLineOption pinEnteredOption(QStringLiteral("pin-entered"),
        QStringLiteral("The PIN was entered already: the card starts ready."));
    const QCommandLineOption pinOption(
        QStringLiteral("pin"), QStringLiteral("The PIN (4 to 8 digits)."), QStringLiteral("code"));
    const QCommandLineOption pukOption(
        QStringLiteral("puk"), QStringLiteral("The PUK (8 digits)."), QStringLiteral("code"));
    const QCommandLineOption unlockOption(QStringLiteral("unlock-code"),
        QStringLiteral("The SIM lock's unlock code (8 to 16 digits)."), QStringLiteral("code"));
    const QCommandLineOption lockedOption(
        QStringLiteral("sim-locked"), QStringLiteral("The SIM lock is active at start."));
    const QCommandLineOption lockTypeOption(QStringLiteral("lock-type"),
        QStringLiteral("Type of the SIM lock, e.g. network."), QStringLiteral("type"),
        QStringLiteral("network"));
    const QCommandLineOption startUpOption(QStringLiteral("start-up-ms"),
        QStringLiteral("How long the card starts after insertion or unlocking."),
        QStringLiteral("ms"), QString::number(SimModel::DefaultStartUpMs));
    parser.addOptions({ absentOption, noModemOption, pinRequestOption, pinEnteredOption, pinOption,
        pukOption, unlockOption, lockedOption, lockTypeOption, startUpOption });
    parser.process(app);

    SimModel::Config config;
    config.present = !parser.isSet(absentOption);
    config.pinRequired = !parser.isSet(pinEnteredOption);
    if (parser.isSet(pinOption))
        config.pin = parser.value(pinOption);
    if (parser.isSet(pukOption))
        config.puk = parser.value(pukOption);
    if (parser.isSet(unlockOption))
        config.unlockCode = parser.value(unlockOption);
    config.simLocked = parser.isSet(lockedOption);
    config.lockType = parser.value(lockTypeOption);
    bool ok = parseOnOff(parser.value(pinRequestOption), &config.pinRequest);
    config.startUpMs = ok ? parser.value(startUpOption).toInt(&ok) : 0;
    const QString problem = ok
        ? SimModel::configProblem(config)
        : QStringLiteral("--pin-request wants on or off, --start-up-ms a number");
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "modem-sim: %s\n", qPrintable(problem));
        return ExitBadArguments;
    }

    registerModemTypes();
    CallLog log;
    FaultInjector faults;
    SimModel model(config);
    OfonoManager manager(OfonoSimManager::Path, ModemAdaptor::modemProperties(), &log, &faults);
    new OfonoManagerAdaptor(&manager);
    manager.setModemPresent(!parser.isSet(noModemOption));
    OfonoSimManager simManager(&model, &log, &faults);
    new ModemAdaptor(&simManager);
    new OfonoSimManagerAdaptor(&simManager);
    ModemControl control(&model, &manager, !parser.isSet(noModemOption), &log, &faults);
    new PeerControlAdaptor(&control);
    new ModemControlAdaptor(&control);

    BusPresence presence(PublicName, ControlName, [&](QDBusConnection &bus) {
        return bus.registerObject(OfonoManager::Path, &manager, QDBusConnection::ExportAdaptors)
            && bus.registerObject(
                OfonoSimManager::Path, &simManager, QDBusConnection::ExportAdaptors)
            && bus.registerObject(PeerControl::Path, &control, QDBusConnection::ExportAdaptors);
    });
    control.setPresence(&presence);
    QObject::connect(
        &presence, &BusPresence::lost, &app, [] { QCoreApplication::exit(ExitBusLost); });
    QObject::connect(
        &presence, &BusPresence::rejoinFailed, &app, [] { QCoreApplication::exit(ExitNoBus); });
    if (!presence.join())
        return ExitNoBus;
    return app.exec();
}
