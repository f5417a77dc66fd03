// A simulated AT modem with a SIM card on a local TCP port, for a telephony
// daemon's AT driver to talk to. Prints "listening on 127.0.0.1:PORT" once
// it accepts connections; controlled over the system bus when one is there.

#include "atmodem.h"
#include "atmodemcontrol.h"
#include "simcard.h"

#include <peermain.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

#include <cstdio>

namespace {
// Past the peers' own exit codes.
const int ExitNoPort = PeerMain::ExitBusLost + 1;
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("at-modem-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated AT modem with a SIM card."));
    const QCommandLineOption portOption(QStringLiteral("port"),
        QStringLiteral("TCP port on 127.0.0.1 (0: any free one)."), QStringLiteral("port"),
        QStringLiteral("0"));
    const QCommandLineOption cardOption(QStringLiteral("card"),
        QStringLiteral("The card at start: pin, puk, ready or absent."), QStringLiteral("state"),
        QStringLiteral("pin"));
    const QCommandLineOption lockOption(QStringLiteral("pin-lock"),
        QStringLiteral("Whether a ready card's PIN lock is on (on/off)."), QStringLiteral("on|off"),
        QStringLiteral("on"));
    const QCommandLineOption pinOption(
        QStringLiteral("pin"), QStringLiteral("The PIN."), QStringLiteral("code"));
    const QCommandLineOption pukOption(
        QStringLiteral("puk"), QStringLiteral("The PUK."), QStringLiteral("code"));
    const QCommandLineOption imsiOption(QStringLiteral("imsi"),
        QStringLiteral("The subscriber identity."), QStringLiteral("digits"));
    const QCommandLineOption iccidOption(
        QStringLiteral("iccid"), QStringLiteral("The card identifier."), QStringLiteral("digits"));
    const QCommandLineOption readDelayOption(QStringLiteral("read-delay-ms"),
        QStringLiteral("Delay of each answer that reads the card."), QStringLiteral("ms"),
        QStringLiteral("0"));
    const QCommandLineOption statusDelayOption(QStringLiteral("pin-status-delay-ms"),
        QStringLiteral("Delay of each answer with the PIN state or attempts left."),
        QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption restartOption(QStringLiteral("restart-after-code"),
        QStringLiteral("After an accepted PIN or PUK, report the card taken out and put back."));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"), QStringLiteral("Log the AT conversation on stderr."));
    parser.addOptions({ portOption, cardOption, lockOption, pinOption, pukOption, imsiOption,
        iccidOption, readDelayOption, statusDelayOption, restartOption, verboseOption });
    if (const int exit = PeerMain::parse(parser, app.arguments()); exit != PeerMain::Continue)
        return exit;

    SimCard::Settings settings;
    const int state = SimCard::StateNames.indexOf(parser.value(cardOption));
    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (state < 0 || state == SimCard::Dead || !portOk || port > 0xffff
        || !PeerMain::parseOnOff(parser.value(lockOption), &settings.pinLock))
        return PeerMain::refuse(QStringLiteral("bad --card, --port or --pin-lock"));
    settings.state = SimCard::State(state);
    if (parser.isSet(pinOption)) {
        settings.pin = parser.value(pinOption);
    }
    if (parser.isSet(pukOption)) {
        settings.puk = parser.value(pukOption);
    }
    if (parser.isSet(imsiOption)) {
        settings.imsi = parser.value(imsiOption);
    }
    if (parser.isSet(iccidOption)) {
        settings.iccid = parser.value(iccidOption);
    }
    AtModem::Pacing pacing;
    pacing.fileReadMs = parser.value(readDelayOption).toInt();
    pacing.pinStatusMs = parser.value(statusDelayOption).toInt();

    SimCard card(settings);
    if (parser.isSet(restartOption)) {
        // After the answer to the code has gone out.
        QObject::connect(
            &card, &SimCard::codeAccepted, &card, &SimCard::restart, Qt::QueuedConnection);
    }
    AtModem modem(&card, pacing, parser.isSet(verboseOption));
    if (!modem.listen(quint16(port))) {
        std::fprintf(stderr, "at-modem-sim: cannot listen: %s\n", qPrintable(modem.errorString()));
        return ExitNoPort;
    }

    AtModemControl control(&card);
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.registerObject(AtModemControl::Path, &control, QDBusConnection::ExportScriptableSlots)
        || !bus.registerService(AtModemControl::ServiceName)) {
        std::fprintf(stderr, "at-modem-sim: no control on the system bus: %s\n",
            qPrintable(bus.lastError().message()));
    } else {
        // A test's private bus goes when the test ends, also when it crashed.
        bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
            QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), &app,
            SLOT(quit()));
    }
    std::printf("listening on 127.0.0.1:%u\n", modem.port());
    std::fflush(stdout);
    return app.exec();
}
