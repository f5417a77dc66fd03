#include "programpaths.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramPaths::resolve(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path)) {
        return path;
    }
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + path);
}
