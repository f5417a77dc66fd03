#pragma once

#include <QPointer>
#include <zuwidgetcontroller.h>

class DrillDownListItem;
class InfoWidget;
class QGraphicsLinearLayout;
class SettingsItem;

// The SIM page's item list. Rows are made on first show and kept; hiding a
// row only takes it out of the layout. Rows that exclude each other are kept
// apart here, the decision which rows to show is the caller's.
class SimContainer : public ZuWidgetController
{
    Q_OBJECT

public:
    explicit SimContainer(ZuWidget *parent = nullptr);
    ~SimContainer() override;

    void showPinRequestItem(bool show);
    void showUnlockSimItem(bool show);
    void showActivateSimItem(bool show);
    // An empty text hides the error line.
    void showErrorItem(const QString &text);
    // Moves the switch without emitting pinRequestToggled(bool).
    void setPinRequestState(bool on);
    bool pinSwitchState();

    void retranslateUi() override;

    int itemIndex(ZuWidget *widget);
    void removeItem(ZuWidget *widget);

protected:
    // Emitted only by the rows: callers connect to them by signature.
    Q_SIGNAL void activationRequested();
    Q_SIGNAL void unlockRequested();
    Q_SIGNAL void pinRequestToggled(bool);
    Q_SIGNAL void changePinRequested();

private:
    DrillDownListItem *createDrillDownItem(const char *objectName, const char *signal);
    bool settleBeforeShowing(ZuWidget *row);

    QPointer<InfoWidget> m_errorItem;
    QPointer<DrillDownListItem> m_activateSimItem;
    QPointer<DrillDownListItem> m_unlockSimItem;
    QPointer<DrillDownListItem> m_pinChangeItem;
    QPointer<SettingsItem> m_pinRequestItem;
    QGraphicsLinearLayout *m_layout;
};
