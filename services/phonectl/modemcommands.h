#pragma once

#include "commandgroup.h"

// Commands for the simulated modem: the SIM card's presence, start-up, lock
// and state, and entering a code on the card as a phone would.
class ModemCommands : public CommandGroup
{
public:
    static const PeerInfo Peer;

    QStringList commands() const override;
    QStringList usage() const override;
    QList<PeerInfo> peers() const override { return { Peer }; }
    int run(const QStringList &arguments) override;

private:
    int status();
    int enter(const QStringList &arguments);
};
