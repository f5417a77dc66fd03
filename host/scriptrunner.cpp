#include "scriptrunner.h"

#include "hostview.h"
#include "kivwidget.h"
#include "settingshost.h"
#include "widgettree.h"

#include <QApplication>
#include <QEventLoop>
#include <QGraphicsObject>
#include <QGraphicsScene>
#include <QMouseEvent>
#include <QTextStream>
#include <QTimer>

namespace {
// How often a wait looks at its condition while the event loop runs.
constexpr int PollIntervalMs = 10;

QGraphicsObject *firstVisible(const QList<QGraphicsObject *> &objects)
{
    for (QGraphicsObject *object : objects) {
        if (object->isVisible()) {
            return object;
        }
    }
    return nullptr;
}

bool related(const QGraphicsItem *a, const QGraphicsItem *b)
{
    return a == b || a->isAncestorOf(b) || b->isAncestorOf(a);
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

ScriptRunner::ScriptRunner(SettingsHost *host, QTextStream *out)
    : m_host(host)
    , m_out(out)
{ }

bool ScriptRunner::run(const QVector<ScriptCommand> &commands)
{
    for (const ScriptCommand &command : commands) {
        QString detail;
        bool quit = false;
        const bool ok = execute(command, &detail, &quit);
        if (ok) {
            *m_out << "ok line " << command.line << ": " << command.source
                   << (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail) << '\n';
        } else {
            *m_out << "FAILED line " << command.line << ": " << command.source << ": " << detail
                   << '\n';
        }
        m_out->flush();
        if (!ok) {
            return false;
        }
        if (quit) {
            break;
        }
    }
    return true;
}

bool ScriptRunner::execute(const ScriptCommand &command, QString *detail, bool *quit)
{
    switch (command.kind) {
    case ScriptCommand::Open: {
        const int index = m_host->findApplet(command.target);
        if (index < 0) {
            *detail = QStringLiteral("no applet %1").arg(quoted(command.target));
            return false;
        }
        return m_host->openApplet(index, detail);
    }
    case ScriptCommand::Back:
        if (!m_host->page()) {
            *detail = QStringLiteral("no page is open");
            return false;
        }
        m_host->back();
        *detail = m_host->page() ? QStringLiteral("the page stays") : QStringLiteral("page closed");
        return true;
    case ScriptCommand::Close:
        if (!m_host->page()) {
            *detail = QStringLiteral("no page is open");
            return false;
        }
        m_host->closePage();
        return true;
    case ScriptCommand::Tap:
        return tap(command.target, detail);
    case ScriptCommand::Locate: {
        QPoint pos;
        if (!centreOf(command.target, &pos, detail)) {
            return false;
        }
        // Where in the window, which is what a real pointer aims at.
        pos = m_host->view()->viewport()->mapTo(m_host->view()->window(), pos);
        *detail = QStringLiteral("at (%1, %2)").arg(pos.x()).arg(pos.y());
        return true;
    }
    case ScriptCommand::Wait:
        return wait(command, detail);
    case ScriptCommand::Dump:
        *m_out << dump();
        return true;
    case ScriptCommand::List:
        for (int i = 0; i < m_host->appletCount(); ++i) {
            *m_out << i << '\t' << m_host->appletTitle(i) << '\t'
                   << quoted(m_host->appletValueText(i)) << '\n';
        }
        return true;
    case ScriptCommand::Lang:
        return m_host->setLanguage(command.target, detail);
    case ScriptCommand::Screenshot:
        return m_host->screenshot(command.target, detail);
    case ScriptCommand::Echo:
        *m_out << command.text << '\n';
        return true;
    case ScriptCommand::Quit:
        *quit = true;
        return true;
    }
    *detail = QStringLiteral("unknown command");
    return false;
}

QGraphicsObject *ScriptRunner::centreOf(const QString &objectName, QPoint *pos, QString *detail)
{
    QGraphicsObject *target = firstVisible(WidgetTree::find(m_host->page(), objectName));
    if (!target) {
        *detail = QStringLiteral("no visible widget %1").arg(quoted(objectName));
        return nullptr;
    }
    HostView *view = m_host->view();
    const QPointF centre = target->mapToScene(target->boundingRect().center());
    *pos = view->mapFromScene(centre);
    if (!view->viewport()->rect().contains(*pos)) {
        *detail = QStringLiteral("%1 is off the screen at (%2, %3)")
                      .arg(quoted(objectName))
                      .arg(pos->x())
                      .arg(pos->y());
        return nullptr;
    }
    return target;
}

bool ScriptRunner::tap(const QString &objectName, QString *detail)
{
    QPoint pos;
    const QGraphicsObject *target = centreOf(objectName, &pos, detail);
    if (!target) {
        return false;
    }
    QWidget *viewport = m_host->view()->viewport();
    // Through the viewport, as a real tap arrives, so that the view's and
    // the scene's hit testing decide which item gets it.
    QMouseEvent press(QEvent::MouseButtonPress, pos, viewport->mapToGlobal(pos), Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    const QGraphicsItem *grabber = m_host->scene()->mouseGrabberItem();
    const QGraphicsObject *grabberObject = grabber ? grabber->toGraphicsObject() : nullptr;
    QMouseEvent release(QEvent::MouseButtonRelease, pos, viewport->mapToGlobal(pos), Qt::LeftButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    *detail = QStringLiteral("tapped at (%1, %2)").arg(pos.x()).arg(pos.y());
    if (!grabber) {
        *detail += QStringLiteral(", nothing took the press");
    } else if (!related(grabber, target)) {
        *detail += QStringLiteral(", the press went to %1 %2")
                       .arg(QLatin1String(grabberObject ? grabberObject->metaObject()->className()
                                                        : "an item"),
                           quoted(grabberObject ? grabberObject->objectName() : QString()));
    }
    SettingsHost::settle();
    return true;
}

bool ScriptRunner::wait(const ScriptCommand &command, QString *detail)
{
    const bool ok = waitUntil([&] { return holds(command, nullptr); }, command.timeoutMs);
    if (ok) {
        return true;
    }
    QString state;
    holds(command, &state);
    *detail = QStringLiteral("not true after %1 ms (%2)").arg(command.timeoutMs).arg(state);
    return false;
}

bool ScriptRunner::holds(const ScriptCommand &command, QString *state) const
{
    auto say = [state](const QString &text) {
        if (state) {
            *state = text;
        }
    };
    if (command.condition == ScriptCommand::DumpContains) {
        say(QStringLiteral("the dump does not contain %1").arg(quoted(command.text)));
        return dump().contains(command.text);
    }
    const QList<QGraphicsObject *> found = WidgetTree::find(m_host->page(), command.target);
    QGraphicsObject *visible = firstVisible(found);
    QGraphicsObject *object = visible ? visible : found.value(0);
    const QString name = quoted(command.target);
    if (!object) {
        say(QStringLiteral("no widget %1").arg(name));
        return command.condition == ScriptCommand::Hidden;
    }
    switch (command.condition) {
    case ScriptCommand::Visible:
        say(QStringLiteral("%1 is hidden").arg(name));
        return visible != nullptr;
    case ScriptCommand::Hidden:
        say(QStringLiteral("%1 is visible").arg(name));
        return visible == nullptr;
    case ScriptCommand::Exists:
        return true;
    case ScriptCommand::Checked:
    case ScriptCommand::Unchecked: {
        bool hasSwitch = false;
        const bool checked = WidgetTree::isChecked(object, &hasSwitch);
        if (!hasSwitch) {
            say(QStringLiteral("%1 has no switch").arg(name));
            return false;
        }
        say(QStringLiteral("%1 is %2")
                .arg(name, checked ? QStringLiteral("checked") : QStringLiteral("unchecked")));
        return checked == (command.condition == ScriptCommand::Checked);
    }
    case ScriptCommand::Spinning:
        say(QStringLiteral("%1 is not spinning").arg(name));
        return WidgetTree::isSpinning(object);
    case ScriptCommand::Text: {
        const QString text = WidgetTree::textOf(object);
        say(QStringLiteral("%1 shows %2").arg(name, quoted(text)));
        return text == command.text;
    }
    case ScriptCommand::NoCondition:
    case ScriptCommand::DumpContains:
        break;
    }
    return false;
}

QString ScriptRunner::dump() const
{
    KivWidget *page = m_host->page();
    return page ? WidgetTree::dump(page) : QStringLiteral("(no page)\n");
}

bool ScriptRunner::waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    if (condition()) {
        return true;
    }
    QEventLoop loop;
    bool held = false;
    QTimer poll;
    poll.setInterval(PollIntervalMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) {
            held = true;
            loop.quit();
        }
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start();
    deadline.start(timeoutMs);
    loop.exec();
    return held || condition();
}
