#pragma once

#include <QString>

// The folders the settings host reads by default (applets, catalogues) are
// built in relative to the program's own folder: an installed tree then works
// under any prefix, and the build tree, laid out the same way, works before
// installing.
namespace ProgramPaths {

// PATH taken relative to the running program's folder. Absolute paths and the
// empty string are returned unchanged. Needs the application object.
QString resolve(const QString &path);

} // namespace ProgramPaths
