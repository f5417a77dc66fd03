#include "settingshost.h"

#include "appletlist.h"
#include "appletloader.h"
#include "hostview.h"
#include "kivappletif.h"
#include "kivbrief.h"
#include "kivwidget.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QTranslator>

namespace {
// The id the host asks for its list line and its page: the applet's main one.
constexpr int MainId = 0;
const QString NoLanguage = QStringLiteral("none");
} // namespace

SettingsHost::SettingsHost(QObject *parent)
    : QObject(parent)
    , m_scene(new QGraphicsScene(this))
    , m_view(nullptr)
    , m_list(new AppletList)
{
    m_scene->setSceneRect(0, 0, HostView::ScreenWidth, HostView::ScreenHeight);
    m_view = new HostView(m_scene);
    m_scene->addItem(m_list);
    m_list->setGeometry(m_scene->sceneRect());
    connect(m_view, SIGNAL(backRequested()), this, SLOT(onBackRequested()));
    connect(m_list, SIGNAL(activated(int)), this, SLOT(onAppletActivated(int)));
}

SettingsHost::~SettingsHost()
{
    // Pages, briefs and applets are the plug-ins' classes: delete them while
    // the application and the libraries are still there.
    delete m_page.data();
    for (Applet &applet : m_applets) {
        delete applet.brief.data();
        delete applet.root.data();
    }
    delete m_view;
    for (QTranslator *translator : qAsConst(m_translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

bool SettingsHost::loadPlugin(const QString &file, QString *error)
{
    const AppletLoader::Result result = AppletLoader::load(file);
    if (!result.isLoaded()) {
        if (error) {
            *error = QStringLiteral("refused plug-in %1: %2").arg(file, result.error);
        }
        return false;
    }
    Applet applet;
    applet.file = file;
    applet.root = result.root;
    applet.applet = result.applet;
    applet.applet->init();
    // The host keeps the brief for the applet's lifetime and deletes it at the end.
    applet.brief = applet.applet->constructBrief(MainId);
    m_applets.append(applet);
    refreshList();
    return true;
}

QStringList SettingsHost::loadDirectory(const QString &directory)
{
    QStringList refusals;
    if (!QFileInfo(directory).isDir()) {
        refusals << QStringLiteral("no applet directory %1").arg(directory);
        return refusals;
    }
    const QStringList files = AppletLoader::pluginFiles(directory);
    for (const QString &file : files) {
        QString error;
        if (!loadPlugin(file, &error)) {
            refusals << error;
        }
    }
    return refusals;
}

int SettingsHost::appletCount() const
{
    return m_applets.size();
}

KivAppletIf *SettingsHost::appletAt(int index) const
{
    if (index < 0 || index >= m_applets.size() || m_applets.at(index).root.isNull()) {
        return nullptr;
    }
    return m_applets.at(index).applet;
}

KivBrief *SettingsHost::briefAt(int index) const
{
    return appletAt(index) ? m_applets.at(index).brief.data() : nullptr;
}

QString SettingsHost::appletTitle(int index) const
{
    KivAppletIf *applet = appletAt(index);
    if (!applet) {
        return QString();
    }
    KivBrief *brief = briefAt(index);
    if (brief && !brief->titleText().isNull()) {
        return brief->titleText();
    }
    return applet->title();
}

QString SettingsHost::appletValueText(int index) const
{
    KivBrief *brief = briefAt(index);
    return brief ? brief->valueText() : QString();
}

int SettingsHost::findApplet(const QString &titleOrIndex) const
{
    bool isNumber = false;
    const int index = titleOrIndex.toInt(&isNumber);
    if (isNumber) {
        return index >= 0 && index < m_applets.size() ? index : -1;
    }
    for (int i = 0; i < m_applets.size(); ++i) {
        if (appletTitle(i) == titleOrIndex) {
            return i;
        }
    }
    return -1;
}

void SettingsHost::setTranslationsDirectory(const QString &directory)
{
    m_translationsDirectory = directory;
}

bool SettingsHost::setLanguage(const QString &code, QString *error)
{
    QList<QTranslator *> loaded;
    if (code != NoLanguage) {
        const QDir dir(m_translationsDirectory);
        const QStringList files = dir.entryList(
            { QStringLiteral("*_%1.qm").arg(code) }, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString &name : files) {
            auto *translator = new QTranslator;
            if (translator->load(dir.absoluteFilePath(name))) {
                loaded << translator;
            } else {
                delete translator;
            }
        }
        if (loaded.isEmpty()) {
            if (error) {
                *error = QStringLiteral("no catalogue for language \"%1\" in %2")
                             .arg(code, m_translationsDirectory);
            }
            return false;
        }
    }
    for (QTranslator *translator : qAsConst(m_translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    m_translators = loaded;
    for (QTranslator *translator : qAsConst(m_translators)) {
        QCoreApplication::installTranslator(translator);
    }
    // The language change reaches the toolkit's widgets as events.
    settle();
    refreshList();
    return true;
}

bool SettingsHost::openApplet(int index, QString *message)
{
    KivAppletIf *applet = appletAt(index);
    if (!applet) {
        if (message) {
            *message = QStringLiteral("no applet %1").arg(index);
        }
        return false;
    }
    if (!m_page.isNull()) {
        closePage();
    }
    KivWidget *page = applet->constructWidget(MainId);
    if (!page) {
        if (message) {
            *message = QStringLiteral("applet \"%1\" has no page to show").arg(appletTitle(index));
        }
        return false;
    }
    m_page = page;
    m_list->hide();
    if (page->scene() != m_scene) {
        m_scene->addItem(page);
    }
    page->setGeometry(m_scene->sceneRect());
    page->show();
    settle();
    if (message) {
        *message = QStringLiteral("opened \"%1\" (%2)")
                       .arg(appletTitle(index), QLatin1String(page->metaObject()->className()));
    }
    return true;
}

KivWidget *SettingsHost::page() const
{
    return m_page.data();
}

bool SettingsHost::back()
{
    if (m_page.isNull()) {
        return false;
    }
    if (m_page->back()) {
        closePage();
    }
    return true;
}

void SettingsHost::closePage()
{
    delete m_page.data();
    m_list->show();
    settle();
}

HostView *SettingsHost::view() const
{
    return m_view;
}

QGraphicsScene *SettingsHost::scene() const
{
    return m_scene;
}

bool SettingsHost::screenshot(const QString &file, QString *error) const
{
    QImage image(HostView::ScreenWidth, HostView::ScreenHeight, QImage::Format_ARGB32);
    image.fill(m_view->backgroundBrush().color());
    {
        QPainter painter(&image);
        painter.setRenderHints(m_view->renderHints());
        m_scene->render(&painter, QRectF(image.rect()), m_scene->sceneRect());
    }
    if (!image.save(file, "PNG")) {
        if (error) {
            *error = QStringLiteral("cannot write %1").arg(file);
        }
        return false;
    }
    return true;
}

void SettingsHost::settle()
{
    // A short event loop of its own, so deferred deletions posted outside
    // any loop run too; it quits as soon as the events already posted are done.
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}

void SettingsHost::onBackRequested()
{
    back();
}

void SettingsHost::onAppletActivated(int index)
{
    QString message;
    openApplet(index, &message);
}

void SettingsHost::refreshList()
{
    QStringList titles;
    QStringList values;
    for (int i = 0; i < m_applets.size(); ++i) {
        titles << appletTitle(i);
        values << appletValueText(i);
    }
    m_list->setRows(titles, values);
}
