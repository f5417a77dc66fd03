#pragma once

#include <QObject>

class QDBusInterface;

// Client of the PIN query UI service. Every code dialogue runs in the
// service's process: the methods here only start one, and the outcome comes
// back later as one of the two relayed signals.
class PinQueryInterface : public QObject
{
    Q_OBJECT

public:
    explicit PinQueryInterface(QObject *parent = nullptr);
    ~PinQueryInterface() override;

    bool isValid();
    void ChangePinCode();
    void SimLockUnlock();
    void EnablePinQuery(bool enable);

Q_SIGNALS:
    void PinQueryEnabled(int);
    void SimLockUnlockComplete(bool);

private:
    QDBusInterface *dbusInterface;
};
