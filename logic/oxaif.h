#pragma once

#include <QObject>
#include <QString>

class QDBusInterface;

// Client of the mode-control daemon: whether the device is offline (flight
// mode) and whether a call is in progress. The first question of each kind
// costs one blocking bus call; afterwards the daemon's change signals keep
// the cached answers current.
class OxaIf : public QObject
{
    Q_OBJECT

public:
    explicit OxaIf(QObject *parent = nullptr);
    ~OxaIf() override;

    void initIf();
    bool isOffline();
    bool isCalling();
    void setOnline();
    void checkOffline();
    void checkCalling();
    bool offlineToBool() const;
    bool callingToBool() const;

protected:
    // Declared one by one so that the meta-object records them as protected.
    Q_SIGNAL void offlineChanged(bool offline);
    Q_SIGNAL void callingChanged(bool calling);

private Q_SLOTS:
    void doOfflineChanged(uint s);
    void doCallingChanged(const QString &call, const QString &emergency);

private:
    QDBusInterface *m_requestIf;
    int m_offline;
    int m_calling;
};
