#include "simwidget.h"

#include "headerwidget.h"
#include "kivsim.h"
#include "simcontainer.h"
#include "simlogic.h"
#include "zudebug.h"
#include "zulayout.h"
#include "zulinearlayoutpolicy.h"
#include "zuseparator.h"

SimWidget::SimWidget(QGraphicsWidget *parent)
    : KivWidget(parent)
    , logic(nullptr)
    , header(nullptr)
{
    zuDebugStream(Q_FUNC_INFO);
    setReferer(0);

    ZuLayout *layout = new ZuLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ZuLinearLayoutPolicy *policy = new ZuLinearLayoutPolicy(layout, Qt::Vertical);
    policy->setSpacing(0);
    setLayout(layout);

    header = new HeaderWidget(this);
    header->setObjectName(QStringLiteral("SimSettings"));
    policy->addItem(header);

    ZuSeparator *divider = new ZuSeparator(this, Qt::Horizontal);
    divider->setStyleName(QStringLiteral("CommonHeaderDividerInverted"));
    policy->addItem(divider);

    SimContainer *container = new SimContainer(this);
    policy->addItem(container);

    logic = new SimLogic(container, this);
    connect(logic, SIGNAL(setSpinner(bool)), header, SLOT(setProgressIndicatorVisible(bool)));

    retranslateUi();
}

void SimWidget::retranslateUi()
{
    header->setText(qtTrId(KivSim::SimCardText, -1));
}
