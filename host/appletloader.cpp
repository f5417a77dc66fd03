#include "appletloader.h"

#include "kivappletif.h"
#include "kivpluginbuild.h"
#include "verificationdata.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QObject>

#include <cstring>
#include <limits>

namespace {
using VerificationFunction = const char *(*)();
using InstanceFunction = QObject *(*)();

const char VerificationSymbol[] = "qt_plugin_query_verification_data";
const char InstanceSymbol[] = "qt_plugin_instance";

// Why the verification text stored in a plug-in file does not fit this host,
// read from the file without loading it; empty when the file holds no
// readable text there or one that fits. Loading runs the plug-in's static
// registrations against the libraries this host has loaded, which a plug-in
// built with another Qt cannot survive, so such a plug-in is refused first.
QString mismatchInFile(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly) || in.size() > std::numeric_limits<int>::max()) {
        return QString();
    }
    const uchar *bytes = in.map(0, in.size());
    if (!bytes) {
        return QString();
    }
    const QByteArray contents = QByteArray::fromRawData(
        reinterpret_cast<const char *>(bytes), static_cast<int>(in.size()));
    const int start = contents.indexOf("pattern=" KIV_PLUGIN_VERIFICATION_PATTERN "\n");
    const int end = start < 0 ? -1 : contents.indexOf('\0', start);
    VerificationData pluginData;
    if (end < 0 || end - start > VerificationData::MaxTextLength
        || !VerificationData::parse(contents.mid(start, end - start), &pluginData, nullptr)) {
        return QString();
    }
    return VerificationData::mismatch(pluginData, VerificationData::hostData());
}
} // namespace

AppletLoader::Result AppletLoader::load(const QString &file)
{
    Result result;
    result.file = file;
    result.error = mismatchInFile(file);
    if (!result.error.isEmpty()) {
        return result;
    }
    QLibrary library(file);
    if (!library.load()) {
        result.error = QStringLiteral("cannot be loaded: %1").arg(library.errorString());
        return result;
    }
    auto refuse = [&](const QString &why) {
        result.error = why;
        library.unload();
        return result;
    };

    const auto verification
        = reinterpret_cast<VerificationFunction>(library.resolve(VerificationSymbol));
    if (!verification) {
        return refuse(
            QStringLiteral("no %1, not an applet plug-in").arg(QLatin1String(VerificationSymbol)));
    }
    const char *text = verification();
    if (!text) {
        return refuse(QStringLiteral("%1 returned null").arg(QLatin1String(VerificationSymbol)));
    }
    // Read at most one byte past the limit so that an unterminated text
    // cannot send us far through the plug-in's memory.
    const size_t length = strnlen(text, VerificationData::MaxTextLength + 1);
    VerificationData pluginData;
    QString parseError;
    if (!VerificationData::parse(
            QByteArray(text, static_cast<int>(length)), &pluginData, &parseError)) {
        return refuse(parseError);
    }
    const QString mismatch = VerificationData::mismatch(pluginData, VerificationData::hostData());
    if (!mismatch.isEmpty()) {
        return refuse(mismatch);
    }

    const auto instance = reinterpret_cast<InstanceFunction>(library.resolve(InstanceSymbol));
    if (!instance) {
        return refuse(QStringLiteral("no %1").arg(QLatin1String(InstanceSymbol)));
    }
    QObject *root = instance();
    if (!root) {
        return refuse(
            QStringLiteral("%1 returned no root object").arg(QLatin1String(InstanceSymbol)));
    }
    KivAppletIf *applet = qobject_cast<KivAppletIf *>(root);
    if (!applet) {
        // The object's code lives in the library: delete it first, and keep
        // the library mapped in case the plug-in left anything else behind.
        result.error = QStringLiteral("root object %1 is not an applet (no %2)")
                           .arg(QLatin1String(root->metaObject()->className()),
                               QLatin1String(KivAppletIf_iid));
        delete root;
        return result;
    }
    result.root = root;
    result.applet = applet;
    return result;
}

QStringList AppletLoader::pluginFiles(const QString &directory)
{
    QDir dir(directory);
    QStringList files;
    const QStringList names
        = dir.entryList({ QStringLiteral("*.so") }, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : names) {
        files << dir.absoluteFilePath(name);
    }
    return files;
}
