#include "zutheme.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QtDebug>

#ifndef ZU_DEFAULT_THEME_DIR
#define ZU_DEFAULT_THEME_DIR ""
#endif

namespace {

const QString baseThemeFile = QStringLiteral("zutoolkit.theme");
const QString librarySuffix = QStringLiteral(".theme");
const QString imagesSection = QStringLiteral("@images");
const char *const themeDirVariable = "ZU_THEME_DIR";

enum class ValueKind { Text, Color, Number, Margins, Weight };

// Every key the widgets read, with the kind of value it takes. Unknown keys
// are reported so that a typing error in a theme does not go unnoticed.
const QHash<QString, ValueKind> &knownKeys()
{
    static const QHash<QString, ValueKind> keys = {
        { QStringLiteral("background-color"), ValueKind::Color },
        { QStringLiteral("pressed-background-color"), ValueKind::Color },
        { QStringLiteral("color"), ValueKind::Color },
        { QStringLiteral("on-color"), ValueKind::Color },
        { QStringLiteral("off-color"), ValueKind::Color },
        { QStringLiteral("knob-color"), ValueKind::Color },
        { QStringLiteral("font-family"), ValueKind::Text },
        { QStringLiteral("font-size"), ValueKind::Number },
        { QStringLiteral("font-weight"), ValueKind::Weight },
        { QStringLiteral("min-height"), ValueKind::Number },
        { QStringLiteral("min-width"), ValueKind::Number },
        { QStringLiteral("max-height"), ValueKind::Number },
        { QStringLiteral("preferred-height"), ValueKind::Number },
        { QStringLiteral("preferred-width"), ValueKind::Number },
        { QStringLiteral("line-width"), ValueKind::Number },
        { QStringLiteral("radius"), ValueKind::Number },
        { QStringLiteral("size"), ValueKind::Number },
        { QStringLiteral("margins"), ValueKind::Margins },
        { QStringLiteral("padding"), ValueKind::Margins },
    };
    return keys;
}

bool isNumber(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && qIsFinite(value) && value >= 0;
}

// Numbers are pixels on a phone screen. The bound lies far above any real size
// and keeps what the widgets compute from them (sums of margins, roundings to
// int) well defined.
constexpr double maxNumber = 100000;

// Empty when a number (isNumber() holds) is small enough, else why not.
QString checkRange(const QString &number)
{
    return number.toDouble() > maxNumber ? QStringLiteral("larger than %1").arg(maxNumber)
                                         : QString();
}

QString checkValue(ValueKind kind, const QString &value)
{
    switch (kind) {
    case ValueKind::Text:
        return QString();
    case ValueKind::Color:
        return QColor::isValidColor(value) ? QString() : QStringLiteral("not a colour");
    case ValueKind::Number:
        return isNumber(value) ? checkRange(value) : QStringLiteral("not a number");
    case ValueKind::Margins: {
        const QStringList parts = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != 1 && parts.size() != 4) {
            return QStringLiteral("expected one or four numbers");
        }
        for (const QString &part : parts) {
            if (!isNumber(part)) {
                return QStringLiteral("expected one or four numbers");
            }
            const QString problem = checkRange(part);
            if (!problem.isEmpty()) {
                return problem;
            }
        }
        return QString();
    }
    case ValueKind::Weight: {
        static const QStringList weights = { QStringLiteral("light"), QStringLiteral("normal"),
            QStringLiteral("demibold"), QStringLiteral("bold") };
        return weights.contains(value) ? QString() : QStringLiteral("unknown font weight");
    }
    }
    return QString();
}

// Errors quote names from the file and end up in the log: control bytes are
// shown escaped so that a corrupt file cannot break or forge log lines.
QString printable(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

// Image files must stay inside the theme directory.
bool isSafeRelativePath(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path) || path.startsWith(QLatin1Char('/'))) {
        return false;
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral("..")) && !path.contains(QLatin1Char('\\'));
}

bool isValidName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^@?[A-Za-z0-9_.-]+$"));
    return pattern.match(name).hasMatch();
}

