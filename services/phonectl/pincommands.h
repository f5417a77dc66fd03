#pragma once

#include "commandgroup.h"

// Commands for the PIN query UI service: answer or cancel its dialogue, emit
// its signals.
class PinCommands : public CommandGroup
{
public:
    static const PeerInfo Peer;

    QStringList commands() const override;
    QStringList usage() const override;
    QList<PeerInfo> peers() const override { return { Peer }; }
    int run(const QStringList &arguments) override;
};
