#include "atmodem.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>

AtModem::AtModem(SimCard *card, const Pacing &pacing, bool verbose, QObject *parent)
    : QObject(parent)
    , m_card(card)
    , m_pacing(pacing)
    , m_verbose(verbose)
{
    connect(&m_server, &QTcpServer::newConnection, this, &AtModem::onNewConnection);
    connect(m_card, &SimCard::unsolicited, this, &AtModem::onUnsolicited);
}

bool AtModem::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

void AtModem::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_links.insert(socket, Link());
        trace("+", QStringLiteral("connection"));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            m_links[socket].input += socket->readAll();
            answerNext(socket);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            trace("-", QStringLiteral("connection"));
            m_links.remove(socket);
            socket->deleteLater();
        });
    }
}

void AtModem::answerNext(QTcpSocket *socket)
{
    Link &link = m_links[socket];
    while (!link.busy) {
        const int end = link.input.indexOf('\r');
        if (end < 0) {
            return;
        }
        const QString command = QString::fromLatin1(link.input.left(end)).trimmed();
        link.input.remove(0, end + 1);
        if (command.isEmpty()) {
            continue;
        }
        trace("<", command);
        const SimCard::Answer answer = m_card->answer(command);
        const QStringList lines = answer.lines + QStringList { answer.result };
        const int delay = answer.pace == SimCard::FileRead ? m_pacing.fileReadMs
            : answer.pace == SimCard::PinStatus            ? m_pacing.pinStatusMs
                                                           : 0;
        if (delay <= 0) {
            write(socket, lines);
            continue;
        }
        link.busy = true;
        QTimer::singleShot(delay, socket, [this, socket, lines] {
            write(socket, lines);
            m_links[socket].busy = false;
            answerNext(socket);
        });
    }
}

void AtModem::onUnsolicited(const QString &line)
{
    for (auto it = m_links.cbegin(); it != m_links.cend(); ++it) {
        write(it.key(), { line });
    }
}

void AtModem::write(QTcpSocket *socket, const QStringList &lines)
{
    for (const QString &line : lines) {
        trace(">", line);
        socket->write("\r\n" + line.toLatin1() + "\r\n");
    }
}

void AtModem::trace(const char *direction, const QString &text) const
{
    if (!m_verbose) {
        return;
    }
    // Codes stay out of the log: quoted digits after a PIN command are masked.
    static const QRegularExpression code(QStringLiteral("\"\\d+\""));
    QString shown = text;
    if (text.startsWith(QLatin1String("AT+CPIN=")) || text.startsWith(QLatin1String("AT+CLCK="))
        || text.startsWith(QLatin1String("AT+CPWD="))) {
        shown.replace(code, QStringLiteral("\"****\""));
    }
    std::fprintf(stderr, "at-modem-sim: %s %s\n", direction, qPrintable(shown));
}