QRectF fitted(const QSizeF &natural, const QRectF &target)
{
    if (natural.isEmpty()) {
        return target;
    }
    const QSizeF size = natural.scaled(target.size(), Qt::KeepAspectRatio);
    QRectF rect(QPointF(), size);
    rect.moveCenter(target.center());
    return rect;
}

} // namespace

ZuTheme::ParseResult ZuTheme::parse(const QByteArray &data)
{
    ParseResult result;
    // The QByteArray overload would stop at the first NUL byte and silently drop
    // the rest of the file.
    const QString text = QString::fromUtf8(data.constData(), data.size());
    const QStringList lines = text.split(QLatin1Char('\n'));
    QString section;
    bool sectionValid = false;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        const QString line = lines.at(i).trimmed();
        auto error = [&](const QString &what) {
            result.errors.append(QStringLiteral("line %1: %2").arg(lineNumber).arg(what));
        };
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))
            || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']'))) {
                error(QStringLiteral("section header without ']'"));
                sectionValid = false;
                continue;
            }
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (!isValidName(name)) {
                error(QStringLiteral("bad section name"));
                sectionValid = false;
                continue;
            }
            section = name;
            sectionValid = true;
            if (section != imagesSection) {
                // A style may be empty: it then has the default look, knowingly.
                result.styles[section];
            }
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            error(QStringLiteral("expected 'key = value'"));
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key.isEmpty()) {
            error(QStringLiteral("empty key"));
            continue;
        }
        if (!sectionValid) {
            error(QStringLiteral("key outside a section"));
            continue;
        }
        if (section == imagesSection) {
            if (!isValidName(key) || !isSafeRelativePath(value)) {
                error(QStringLiteral("bad image entry '%1'").arg(printable(key)));
                continue;
            }
            result.images.insert(key, value);
            continue;
        }
        const auto known = knownKeys().constFind(key);
        if (known == knownKeys().constEnd()) {
            error(QStringLiteral("unknown key '%1'").arg(printable(key)));
            continue;
        }
        const QString problem = checkValue(*known, value);
        if (!problem.isEmpty()) {
            error(QStringLiteral("%1: %2").arg(key, problem));
            continue;
        }
        result.styles[section].insert(key, value);
    }
    return result;
}

ZuTheme *ZuTheme::instance()
{
    // Never destroyed: static theme libraries of plug-ins unregister during
    // static destruction, in an order this library does not control.
    static ZuTheme *theme = new ZuTheme;
    return theme;
}

QString ZuTheme::themeDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable(themeDirVariable);
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    // The built-in folder is relative to the program's own folder, so that an
    // installed tree works under any prefix (and the build tree, laid out the
    // same way, works before installing).
    const QString builtIn = QString::fromUtf8(ZU_DEFAULT_THEME_DIR);
    if (builtIn.isEmpty() || QDir::isAbsolutePath(builtIn)) {
        return builtIn;
    }
    // Without an application object (a fuzzer, say) the kernel still knows
    // where the program is.
    const QString programDirectory = QCoreApplication::instance()
        ? QCoreApplication::applicationDirPath()
        : QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
    return QDir::cleanPath(programDirectory + QLatin1Char('/') + builtIn);
}

ZuTheme::ZuTheme()
{
    reload();
}

ZuTheme::~ZuTheme()
{
    qDeleteAll(m_renderers);
}

ZuStyle ZuTheme::style(const QString &name)
{
    if (name.isEmpty()) {
        return ZuStyle();
    }
    const auto it = m_styles.constFind(name);
    if (it != m_styles.constEnd()) {
        return *it;
    }
    if (!m_warned.contains(name)) {
        m_warned.insert(name);
        qWarning().noquote()
            << QStringLiteral("ZuTheme: unknown style \"%1\", using the default look").arg(name);
    }
    return ZuStyle(name, {});
}

bool ZuTheme::isLoaded() const
{
    return m_baseLoaded;
}

bool ZuTheme::hasStyle(const QString &name) const
{
    return m_styles.contains(name);
}

