// Reference PIN query UI service on the system bus, with its control
// interface beside the public one (names in peernames.h). With a display it
// asks for codes in a window; headless, the answers come from --answer or the
// control interface.

#include "buspresence.h"
#include "calllog.h"
#include "defaultcodes.h"
#include "dialogprompt.h"
#include "faultinjector.h"
#include "headlessprompt.h"
#include "localpinbackend.h"
#include "ofonopinbackend.h"
#include "peercontroladaptor.h"
#include "peermain.h"
#include "peernames.h"
#include "pincodequery.h"
#include "pincodequeryadaptor.h"
#include "pinquerycontrol.h"
#include "pinquerycontroladaptor.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <memory>

namespace {

bool displayAvailable()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        return false;
    }
    return !platform.isEmpty() || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference PIN query UI service."));
    const QCommandLineOption headlessOption(QStringLiteral("headless"),
        QStringLiteral("No windows: answers come from --answer or the control interface."));
    const QCommandLineOption answerOption(QStringLiteral("answer"),
        QStringLiteral("Answer to the next question, in order (repeatable): a code or \"cancel\"."),
        QStringLiteral("code"));
    const QCommandLineOption pinOption(QStringLiteral("pin"), QStringLiteral("The SIM's PIN."),
        QStringLiteral("code"), DefaultCodes::Pin);
    const QCommandLineOption pukOption(QStringLiteral("puk"), QStringLiteral("The SIM's PUK."),
        QStringLiteral("code"), DefaultCodes::Puk);
    const QCommandLineOption unlockOption(QStringLiteral("unlock-code"),
        QStringLiteral("The SIM lock's unlock code."), QStringLiteral("code"),
        DefaultCodes::UnlockCode);
    const QCommandLineOption requestOption(QStringLiteral("pin-request"),
        QStringLiteral("PIN code request at start: on or off."), QStringLiteral("on|off"),
        QStringLiteral("on"));
    const QCommandLineOption lockOption(QStringLiteral("sim-lock"),
        QStringLiteral("SIM lock at start: on or off."), QStringLiteral("on|off"),
        QStringLiteral("on"));
    const QCommandLineOption backendOption(QStringLiteral("backend"),
        QStringLiteral("Who decides about codes: \"local\" (the codes given here) or \"modem\" "
                       "(the SIM card, through the telephony service on the bus)."),
        QStringLiteral("local|modem"), QStringLiteral("local"));
    parser.addOptions({ headlessOption, answerOption, pinOption, pukOption, unlockOption,
        requestOption, lockOption, backendOption });
    // Parsed before the application object: the options choose its kind.
    if (const int exit = PeerMain::parse(parser, arguments); exit != PeerMain::Continue) {
        return exit;
    }

    LocalPinBackend::Config config { parser.value(pinOption), parser.value(pukOption),
        parser.value(unlockOption), true, true };
    for (const QString &code : { config.pin, config.puk, config.unlockCode }) {
        if (!CodePrompt::isValidCode(code)) {
            return PeerMain::refuse(QStringLiteral("codes are %1 to %2 digits")
                                        .arg(CodePrompt::MinDigits)
                                        .arg(CodePrompt::MaxDigits));
        }
    }
    if (!PeerMain::parseOnOff(parser.value(requestOption), &config.pinRequest)
        || !PeerMain::parseOnOff(parser.value(lockOption), &config.simLocked)) {
        return PeerMain::refuse(QStringLiteral("--pin-request and --sim-lock take on or off"));
    }
    const bool modemBackend = parser.value(backendOption) == QLatin1String("modem");
    if (!modemBackend && parser.value(backendOption) != QLatin1String("local")) {
        return PeerMain::refuse(QStringLiteral("--backend takes local or modem"));
    }
    const QStringList answers = parser.values(answerOption);
    for (const QString &answer : answers) {
        if (answer != PinQueryControl::CancelAnswer && !CodePrompt::isValidCode(answer)) {
            return PeerMain::refuse(
                QStringLiteral("--answer takes \"cancel\" or a code of %1 to %2 digits")
                    .arg(CodePrompt::MinDigits)
                    .arg(CodePrompt::MaxDigits));
        }
    }

    const bool headless = parser.isSet(headlessOption) || !displayAvailable();
    std::unique_ptr<QCoreApplication> app(
        headless ? new QCoreApplication(argc, argv) : new QApplication(argc, argv));
    app->setApplicationName(QStringLiteral("pin-query-service"));

    std::unique_ptr<PinBackend> backend;
    if (modemBackend) {
        backend.reset(new OfonoPinBackend);
    } else {
        backend.reset(new LocalPinBackend(config));
    }
    std::unique_ptr<CodePrompt> prompt;
    if (headless) {
        prompt.reset(new HeadlessPrompt);
    } else {
        prompt.reset(new DialogPrompt);
    }
    CallLog log;
    FaultInjector faults;
    PinCodeQuery query(backend.get(), prompt.get(), &log, &faults);
    new PinCodeQueryAdaptor(&query);
    PinQueryControl control(&query, backend.get(), prompt.get(), answers, &log, &faults);
    new PeerControlAdaptor(&control);
    new PinQueryControlAdaptor(&control);
    control.supplyInitialAnswers();

    BusPresence presence(PeerNames::PinQuery::Service, PeerNames::PinQuery::ControlService,
        [&](QDBusConnection &bus) {
            return bus.registerObject(
                       PeerNames::PinQuery::Path, &query, QDBusConnection::ExportAdaptors)
                && bus.registerObject(
                    PeerNames::ControlPath, &control, QDBusConnection::ExportAdaptors);
        });
    control.setPresence(&presence);
    if (!headless) {
        // Closing the last code window must not end the service.
        QApplication::setQuitOnLastWindowClosed(false);
    }
    return PeerMain::run(presence);
}
