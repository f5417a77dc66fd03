#pragma once

#include "commandgroup.h"

// Commands for the mode-control daemon: flight mode, call state, its signals.
class ModeCommands : public CommandGroup
{
public:
    static const PeerInfo Peer;

    QStringList commands() const override;
    QStringList usage() const override;
    QList<PeerInfo> peers() const override { return { Peer }; }
    int run(const QStringList &arguments) override;

private:
    int flight(const QStringList &arguments);
    int radio(const QStringList &arguments);
    int call(const QStringList &arguments);
    int emitSignal(QStringList arguments);
    int status();
};
