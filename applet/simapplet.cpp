#include "simapplet.h"

#include "kivbrief.h"
#include "kivsim.h"
#include "kivwidget.h"
#include "mainpage.h"
#include "simbrief.h"
#include "zudebug.h"

#include <QAction>

namespace {
// No translation context: the text ids are looked up with qtTrId.
constexpr int NoPluralCount = -1;
} // namespace

SimApplet::SimApplet(QObject *parent)
    : QObject(parent)
{ }

SimApplet::~SimApplet() = default;

void SimApplet::init()
{
    zuDebugStream(Q_FUNC_INFO);
    // The host keeps the brief it was given; forgetting it here only makes the
    // next request build a new one.
    m_brief = nullptr;
}

KivWidget *SimApplet::constructWidget(int)
{
    zuDebugStream(Q_FUNC_INFO);
    return pageMain();
}

KivWidget *SimApplet::pageMain()
{
    zuDebugStream(Q_FUNC_INFO);
    if (m_page.isNull()) {
        m_page = createMainPage();
    }
    return m_page.data();
}

QString SimApplet::title() const
{
    zuDebugStream(Q_FUNC_INFO);
    return qtTrId(KivSim::SimCardText, NoPluralCount);
}

QVector<QAction *> SimApplet::viewMenuItems()
{
    return QVector<QAction *>();
}

KivBrief *SimApplet::constructBrief(int)
{
    zuDebugStream(Q_FUNC_INFO);
    if (m_brief.isNull()) {
        m_brief = new SimBrief();
    }
    return m_brief.data();
}
