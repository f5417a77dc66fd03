#include "zudebug.h"

namespace {
const QLatin1String AnonymousNamespace("(anonymous namespace)");
const QLatin1String AnonymousNamespaceWritten("{anonymous}");
const QLatin1String Const("const");

bool isIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isPointerMark(QChar c)
{
    return c == QLatin1Char('*') || c == QLatin1Char('&');
}

// Whether the word "const" stands at position i of text as a whole word.
bool constAt(const QString &text, int i)
{
    return QStringView(text).mid(i, Const.size()) == Const
        && (i + Const.size() >= text.size() || !isIdentifierChar(text.at(i + Const.size())));
}
} // namespace

QString zuSignature(const QString &function)
{
    QString text = function;
    text.replace(AnonymousNamespace, AnonymousNamespaceWritten);

    QString out;
    out.reserve(text.size() + 8);
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        // "T *" and "T &": the mark goes to the type.
        if (c == QLatin1Char(' ') && i + 1 < size && isPointerMark(text.at(i + 1)) && !out.isEmpty()
            && out.back() != QLatin1Char('(') && out.back() != QLatin1Char(' ')
            && out.back() != QLatin1Char(',')) {
            continue;
        }
        out.append(c);
        if (!isPointerMark(c) || i + 1 >= size) {
            continue;
        }
        const QChar next = text.at(i + 1);
        // "T *const" as a parameter's own qualifier: left out.
        if (c == QLatin1Char('*') && constAt(text, i + 1)) {
            const int after = i + 1 + Const.size();
            if (after < size
                && (text.at(after) == QLatin1Char(',') || text.at(after) == QLatin1Char(')'))) {
                i = after - 1;
                continue;
            }
        }
        // "T *f()", "T *{anonymous}::f()", "char *const": a space after the
        // mark before a name.
        if (isIdentifierChar(next) || next == QLatin1Char('{')) {
            out.append(QLatin1Char(' '));
        }
    }
    return out;
}

QString zuSignature(const char *function)
{
    return zuSignature(QString::fromLatin1(function));
}

QDebug zuDebugStream(const QString &text)
{
    QDebug stream(QtDebugMsg);
    stream.noquote() << zuSignature(text) + QLatin1Char(':');
    stream.quote();
    return stream;
}
