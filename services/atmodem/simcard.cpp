#include "simcard.h"

const QStringList SimCard::StateNames { "pin", "puk", "ready", "absent", "dead" };

namespace {
// Final result codes of 3GPP TS 27.007.
const QString Ok = QStringLiteral("OK");
const QString Error = QStringLiteral("ERROR");
const QString NotAllowed = QStringLiteral("+CME ERROR: 3");
const QString NotInserted = QStringLiteral("+CME ERROR: 10");
const QString PinRequired = QStringLiteral("+CME ERROR: 11");
const QString PukRequired = QStringLiteral("+CME ERROR: 12");
const QString SimFailure = QStringLiteral("+CME ERROR: 13");
const QString WrongPassword = QStringLiteral("+CME ERROR: 16");

// Status words of a card answer: done, and file not found.
const QString FileContent = QStringLiteral("+CRSM: 144,0,");
const QString NoSuchFile = QStringLiteral("+CRSM: 106,130");
const int GetResponse = 192;
const int ReadBinary = 176;
const int IccidFile = 0x2fe2;

// The ICCID's digits in the order the card stores them: swapped pairs,
// padded with F to whole bytes.
QString swappedDigits(QString digits)
{
    if (digits.size() % 2) {
        digits += QLatin1Char('F');
    }
    for (int i = 0; i < digits.size(); i += 2) {
        const QChar first = digits.at(i);
        digits[i] = digits.at(i + 1);
        digits[i + 1] = first;
    }
    return digits;
}

QStringList argumentsOf(const QString &command)
{
    QStringList arguments
        = command.mid(command.indexOf(QLatin1Char('=')) + 1).split(QLatin1Char(','));
    for (QString &argument : arguments) {
        argument = argument.trimmed().remove(QLatin1Char('"'));
    }
    return arguments;
}

SimCard::Answer done(const QString &result, const QStringList &lines = QStringList())
{
    return { lines, result, SimCard::Immediate };
}
} // namespace