QString ZuTheme::imagePath(const QString &id) const
{
    return m_images.value(id);
}

QSizeF ZuTheme::imageSize(const QString &id)
{
    const QString path = imagePath(id);
    if (path.isEmpty()) {
        return QSizeF();
    }
    if (QSvgRenderer *svg = renderer(id)) {
        return svg->defaultSize();
    }
    return QImage(path).size();
}

bool ZuTheme::drawImage(QPainter *painter, const QString &id, const QRectF &target)
{
    const QString path = imagePath(id);
    if (path.isEmpty() || !painter) {
        return false;
    }
    if (QSvgRenderer *svg = renderer(id)) {
        svg->render(painter, fitted(svg->defaultSize(), target));
        return true;
    }
    const QImage image(path);
    if (image.isNull()) {
        return false;
    }
    painter->drawImage(fitted(image.size(), target), image);
    return true;
}

bool ZuTheme::addLibrary(const QString &id)
{
    ParseResult result;
    const bool loaded = loadFile(id + librarySuffix, &result);
    m_libraries.append(qMakePair(id, result));
    rebuild();
    return loaded;
}

void ZuTheme::removeLibrary(const QString &id)
{
    // Remove the latest registration of that id: registrations nest.
    for (int i = m_libraries.size() - 1; i >= 0; --i) {
        if (m_libraries.at(i).first == id) {
            m_libraries.removeAt(i);
            rebuild();
            return;
        }
    }
}

QStringList ZuTheme::libraries() const
{
    QStringList ids;
    for (const auto &library : m_libraries) {
        ids.append(library.first);
    }
    return ids;
}

QStringList ZuTheme::errors() const
{
    return m_errors;
}

void ZuTheme::reload()
{
    m_directory = themeDirectory();
    m_base = ParseResult();
    m_baseLoaded = loadFile(baseThemeFile, &m_base);
    if (!m_baseLoaded) {
        qWarning().noquote()
            << QStringLiteral("ZuTheme: cannot read %1 in \"%2\"").arg(baseThemeFile, m_directory);
    }
    for (auto &library : m_libraries) {
        library.second = ParseResult();
        loadFile(library.first + librarySuffix, &library.second);
    }
    rebuild();
}

void ZuTheme::rebuild()
{
    m_styles.clear();
    m_images.clear();
    m_errors.clear();
    qDeleteAll(m_renderers);
    m_renderers.clear();
    const QDir directory(m_directory);
    auto merge = [&](const QString &file, const ParseResult &result) {
        for (auto it = result.styles.constBegin(); it != result.styles.constEnd(); ++it) {
            m_styles.insert(it.key(), ZuStyle(it.key(), it.value()));
        }
        for (auto it = result.images.constBegin(); it != result.images.constEnd(); ++it) {
            m_images.insert(it.key(), directory.filePath(it.value()));
        }
        for (const QString &error : result.errors) {
            m_errors.append(file + QStringLiteral(": ") + error);
        }
    };
    merge(baseThemeFile, m_base);
    for (const auto &library : qAsConst(m_libraries)) {
        merge(library.first + librarySuffix, library.second);
    }
}

bool ZuTheme::loadFile(const QString &fileName, ParseResult *result)
{
    if (m_directory.isEmpty()) {
        return false;
    }
    QFile file(QDir(m_directory).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    *result = parse(file.readAll());
    for (const QString &error : qAsConst(result->errors)) {
        qWarning().noquote() << QStringLiteral("ZuTheme: %1: %2").arg(fileName, error);
    }
    return true;
}

QSvgRenderer *ZuTheme::renderer(const QString &id)
{
    const QString path = imagePath(id);
    if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        return nullptr;
    }
    auto it = m_renderers.find(id);
    if (it == m_renderers.end()) {
        auto *svg = new QSvgRenderer(path);
        if (!svg->isValid()) {
            delete svg;
            svg = nullptr;
        }
        it = m_renderers.insert(id, svg);
    }
    return *it;
}
