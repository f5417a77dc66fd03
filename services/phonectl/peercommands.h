#pragma once

#include "commandgroup.h"

// Commands that every reference peer understands: faults, the record of
// received calls, reset, leaving and rejoining the bus.
class PeerCommands : public CommandGroup
{
public:
    explicit PeerCommands(const QList<PeerInfo> &peers);

    QStringList commands() const override;
    QStringList usage() const override;
    int run(const QStringList &arguments) override;

private:
    const PeerInfo *find(const QString &name) const;
    QString peerNames() const;

    QList<PeerInfo> m_peers;
};
