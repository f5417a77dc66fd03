#pragma once

#include "simcard.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

// A modem on a TCP port speaking AT commands, one connection per client.
// Commands are answered strictly in order; an answer that reads the card
// waits its delay first, and later commands queue behind it.
class AtModem : public QObject
{
    Q_OBJECT

public:
    struct Pacing
    {
        int fileReadMs = 0;
        int pinStatusMs = 0;
    };

    AtModem(SimCard *card, const Pacing &pacing, bool verbose, QObject *parent = nullptr);

    bool listen(quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }

private Q_SLOTS:
    void onNewConnection();
    void onUnsolicited(const QString &line);

private:
    struct Link
    {
        QByteArray input;
        bool busy = false;
    };

    void answerNext(QTcpSocket *socket);
    void write(QTcpSocket *socket, const QStringList &lines);
    void trace(const char *direction, const QString &text) const;

    SimCard *m_card;
    Pacing m_pacing;
    bool m_verbose;
    QTcpServer m_server;
    QHash<QTcpSocket *, Link> m_links;
};
