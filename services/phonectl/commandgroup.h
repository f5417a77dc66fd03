#pragma once

#include <QDBusPendingCall>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// A reference peer as phonectl knows it: the names a person may use for it
// and the bus name of its control interface.
struct PeerInfo
{
    QString key;
    QStringList aliases;
    QString controlName;
    QString title;
};

// One group of phonectl's commands (mode control, PIN service, peers in
// general, ...). A new group is a new subclass, listed in main.cpp.
class CommandGroup
{
public:
    enum Exit { Success = 0, Failure = 1, UsageError = 2 };

    virtual ~CommandGroup();

    // The first words of the commands this group runs.
    virtual QStringList commands() const = 0;
    // Help lines, one per command.
    virtual QStringList usage() const = 0;
    // The peers this group brings; the general commands work on all of them.
    virtual QList<PeerInfo> peers() const { return {}; }
    // arguments.first() is the command itself.
    virtual int run(const QStringList &arguments) = 0;

protected:
    static void say(const QString &text);
    static int fail(const QString &text);
    static int usageError(const QString &text);

    // False, after saying why, when the bus or the peer is not there.
    static bool reachable(const PeerInfo &peer);
    // Calls a method of the peer's control object and waits for the reply;
    // false, after saying why, when the peer refuses. Blocking calls on
    // purpose: asynchronous ones left their pending-call data behind at exit
    // now and then, which LeakSanitizer reports.
    static bool control(const PeerInfo &peer, const QString &interface, const QString &method,
        const QVariantList &arguments = QVariantList(), QVariant *result = nullptr);
    // Waits for an asynchronous call; false, after saying why, when it is an
    // error. Prefer control(): see above.
    static bool succeeded(QDBusPendingCall call, const PeerInfo &peer);

    static bool parseNumber(const QString &text, uint *value);
    static bool parseBool(const QString &text, bool *value);
    // Takes "--count N" out of the arguments (default 1).
    static bool takeCount(QStringList *arguments, uint *count);
};
