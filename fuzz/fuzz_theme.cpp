#include "fuzzcheck.h"
#include "zustyle.h"
#include "zutheme.h"

#include <QDir>

#include <cstddef>
#include <cstdint>

namespace {
const QString linePrefix = QStringLiteral("line ");

// "line N: ..." with N counting up through the file and within it.
int lineOf(const QString &error)
{
    fuzzRequire(error.startsWith(linePrefix), "errors start with their line");
    const int colon = error.indexOf(QLatin1Char(':'));
    fuzzRequire(colon > linePrefix.size(), "errors name a line number");
    bool ok = false;
    const int line = error.mid(linePrefix.size(), colon - linePrefix.size()).toInt(&ok);
    fuzzRequire(ok && line > 0, "errors name a positive line number");
    return line;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), static_cast<int>(size));
    const ZuTheme::ParseResult result = ZuTheme::parse(data);

    const int lines = data.count('\n') + 1;
    int previous = 0;
    for (const QString &error : result.errors) {
        fuzzRequire(isOneLine(error), "each error is one printable line");
        const int line = lineOf(error);
        fuzzRequire(line > previous && line <= lines, "errors in file order, within the file");
        previous = line;
    }

    for (auto image = result.images.constBegin(); image != result.images.constEnd(); ++image) {
        const QString &path = image.value();
        fuzzRequire(!path.isEmpty() && !QDir::isAbsolutePath(path)
                && !path.split(QLatin1Char('/')).contains(QStringLiteral("..")),
            "image paths stay inside the theme directory");
    }

    // The widgets read the values again through the style; whatever passed the
    // checks must give finite numbers there.
    for (auto style = result.styles.constBegin(); style != result.styles.constEnd(); ++style) {
        fuzzRequire(!style.key().isEmpty(), "styles have names");
        const ZuStyle look(style.key(), style.value());
        for (auto entry = style.value().constBegin(); entry != style.value().constEnd(); ++entry) {
            fuzzRequire(qIsFinite(look.number(entry.key())), "numbers are finite");
            const QMarginsF margins = look.margins(entry.key());
            fuzzRequire(qIsFinite(margins.left()) && qIsFinite(margins.top())
                    && qIsFinite(margins.right()) && qIsFinite(margins.bottom()),
                "margins are finite");
            look.color(entry.key());
        }
        const QMarginsF content = look.contentMargins();
        fuzzRequire(qIsFinite(content.left() + content.top() + content.right() + content.bottom()),
            "content margins are finite");
    }
    return 0;
}
