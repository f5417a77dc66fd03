// A small applet with a page, so that the host's automation can be driven
// against known widgets: a title label, a switch that shows a note a moment
// after it is turned on, and a running spinner. Built with a PLUGIN_* option
// it is wrong in one way instead, for the loader's refusals.

#include "kivappletif.h"
#include "kivbrief.h"
#include "kivpluginbuild.h"
#include "kivwidget.h"
#include "zubutton.h"
#include "zulabel.h"
#include "zulayout.h"
#include "zulinearlayoutpolicy.h"
#include "zuprogressindicator.h"

#include <QPointer>
#include <QTimer>

#ifndef PLUGIN_PATTERN
#define PLUGIN_PATTERN KIV_PLUGIN_VERIFICATION_PATTERN
#endif
#ifndef PLUGIN_VERSION
#define PLUGIN_VERSION KIV_PLUGIN_QT_VERSION
#endif

namespace {
// The note appears through the event loop, not at once, so that a script has
// to wait for it.
constexpr int NoteDelayMs = 50;
} // namespace

class TestPage : public KivWidget
{
    Q_OBJECT
public:
    TestPage()
    {
        auto *layout = new ZuLayout(this);
        auto *policy = new ZuLinearLayoutPolicy(layout, Qt::Vertical);
        m_title = new ZuLabel(this);
        m_title->setObjectName(QStringLiteral("TestTitle"));
        m_title->setStyleName(QStringLiteral("CommonHeaderInverted"));
        policy->addItem(m_title);
        auto *button = new ZuButton(this);
        button->setObjectName(QStringLiteral("TestSwitch"));
        button->setViewType(ZuButton::switchType);
        button->setCheckable(true);
        policy->addItem(button);
        auto *note = new ZuLabel(this);
        note->setObjectName(QStringLiteral("TestNote"));
        note->setText(QStringLiteral("switched \"on\""));
        note->hide();
        auto *spinner = new ZuProgressIndicator(this, ZuProgressIndicator::spinnerType);
        spinner->setObjectName(QStringLiteral("TestSpinner"));
        spinner->setUnknownDuration(true);
        policy->addItem(spinner);
        connect(button, &ZuButton::toggled, note, [note](bool checked) {
            QTimer::singleShot(NoteDelayMs, note, [note, checked] { note->setVisible(checked); });
        });
        setLayout(layout);
        retranslateUi();
    }

    void retranslateUi() override { m_title->setText(qtTrId("qtn_cell_sim_card")); }

private:
    ZuLabel *m_title;
};

class TestApplet : public QObject, public KivAppletIf
{
    Q_OBJECT
    Q_INTERFACES(KivAppletIf)
public:
    // The host deletes the page when it closes it.
    KivWidget *constructWidget(int) override { return new TestPage; }
    QString title() const override { return QStringLiteral("Test applet"); }
    QVector<QAction *> viewMenuItems() override { return {}; }
    KivBrief *constructBrief(int) override { return new KivBrief; }
};

#ifndef PLUGIN_NO_VERIFICATION
extern "C" Q_DECL_EXPORT const char *qt_plugin_query_verification_data()
{
#ifdef PLUGIN_RAW_VERIFICATION
    return PLUGIN_RAW_VERIFICATION;
#else
    return "pattern=" PLUGIN_PATTERN "\nversion=" PLUGIN_VERSION "\ndebug=" KIV_PLUGIN_DEBUG
           "\nbuildkey=" KIV_PLUGIN_BUILD_KEY;
#endif
}
#endif

#ifndef PLUGIN_NO_INSTANCE
extern "C" Q_DECL_EXPORT QObject *qt_plugin_instance()
{
    static QPointer<QObject> instance;
    if (instance.isNull()) {
#ifdef PLUGIN_NOT_AN_APPLET
        instance = new QObject;
#else
        instance = new TestApplet;
#endif
    }
    return instance.data();
}
#endif

#include "pageplugin.moc"