SimCard::SimCard(const Settings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
{
    replace(settings.state, settings.pinLock);
}

void SimCard::replace(State state, bool pinLock)
{
    m_state = state;
    m_stateBeforeRemoval = state == Absent ? Ready : state;
    m_pin = m_settings.pin;
    m_pinLock = pinLock || state == PinAsked;
    m_pinLeft = state == PukAsked ? 0 : PinAttempts;
    m_pukLeft = PukAttempts;
}

void SimCard::remove()
{
    if (m_state == Absent) {
        return;
    }
    m_stateBeforeRemoval = m_state;
    m_state = Absent;
    Q_EMIT unsolicited(QStringLiteral("+USIMSTATE: 0"));
}

void SimCard::insert()
{
    if (m_state != Absent) {
        return;
    }
    // A card put back starts again: a locked one asks for its PIN.
    m_state = m_stateBeforeRemoval == Ready && m_pinLock ? PinAsked : m_stateBeforeRemoval;
    Q_EMIT unsolicited(QStringLiteral("+USIMSTATE: 1"));
}

void SimCard::restart()
{
    Q_EMIT unsolicited(QStringLiteral("+USIMSTATE: 0"));
    Q_EMIT unsolicited(QStringLiteral("+USIMSTATE: 1"));
}

SimCard::Answer SimCard::answer(const QString &line)
{
    const QString command = line.trimmed().toUpper();
    if (command == QLatin1String("AT") || command == QLatin1String("ATE0")
        || command.startsWith(QLatin1String("AT+CSCS="))
        || command.startsWith(QLatin1String("AT+CFUN="))) {
        return done(Ok);
    }
    if (command == QLatin1String("AT+CGMI")) {
        return done(Ok, { QStringLiteral("Tavik") });
    }
    if (command == QLatin1String("AT+CGMM")) {
        return done(Ok, { QStringLiteral("Simulated modem 1") });
    }
    if (command == QLatin1String("AT+CGMR")) {
        return done(Ok, { QStringLiteral("1.0") });
    }
    if (command == QLatin1String("AT+CGSN")) {
        return done(Ok, { QStringLiteral("350000000000001") });
    }
    if (command == QLatin1String("AT+SIMSTATE?")) {
        return done(Ok, { QStringLiteral("+SIMSTATE: %1").arg(m_state == Absent ? 0 : 1) });
    }
    if (command == QLatin1String("AT+CLCK=?")) {
        return done(Ok, { QStringLiteral("+CLCK: (\"SC\",\"PS\",\"PN\")") });
    }
    if (m_state == Absent
        && (command.startsWith(QLatin1String("AT+CPIN"))
            || command.startsWith(QLatin1String("AT+CLCK"))
            || command.startsWith(QLatin1String("AT+CPWD"))
            || command.startsWith(QLatin1String("AT+CRSM"))
            || command == QLatin1String("AT+CIMI"))) {
        return done(NotInserted);
    }
    if (command == QLatin1String("AT+CPIN?")) {
        if (m_state == Dead) {
            return done(SimFailure);
        }
        static const QStringList names { "SIM PIN", "SIM PUK", "READY" };
        Answer answer = done(Ok, { QStringLiteral("+CPIN: ") + names.at(m_state) });
        answer.pace = PinStatus;
        return answer;
    }
    if (command.startsWith(QLatin1String("AT+CPIN="))) {
        return pinEntry(argumentsOf(line));
    }
    if (command == QLatin1String("AT+CPINR")) {
        Answer answer = done(Ok,
            { QStringLiteral("+CPINR: SIM PIN,%1,%2").arg(m_pinLeft).arg(PinAttempts),
                QStringLiteral("+CPINR: SIM PUK,%1,%2").arg(m_pukLeft).arg(PukAttempts) });
        answer.pace = PinStatus;
        return answer;
    }
    if (command.startsWith(QLatin1String("AT+CLCK="))) {
        return lockCommand(argumentsOf(line));
    }
    if (command.startsWith(QLatin1String("AT+CPWD="))) {
        return changePin(argumentsOf(line));
    }
    if (command.startsWith(QLatin1String("AT+CRSM="))) {
        return readFile(argumentsOf(line));
    }
    if (command == QLatin1String("AT+CIMI")) {
        Answer answer = m_state == Ready ? done(Ok, { m_settings.imsi })
                                         : done(m_state == PukAsked ? PukRequired : PinRequired);
        answer.pace = FileRead;
        return answer;
    }
    return done(Error);
}

SimCard::Answer SimCard::pinEntry(const QStringList &codes)
{
    if (m_state == PinAsked) {
        if (codes.value(0) == m_pin) {
            m_state = Ready;
            m_pinLeft = PinAttempts;
            Q_EMIT codeAccepted();
            return done(Ok);
        }
        if (--m_pinLeft > 0) {
            return done(WrongPassword);
        }
        m_state = PukAsked;
        return done(PukRequired);
    }
    if (m_state == PukAsked) {
        if (codes.size() == 2 && codes.at(0) == m_settings.puk) {
            m_state = Ready;
            m_pin = codes.at(1);
            m_pinLeft = PinAttempts;
            m_pukLeft = PukAttempts;
            Q_EMIT codeAccepted();
            return done(Ok);
        }
        if (--m_pukLeft > 0) {
            return done(WrongPassword);
        }
        m_state = Dead;
        return done(SimFailure);
    }
    return done(m_state == Dead ? SimFailure : NotAllowed);
}

bool SimCard::checkPin(const QString &pin, Answer *refusal)
{
    if (m_state != Ready) {
        *refusal = done(m_state == PinAsked ? PinRequired
                : m_state == PukAsked       ? PukRequired
                                            : SimFailure);
        return false;
    }
    if (pin == m_pin) {
        m_pinLeft = PinAttempts;
        return true;
    }
    if (--m_pinLeft > 0) {
        *refusal = done(WrongPassword);
    } else {
        m_state = PukAsked;
        *refusal = done(PukRequired);
    }
    return false;
}

SimCard::Answer SimCard::lockCommand(const QStringList &arguments)
{
    const QString facility = arguments.value(0);
    const int mode = arguments.value(1).toInt();
    if (mode == 2) {
        const bool locked = facility == QLatin1String("SC") && m_pinLock;
        return done(Ok, { QStringLiteral("+CLCK: %1").arg(locked ? 1 : 0) });
    }
    if (facility != QLatin1String("SC")) {
        return done(NotAllowed);
    }
    Answer refusal;
    if (!checkPin(arguments.value(2), &refusal)) {
        return refusal;
    }
    m_pinLock = mode == 1;
    return done(Ok);
}

SimCard::Answer SimCard::changePin(const QStringList &arguments)
{
    if (arguments.value(0) != QLatin1String("SC")) {
        return done(NotAllowed);
    }
    Answer refusal;
    if (!checkPin(arguments.value(1), &refusal)) {
        return refusal;
    }
    m_pin = arguments.value(2);
    return done(Ok);
}

SimCard::Answer SimCard::readFile(const QStringList &arguments) const
{
    const int command = arguments.value(0).toInt();
    const int file = arguments.value(1).toInt();
    Answer answer = done(Ok, { NoSuchFile });
    answer.pace = FileRead;
    if (file != IccidFile || m_state == Dead) {
        return answer;
    }
    const QString content = swappedDigits(m_settings.iccid);
    if (command == GetResponse) {
        // Transparent elementary file, readable always: size, id, type, access.
        const QString size = QString::number(content.size() / 2, 16).rightJustified(4, QLatin1Char('0'));
        answer.lines = QStringList { FileContent + QStringLiteral("0000") + size
            + QStringLiteral("2FE2040000000001020000") };
    } else if (command == ReadBinary) {
        answer.lines = QStringList { FileContent + content };
    }
    return answer;
}
