#include "oxaif.h"

#include <zudebug.h>

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDebug>

namespace {
const QString OxaService = QStringLiteral("com.tavik.oxa");
const QString OxaRequestPath = QStringLiteral("/com/tavik/oxa/request");
const QString OxaRequestInterface = QStringLiteral("com.tavik.oxa.request");
const QString OxaSignalPath = QStringLiteral("/com/tavik/oxa/signal");
const QString OxaSignalInterface = QStringLiteral("com.tavik.oxa.signal");

const QString GetRadioStates = QStringLiteral("get_radio_states");
const QString GetCallState = QStringLiteral("get_call_state");
const QString ReqRadioStatesChange = QStringLiteral("req_radio_states_change");
const QString RadioStatesInd = QStringLiteral("radio_states_ind");
const QString CallStateInd = QStringLiteral("sig_call_state_ind");

const QString NoCall = QStringLiteral("none");
const QString ActiveCall = QStringLiteral("active");

const uint RadioOnBit = 0x1;
// req_radio_states_change takes the new states and a mask selecting the bits
// to change: radios on, and only that bit touched.
const uint RadioOnStates = RadioOnBit;
const uint RadioOnMask = RadioOnBit;

const int Unknown = -1;
const int Online = 0;
const int Offline = 1;
const int NotCalling = 0;
const int Calling = 1;

// Warnings carry the same "signature:" prefix as the debug lines.
QDebug warningStream(const char *function)
{
    QDebug stream = qWarning();
    stream.noquote() << zuSignature(function) + QLatin1Char(':');
    stream.quote();
    return stream;
}

// QDBusAbstractInterface::call pads a reply without arguments with one
// invalid argument; only the signature tells whether the daemon sent any.
bool hasArguments(const QDBusMessage &reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.signature().isEmpty();
}

int offlineFromMask(uint mask)
{
    return (mask & RadioOnBit) ? Online : Offline;
}
} // namespace

OxaIf::OxaIf(QObject *parent)
    : QObject(parent)
    , m_requestIf(nullptr)
    , m_offline(Unknown)
    , m_calling(Unknown)
{
    zuDebugStream(Q_FUNC_INFO);
    initIf();
}

OxaIf::~OxaIf() = default;

void OxaIf::initIf()
{
    zuDebugStream(Q_FUNC_INFO);
    if (m_requestIf && m_requestIf->isValid()) {
        return;
    }
    delete m_requestIf;
    QDBusConnection bus = QDBusConnection::systemBus();
    // Kept even while invalid (daemon not running): the next query replaces it.
    m_requestIf = new QDBusInterface(OxaService, OxaRequestPath, OxaRequestInterface, bus, this);

    // Subscribing by service name makes QtDBus follow the name's owner, so
    // only the daemon's own signals arrive here.
    const bool offlineConnected = bus.connect(OxaService, OxaSignalPath, OxaSignalInterface,
        RadioStatesInd, this, SLOT(doOfflineChanged(unsigned int)));
    zuDebugStream(Q_FUNC_INFO) << "Offline connected:" << offlineConnected;
    const bool callingConnected = bus.connect(OxaService, OxaSignalPath, OxaSignalInterface,
        CallStateInd, this, SLOT(doCallingChanged(const QString &, const QString &)));
    zuDebugStream(Q_FUNC_INFO) << "Calling connected:" << callingConnected;
}

bool OxaIf::isOffline()
{
    if (m_offline == Unknown) {
        checkOffline();
    }
    zuDebugStream(Q_FUNC_INFO) << m_offline;
    return offlineToBool();
}

bool OxaIf::isCalling()
{
    if (m_calling == Unknown) {
        checkCalling();
    }
    zuDebugStream(Q_FUNC_INFO) << m_calling;
    return callingToBool();
}

void OxaIf::setOnline()
{
    zuDebugStream(Q_FUNC_INFO);
    const QDBusMessage reply = m_requestIf->call(ReqRadioStatesChange, RadioOnStates, RadioOnMask);
    switch (reply.type()) {
    case QDBusMessage::ReplyMessage:
        zuDebugStream(Q_FUNC_INFO) << "Replied. Wait for status change.";
        break;
    case QDBusMessage::ErrorMessage:
        warningStream(Q_FUNC_INFO)
            << "Can't change offline status! Error:" << reply.errorName() << reply.errorMessage();
        break;
    default:
        zuDebugStream(Q_FUNC_INFO) << "reply type:" << int(reply.type());
        break;
    }
}

void OxaIf::checkOffline()
{
    zuDebugStream(Q_FUNC_INFO);
    initIf();
    const QDBusMessage reply = m_requestIf->call(GetRadioStates);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        warningStream(Q_FUNC_INFO)
            << "Can't get offline status! Error:" << reply.errorName() << reply.errorMessage();
        m_offline = Online;
    } else if (hasArguments(reply)) {
        m_offline = offlineFromMask(reply.arguments().constFirst().toUInt());
    } else {
        zuDebugStream(Q_FUNC_INFO) << "reply type:" << int(reply.type());
        m_offline = Online;
    }
}

void OxaIf::checkCalling()
{
    zuDebugStream(Q_FUNC_INFO);
    initIf();
    const QDBusMessage reply = m_requestIf->call(GetCallState);
    QString callState = ActiveCall;
    if (reply.type() == QDBusMessage::ErrorMessage) {
        warningStream(Q_FUNC_INFO)
            << "Can't get call status! Error:" << reply.errorName() << reply.errorMessage();
    } else if (hasArguments(reply)) {
        callState = reply.arguments().constFirst().toString();
    } else {
        zuDebugStream(Q_FUNC_INFO) << "reply type:" << int(reply.type());
    }
    m_calling = (callState == NoCall) ? NotCalling : Calling;
}

bool OxaIf::offlineToBool() const
{
    return m_offline != Online;
}

bool OxaIf::callingToBool() const
{
    return m_calling != NotCalling;
}

void OxaIf::doOfflineChanged(uint s)
{
    m_offline = offlineFromMask(s);
    zuDebugStream(Q_FUNC_INFO) << "Bit mask:" << s << "m_offline:" << m_offline;
    Q_EMIT offlineChanged(offlineToBool());
}

void OxaIf::doCallingChanged(const QString &call, const QString &emergency)
{
    m_calling = (call == NoCall) ? NotCalling : Calling;
    zuDebugStream(Q_FUNC_INFO) << call << emergency << "m_calling:" << m_calling;
    Q_EMIT callingChanged(callingToBool());
}
