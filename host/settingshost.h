#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class AppletList;
class HostView;
class KivAppletIf;
class KivBrief;
class KivWidget;
class QGraphicsScene;
class QTranslator;

// The settings host: loads applet plug-ins, shows their brief lines and opens
// one applet's page at a time in a phone-sized view.
class SettingsHost : public QObject
{
    Q_OBJECT

public:
    explicit SettingsHost(QObject *parent = nullptr);
    ~SettingsHost() override;

    // Loads a plug-in and calls the applet's init(). On refusal returns false
    // and sets *error to one line naming the file and the reason.
    bool loadPlugin(const QString &file, QString *error);
    // Loads every plug-in of a directory; returns the refusal lines.
    QStringList loadDirectory(const QString &directory);

    int appletCount() const;
    QString appletTitle(int index) const;
    // The brief line's value text; null when the applet gives no brief.
    QString appletValueText(int index) const;
    // The applet with that title, or with that index when the text is a
    // number; -1 when there is none.
    int findApplet(const QString &titleOrIndex) const;

    // Loads the catalogues "*_<code>.qm" of the translations directory,
    // replacing the ones loaded before; "none" unloads them all, so the text
    // ids show. Fails, changing nothing, when the language has no catalogue.
    void setTranslationsDirectory(const QString &directory);
    bool setLanguage(const QString &code, QString *error);

    // Opens an applet's page (constructWidget(0)). Returns false when the
    // applet has no page; *message says what happened either way.
    bool openApplet(int index, QString *message);
    KivWidget *page() const;
    // Asks the page to go back and closes it when it agrees.
    bool back();
    // Destroys the page.
    void closePage();

    HostView *view() const;
    QGraphicsScene *scene() const;
    // Renders the screen to a PNG file.
    bool screenshot(const QString &file, QString *error) const;
    // Runs the events that are due now, deferred deletions and layout included.
    static void settle();

private Q_SLOTS:
    void onBackRequested();
    void onAppletActivated(int index);

private:
    struct Applet
    {
        QString file;
        QPointer<QObject> root;
        KivAppletIf *applet = nullptr;
        QPointer<KivBrief> brief;
    };

    KivAppletIf *appletAt(int index) const;
    KivBrief *briefAt(int index) const;
    void refreshList();

    QList<Applet> m_applets;
    QList<QTranslator *> m_translators;
    QString m_translationsDirectory;
    QGraphicsScene *m_scene;
    HostView *m_view;
    AppletList *m_list;
    QPointer<KivWidget> m_page;
};
