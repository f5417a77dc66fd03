#include "simcontainer.h"

#include "drilldownlistitem.h"
#include "infowidget.h"
#include "settingsitem.h"

#include <QCoreApplication>
#include <QGraphicsLinearLayout>
#include <kivsim.h>
#include <zubutton.h>
#include <zudebug.h>

namespace {
const char *const ListStyle = "CommonContainerInverted";
const char *const PinRequestName = "SimPinRequestItem";
const char *const PinChangeName = "SimPinChangeItem";
const char *const UnlockSimName = "SimUnlockSimItem";
const char *const ActivateSimName = "SimActivateSimItem";
const char *const ErrorName = "SimErrorItem";

const ZuBasicListItem::ItemStyle DrillDownStyle = static_cast<ZuBasicListItem::ItemStyle>(0);
const int TopIndex = 0;
// Long enough for a new row's layout to settle, short enough not to stall
// the page when the event queue is busy.
const int SettleTimeMs = 500;

QString translated(const char *id)
{
    return qtTrId(id, -1);
}
}

SimContainer::SimContainer(ZuWidget *parent)
    : ZuWidgetController(parent)
    , m_errorItem(nullptr)
    , m_activateSimItem(nullptr)
    , m_unlockSimItem(nullptr)
    , m_pinChangeItem(nullptr)
    , m_pinRequestItem(nullptr)
    , m_layout(nullptr)
{
    zuDebugStream(Q_FUNC_INFO);
    setStyleName(QLatin1String(ListStyle));
    m_layout = new QGraphicsLinearLayout(Qt::Vertical, this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

SimContainer::~SimContainer()
{
    zuDebugStream(Q_FUNC_INFO);
    delete m_errorItem.data();
    delete m_pinChangeItem.data();
    delete m_pinRequestItem.data();
    delete m_unlockSimItem.data();
    delete m_activateSimItem.data();
}

DrillDownListItem *SimContainer::createDrillDownItem(const char *objectName, const char *signal)
{
    auto *item = new DrillDownListItem(DrillDownStyle, this);
    item->hide();
    item->setObjectName(QLatin1String(objectName));
    connect(item, SIGNAL(clicked()), this, signal);
    return item;
}

bool SimContainer::settleBeforeShowing(ZuWidget *row)
{
    // Queued work (controller slots among it) may run here and call the list
    // again. A show operation so called does not settle once more: under a
    // stream of reports every report would nest the event loop one level
    // deeper, until the stack runs out. The settle step already running
    // goes on processing events for it. Static, not a member, because the
    // nesting is the thread's, whichever list started it (GUI thread only).
    static bool settling = false;
    QPointer<SimContainer> alive(this);
    QPointer<ZuWidget> shown(row);
    if (!settling) {
        settling = true;
        QCoreApplication::processEvents(
            QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers, SettleTimeMs);
        settling = false;
    }
    // The caller goes on with its remaining steps unless the list was
    // destroyed meanwhile, or a later operation took its row out again:
    // making that row visible would show a row that is not in the list.
    return alive && shown && itemIndex(shown) >= 0;
}

void SimContainer::showPinRequestItem(bool show)
{
    zuDebugStream(Q_FUNC_INFO) << show;
    if (!show) {
        removeItem(m_pinRequestItem);
        removeItem(m_pinChangeItem);
        return;
    }

    if (!m_pinRequestItem) {
        m_pinRequestItem = new SettingsItem(SettingsItem::TitleSwitch, this);
        m_pinRequestItem->hide();
        m_pinRequestItem->setObjectName(QLatin1String(PinRequestName));
        ZuButton *pinSwitch = m_pinRequestItem->button();
        pinSwitch->setCheckable(true);
        connect(pinSwitch, SIGNAL(toggled(bool)), this, SIGNAL(pinRequestToggled(bool)));
    }
    if (!m_pinChangeItem)
        m_pinChangeItem = createDrillDownItem(PinChangeName, SIGNAL(changePinRequested()));

    if (itemIndex(m_pinRequestItem) < 0)
        m_layout->addItem(m_pinRequestItem);
    if (itemIndex(m_pinChangeItem) < 0)
        m_layout->addItem(m_pinChangeItem);

    if (!settleBeforeShowing(m_pinRequestItem))
        return;
    m_pinRequestItem->setVisible(true);
    m_pinRequestItem->showButton();
    retranslateUi();
}

void SimContainer::showUnlockSimItem(bool show)
{
    zuDebugStream(Q_FUNC_INFO) << show;
    if (!show) {
        removeItem(m_unlockSimItem);
        return;
    }

    if (!m_unlockSimItem)
        m_unlockSimItem = createDrillDownItem(UnlockSimName, SIGNAL(unlockRequested()));
    if (itemIndex(m_unlockSimItem) < 0)
        m_layout->insertItem(TopIndex, m_unlockSimItem);

    if (!settleBeforeShowing(m_unlockSimItem))
        return;
    m_unlockSimItem->setVisible(true);
    retranslateUi();
}

void SimContainer::showActivateSimItem(bool show)
{
    zuDebugStream(Q_FUNC_INFO) << show;
    if (!show) {
        removeItem(m_activateSimItem);
        return;
    }

    showUnlockSimItem(false);
    showPinRequestItem(false);
    removeItem(m_errorItem);
    if (m_errorItem)
        m_errorItem->setText(QString());

    if (!m_activateSimItem) {
        // Unlike the other rows this one is not hidden at creation.
        m_activateSimItem = new DrillDownListItem(DrillDownStyle, this);
        m_activateSimItem->setObjectName(QLatin1String(ActivateSimName));
        connect(m_activateSimItem, SIGNAL(clicked()), this, SIGNAL(activationRequested()));
    }
    if (itemIndex(m_activateSimItem) < 0)
        m_layout->insertItem(TopIndex, m_activateSimItem);

    if (!settleBeforeShowing(m_activateSimItem))
        return;
    m_activateSimItem->setVisible(true);
    retranslateUi();
}

void SimContainer::showErrorItem(const QString &text)
{
    zuDebugStream(Q_FUNC_INFO) << text;
    if (text.isEmpty()) {
        removeItem(m_errorItem);
        if (m_errorItem)
            m_errorItem->setText(QString());
        return;
    }

    showActivateSimItem(false);
    showUnlockSimItem(false);
    showPinRequestItem(false);

    if (!m_errorItem) {
        m_errorItem = new InfoWidget(this);
        m_errorItem->hide();
        m_errorItem->setObjectName(QLatin1String(ErrorName));
    }
    m_errorItem->setText(text);
    if (itemIndex(m_errorItem) < 0)
        m_layout->addItem(m_errorItem);

    if (!settleBeforeShowing(m_errorItem))
        return;
    // The text comes translated from the caller, so no retranslateUi() here.
    m_errorItem->setVisible(true);
}

void SimContainer::setPinRequestState(bool on)
{
    if (m_pinRequestItem && itemIndex(m_pinRequestItem) >= 0) {
        ZuButton *pinSwitch = m_pinRequestItem->button();
        pinSwitch->blockSignals(true);
        pinSwitch->setChecked(on);
        pinSwitch->blockSignals(false);
    }
    if (m_pinChangeItem && itemIndex(m_pinChangeItem) >= 0)
        m_pinChangeItem->setVisible(on);
}

bool SimContainer::pinSwitchState()
{
    return m_pinRequestItem && m_pinRequestItem->button()->isChecked();
}

void SimContainer::retranslateUi()
{
    if (m_pinRequestItem)
        m_pinRequestItem->setTitle(translated(KivSim::PinCodeRequestText));
    if (m_pinChangeItem)
        m_pinChangeItem->setTitle(translated(KivSim::ChangePinText));
    if (m_unlockSimItem)
        m_unlockSimItem->setTitle(translated(KivSim::UnlockSimText));
    if (m_activateSimItem)
        m_activateSimItem->setTitle(translated(KivSim::ActivateSimCardText));
}

int SimContainer::itemIndex(ZuWidget *widget)
{
    if (!widget || !m_layout)
        return -1;
    for (int i = 0; i < m_layout->count(); ++i) {
        if (m_layout->itemAt(i) == widget)
            return i;
    }
    return -1;
}

void SimContainer::removeItem(ZuWidget *widget)
{
    const int index = itemIndex(widget);
    if (index < 0)
        return;
    widget->hide();
    m_layout->removeAt(index);
}
