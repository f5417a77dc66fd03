#pragma once

#include "pindialogue.h"

#include <QDBusContext>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QStringList>

class CallLog;
class CodePrompt;
class FaultInjector;
class PinBackend;

// The service's object "/com/tavik/ronwe/pin". Each method replies at once
// and queues a dialogue; dialogues run one at a time, and their outcomes go
// out as the two signals.
class PinCodeQuery : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    static const QStringList Methods;

    PinCodeQuery(PinBackend *backend, CodePrompt *prompt, CallLog *log, FaultInjector *faults,
        QObject *parent = nullptr);

    // Ends the running dialogue without an outcome and drops the queued ones.
    void abortAll();
    void emitPinQueryEnabled(int state, uint count);
    void emitSimLockUnlockComplete(bool success, uint count);

public Q_SLOTS:
    void ChangePinCode();
    void SimLockUnlock();
    void EnablePinQuery(bool enable);
    void LaunchPinQuery(const QString &code);

Q_SIGNALS:
    void PinQueryEnabled(int state);
    void SimLockUnlockComplete(bool success);

private Q_SLOTS:
    void onDialogueFinished();

private:
    void request(PinDialogue::Kind kind);
    void startNext();

    PinBackend *m_backend;
    CodePrompt *m_prompt;
    CallLog *m_log;
    FaultInjector *m_faults;
    QQueue<PinDialogue::Kind> m_queue;
    QPointer<PinDialogue> m_current;
};
