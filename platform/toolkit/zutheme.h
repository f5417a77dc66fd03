#pragma once

#include "zustyle.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;
class QRectF;
class QSvgRenderer;

// The look of all toolkit widgets, read from theme files.
//
// Files live in one directory: $ZU_THEME_DIR when set, else the directory the
// toolkit was built with, relative to the program's own directory.
// "zutoolkit.theme" holds the base look; each theme library registered
// through ZuLibrary adds the styles of "<id>.theme" when that file exists.
// The format is line based:
//
//     # comment
//     [StyleName]
//     key = value
//     [@images]
//     image-id = relative/path.svg
class ZuTheme
{
public:
    struct ParseResult
    {
        QHash<QString, QHash<QString, QString>> styles;
        // Image id to path as written in the file (relative to the file's directory).
        QHash<QString, QString> images;
        // "line N: what is wrong", in file order. Bad lines are skipped.
        QStringList errors;
    };

    // Pure parser over a file's bytes; never fails, reports bad lines in errors.
    static ParseResult parse(const QByteArray &data);

    // The process-wide theme, loaded on first use.
    static ZuTheme *instance();
    // The directory searched for theme files.
    static QString themeDirectory();

    // The look for a style name. An unknown name gets the default look and
    // one warning per name; the empty name is the default look, silently.
    ZuStyle style(const QString &name);
    bool hasStyle(const QString &name) const;
    // Whether the base file "zutoolkit.theme" was read: without it every
    // widget has the default look.
    bool isLoaded() const;

    // Absolute file of an image id; empty when the id is unknown.
    QString imagePath(const QString &id) const;
    // Natural size of an image; empty when the id is unknown or unreadable.
    QSizeF imageSize(const QString &id);
    // Draws the image scaled into target, keeping its aspect ratio; returns
    // false (drawing nothing) for an unknown or unreadable image.
    bool drawImage(QPainter *painter, const QString &id, const QRectF &target);

    // Adds the styles of "<id>.theme" if it exists; returns whether it did.
    bool addLibrary(const QString &id);
    void removeLibrary(const QString &id);
    QStringList libraries() const;

    // Problems met while loading the files, prefixed with the file name.
    QStringList errors() const;
    // Reads all files again (after ZU_THEME_DIR changed, say).
    void reload();

private:
    ZuTheme();
    ~ZuTheme();
    Q_DISABLE_COPY(ZuTheme)

    void rebuild();
    bool loadFile(const QString &fileName, ParseResult *result);
    QSvgRenderer *renderer(const QString &id);

    QString m_directory;
    ParseResult m_base;
    bool m_baseLoaded = false;
    // Registered libraries in registration order, with what their file gave.
    QList<QPair<QString, ParseResult>> m_libraries;
    QHash<QString, ZuStyle> m_styles;
    QHash<QString, QString> m_images;
    QStringList m_errors;
    QSet<QString> m_warned;
    QHash<QString, QSvgRenderer *> m_renderers;
};
