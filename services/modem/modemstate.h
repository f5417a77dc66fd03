#pragma once

#include "simmodel.h"

#include <QObject>
#include <QStringList>
#include <QVariantMap>

// The simulated modem object's own state, as the telephony service shows it:
// power, online, the interfaces it offers and the identity it read from the
// modem. Powering up reads the card afresh; the SIM manager is among the
// interfaces only while the modem is powered, and more interfaces follow once
// the card is ready.
class ModemState : public QObject
{
    Q_OBJECT

public:
    ModemState(SimModel *model, bool powered, QObject *parent = nullptr);

    // The modem's properties (GetProperties, and GetModems' entries).
    QVariantMap properties() const;
    bool isPowered() const { return m_powered; }

    // SetProperty as the service answers it: Powered and Online are writable.
    SimModel::Result setProperty(const QString &name, const QVariant &value);
    void setPowered(bool powered);
    // Back to the power the modem started with, the card left as it is.
    void reset();

public Q_SLOTS:
    // The SIM manager's property changes as they went out: the card becoming
    // ready or not moves the interfaces.
    void onSimPropertyChanged(const QString &name);

Q_SIGNALS:
    void propertyChanged(const QString &name, const QVariant &value);

private:
    QStringList interfaces() const;
    QStringList features() const;
    // Applies a change and reports what it moved, in the service's order.
    template <typename Change> void change(Change apply, const QStringList &order);

    SimModel *m_model;
    bool m_poweredAtStart;
    bool m_powered;
    bool m_online;
    bool m_cardReady;
};
