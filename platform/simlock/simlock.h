#pragma once

#include <QMetaType>
#include <QObject>
#include <QScopedPointer>

namespace simlock {

class SIMLockPrivate;

/// The state of the phone's personalisation (SIM) lock.
class SIMLock : public QObject
{
    Q_OBJECT

public:
    enum SIMLockStatus : int {
        /// Sent together with an error.
        SIMLockStatusUnknown = 0,
        SIMLockNotActive = 1,
        /// The lock is on: the card needs the unlock code.
        SIMLockActive = 2
    };
    enum SIMLockError : int {
        NoError = 0,
        /// No telephony service on the system bus.
        ServiceUnavailable = 1,
        /// The telephony service answered with an error or with data it should not send.
        ServiceFailed = 2
    };

    explicit SIMLock(QObject *parent = nullptr);
    ~SIMLock() override;

    /// Starts a lock state query; the answer comes later as simLockStatusComplete(), once per call.
    void simLockStatus();

Q_SIGNALS:
    void simLockStatusComplete(SIMLock::SIMLockStatus status, SIMLock::SIMLockError error);

private:
    QScopedPointer<SIMLockPrivate> d;
};

} // namespace simlock

Q_DECLARE_METATYPE(simlock::SIMLock::SIMLockStatus)
Q_DECLARE_METATYPE(simlock::SIMLock::SIMLockError)
