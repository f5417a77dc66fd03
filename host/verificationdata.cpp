#include "verificationdata.h"

#include "kivpluginbuild.h"

#include <QList>
#include <QSet>

namespace {
const QByteArray PatternKey("pattern");
const QByteArray VersionKey("version");
const QByteArray DebugKey("debug");
const QByteArray BuildKeyKey("buildkey");
constexpr int VersionParts = 3;
// Keeps version numbers far from int overflow.
constexpr int MaxVersionDigits = 6;

QString printable(const QByteArray &bytes)
{
    // Shown in messages: keep it one line and readable whatever the bytes are.
    QString out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f) {
            out += QLatin1Char(c);
        } else {
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

bool parseNumber(const QByteArray &part, int *value)
{
    if (part.isEmpty() || part.size() > MaxVersionDigits) {
        return false;
    }
    int result = 0;
    for (const char c : part) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + (c - '0');
    }
    *value = result;
    return true;
}

bool parseVersion(const QByteArray &text, VerificationData *data)
{
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() != VersionParts) {
        return false;
    }
    return parseNumber(parts.at(0), &data->majorVersion)
        && parseNumber(parts.at(1), &data->minorVersion)
        && parseNumber(parts.at(2), &data->patchVersion);
}
} // namespace

bool VerificationData::parse(const QByteArray &text, VerificationData *data, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    if (text.size() > MaxTextLength) {
        return fail(QStringLiteral("verification data longer than %1 bytes").arg(MaxTextLength));
    }
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    VerificationData result;
    QSet<QByteArray> seen;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        const int equals = line.indexOf('=');
        if (equals <= 0) {
            return fail(QStringLiteral("verification data line %1 is not key=value: \"%2\"")
                            .arg(i + 1)
                            .arg(printable(line)));
        }
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        if (seen.contains(key)) {
            return fail(QStringLiteral("verification data repeats \"%1\"").arg(printable(key)));
        }
        seen.insert(key);
        if (key == PatternKey) {
            result.pattern = value;
        } else if (key == VersionKey) {
            if (!parseVersion(value, &result)) {
                return fail(QStringLiteral("verification data has a malformed version \"%1\"")
                                .arg(printable(value)));
            }
        } else if (key == DebugKey) {
            if (value == "true") {
                result.debug = true;
            } else if (value == "false") {
                result.debug = false;
            } else {
                return fail(QStringLiteral("verification data has a malformed debug flag \"%1\"")
                                .arg(printable(value)));
            }
        } else if (key == BuildKeyKey) {
            result.buildKey = value;
        } else {
            return fail(
                QStringLiteral("verification data has an unknown key \"%1\"").arg(printable(key)));
        }
    }
    for (const QByteArray &key : { PatternKey, VersionKey, DebugKey, BuildKeyKey }) {
        if (!seen.contains(key)) {
            return fail(QStringLiteral("verification data lacks \"%1\"").arg(QLatin1String(key)));
        }
    }
    if (data) {
        *data = result;
    }
    return true;
}

QString VerificationData::mismatch(const VerificationData &plugin, const VerificationData &host)
{
    if (plugin.pattern != host.pattern) {
        return QStringLiteral("wrong verification marker \"%1\"").arg(printable(plugin.pattern));
    }
    if (plugin.majorVersion != host.majorVersion) {
        return QStringLiteral("built for Qt %1, another major version than this host's Qt %2")
            .arg(plugin.versionString(), host.versionString());
    }
    if (plugin.minorVersion > host.minorVersion) {
        return QStringLiteral("built for Qt %1, newer than this host's Qt %2")
            .arg(plugin.versionString(), host.versionString());
    }
    if (plugin.debug != host.debug) {
        return QStringLiteral("a %1 build, this host loads only %2 builds")
            .arg(plugin.debug ? QStringLiteral("debug") : QStringLiteral("release"),
                host.debug ? QStringLiteral("debug") : QStringLiteral("release"));
    }
    if (plugin.buildKey != host.buildKey) {
        return QStringLiteral("build key \"%1\" differs from this host's \"%2\"")
            .arg(printable(plugin.buildKey), printable(host.buildKey));
    }
    return QString();
}

VerificationData VerificationData::hostData()
{
    VerificationData host;
    host.pattern = KIV_PLUGIN_VERIFICATION_PATTERN;
    // The Qt the host runs on decides which plug-ins it can load, as with
    // Qt's own loader; the configured version is only a fallback.
    if (!parseVersion(QByteArray(qVersion()), &host)) {
        parseVersion(QByteArray(KIV_PLUGIN_QT_VERSION), &host);
    }
    host.debug = QByteArray(KIV_PLUGIN_DEBUG) == "true";
    host.buildKey = KIV_PLUGIN_BUILD_KEY;
    return host;
}

QString VerificationData::versionString() const
{
    return QStringLiteral("%1.%2.%3").arg(majorVersion).arg(minorVersion).arg(patchVersion);
}
