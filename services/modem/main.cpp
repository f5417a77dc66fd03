// The simulated modem on the system bus: the telephony service's modem
// manager and one modem with a SIM manager, and a control interface of its
// own. Codes come from the command line and are never printed.

#include "buspresence.h"
#include "calllog.h"
#include "faultinjector.h"
#include "modemadaptor.h"
#include "modemcontrol.h"
#include "modemcontroladaptor.h"
#include "modemlist.h"
#include "modemstate.h"
#include "ofonomanager.h"
#include "ofonomanageradaptor.h"
#include "ofonosimmanager.h"
#include "ofonosimmanageradaptor.h"
#include "peercontroladaptor.h"
#include "peermain.h"
#include "peernames.h"
#include "simmodel.h"

#include <QCommandLineParser>
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("modem-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated modem with a SIM card, behaving as the telephony service does."));
    const QCommandLineOption absentOption(
        QStringLiteral("absent"), QStringLiteral("Start without a SIM card."));
    const QCommandLineOption noModemOption(
        QStringLiteral("no-modem"), QStringLiteral("Start with no modem listed."));
    const QCommandLineOption poweredOption(QStringLiteral("powered"),
        QStringLiteral("The modem's power at start: on (the card read already) or off."),
        QStringLiteral("on|off"), QStringLiteral("on"));
    const QCommandLineOption pinRequestOption(QStringLiteral("pin-request"),
        QStringLiteral("PIN request at power-up: on or off."), QStringLiteral("on|off"),
        QStringLiteral("on"));
    const QCommandLineOption pinEnteredOption(QStringLiteral("pin-entered"),
        QStringLiteral("The PIN was entered already: the card starts ready."));
    const QCommandLineOption pinOption(QStringLiteral("pin"),
        QStringLiteral("The PIN (4 to 8 digits)."), QStringLiteral("code"), DefaultCodes::Pin);
    const QCommandLineOption pukOption(QStringLiteral("puk"), QStringLiteral("The PUK (8 digits)."),
        QStringLiteral("code"), DefaultCodes::Puk);
    const QCommandLineOption unlockOption(QStringLiteral("unlock-code"),
        QStringLiteral("The SIM lock's unlock code (8 to 16 digits)."), QStringLiteral("code"),
        DefaultCodes::UnlockCode);
    const QCommandLineOption lockedOption(
        QStringLiteral("sim-locked"), QStringLiteral("The SIM lock is active at start."));
    const QCommandLineOption lockTypeOption(QStringLiteral("lock-type"),
        QStringLiteral("Type of the SIM lock, e.g. network."), QStringLiteral("type"),
        QStringLiteral("network"));
    const QCommandLineOption startUpOption(QStringLiteral("start-up-ms"),
        QStringLiteral("How long the card is read after power-up, insertion or unlocking; "
                       "meanwhile it asks for no code."),
        QStringLiteral("ms"), QString::number(SimModel::DefaultStartUpMs));
    const QCommandLineOption recheckOption(QStringLiteral("recheck-ms"),
        QStringLiteral("How long after a wrong code's error reply its attempts left and PIN "
                       "state follow; 0 (a fault) sends them before the reply."),
        QStringLiteral("ms"), QString::number(SimModel::DefaultRecheckMs));
    const QCommandLineOption wrongCodeOption(QStringLiteral("wrong-code-error"),
        QStringLiteral("The error a wrong code gets: failed, or incorrect-password (a fault)."),
        QStringLiteral("failed|incorrect-password"), QStringLiteral("failed"));
    parser.addOptions({ absentOption, noModemOption, poweredOption, pinRequestOption,
        pinEnteredOption, pinOption, pukOption, unlockOption, lockedOption, lockTypeOption,
        startUpOption, recheckOption, wrongCodeOption });
    if (const int exit = PeerMain::parse(parser, app.arguments()); exit != PeerMain::Continue)
        return exit;

    SimModel::Config config;
    config.present = !parser.isSet(absentOption);
    config.pinRequired = !parser.isSet(pinEnteredOption);
    config.pin = parser.value(pinOption);
    config.puk = parser.value(pukOption);
    config.unlockCode = parser.value(unlockOption);
    config.simLocked = parser.isSet(lockedOption);
    config.lockType = parser.value(lockTypeOption);
    bool powered = true;
    if (!PeerMain::parseOnOff(parser.value(pinRequestOption), &config.pinRequest)
        || !PeerMain::parseOnOff(parser.value(poweredOption), &powered))
        return PeerMain::refuse(QStringLiteral("--pin-request and --powered take on or off"));
    bool startUpOk = false;
    bool recheckOk = false;
    config.startUpMs = parser.value(startUpOption).toInt(&startUpOk);
    config.recheckMs = parser.value(recheckOption).toInt(&recheckOk);
    if (!startUpOk || !recheckOk)
        return PeerMain::refuse(QStringLiteral("--start-up-ms and --recheck-ms take a number"));
    const QString wrongCode = parser.value(wrongCodeOption);
    if (wrongCode == QLatin1String("incorrect-password"))
        config.wrongCode = SimModel::Result::IncorrectPassword;
    else if (wrongCode != QLatin1String("failed"))
        return PeerMain::refuse(
            QStringLiteral("--wrong-code-error takes failed or incorrect-password"));
    if (const QString problem = SimModel::configProblem(config); !problem.isEmpty())
        return PeerMain::refuse(problem);

    registerModemTypes();
    CallLog log;
    FaultInjector faults;
    SimModel model(config);
    ModemState modem(&model, powered);
    if (!powered)
        model.setPowered(false);
    OfonoManager manager(PeerNames::Modem::ModemPath, &modem, &log, &faults);
    new OfonoManagerAdaptor(&manager);
    manager.setModemPresent(!parser.isSet(noModemOption));
    OfonoSimManager simManager(&model, &modem, &log, &faults);
    new ModemAdaptor(&simManager);
    new OfonoSimManagerAdaptor(&simManager);
    ModemControl control(&model, &modem, &manager, !parser.isSet(noModemOption), &log, &faults);
    new PeerControlAdaptor(&control);
    new ModemControlAdaptor(&control);

    BusPresence presence(
        PeerNames::Modem::Service, PeerNames::Modem::ControlService, [&](QDBusConnection &bus) {
            return bus.registerObject(
                       OfonoSim::ManagerPath, &manager, QDBusConnection::ExportAdaptors)
                && bus.registerObject(
                    PeerNames::Modem::ModemPath, &simManager, QDBusConnection::ExportAdaptors)
                && bus.registerObject(
                    PeerNames::ControlPath, &control, QDBusConnection::ExportAdaptors);
        });
    control.setPresence(&presence);
    return PeerMain::run(presence);
}
