#pragma once

// The few places where Qt 5 and Qt 6 offer no common way to do the same
// thing. Everything else is written against what both versions share.

#include <QFontMetricsF>
#include <QMetaType>
#include <QtGlobal>

#include <cmath>
#include <new>

namespace ZuQtCompat {

// Registers the enumeration type T with Qt's meta-type system under name,
// for queued signals and lookups by name, and returns its type id; a repeated
// registration gets the same id. Qt 5 makes a value without a copy as
// Default, Qt 6 as T().
template <typename T, T Default = T()>
int registerEnumType(const char *name)
{
#if QT_VERSION_MAJOR < 6
    // By name, with construct and delete helpers and the flags Qt's own
    // registration of an enumeration gives, so that a later registration of
    // the name elsewhere agrees with this one.
    struct Helpers
    {
        static void destroy(void *value) { delete static_cast<T *>(value); }
        static void *create(const void *copy)
        {
            return new T(copy ? *static_cast<const T *>(copy) : Default);
        }
        static void destruct(void *) { }
        static void *construct(void *where, const void *copy)
        {
            return new (where) T(copy ? *static_cast<const T *>(copy) : Default);
        }
    };
    return QMetaType::registerType(name, Helpers::destroy, Helpers::create, Helpers::destruct,
        Helpers::construct, int(sizeof(T)),
        QMetaType::TypeFlags(QtPrivate::QMetaTypeTypeFlags<T>::Flags), nullptr);
#else
    // Qt 6 describes the type from T itself; the name is its registered name.
    return qRegisterMetaType<T>(name);
#endif
}

// The height of a line of text: Qt 5's font engine reports ascent and
// descent in whole pixels, rounded up; Qt 6 reports the font's unrounded
// metrics, which would make every label and row a pixel or two shorter, so
// they are rounded up here as Qt 5 does.
inline qreal textHeight(const QFontMetricsF &metrics)
{
#if QT_VERSION_MAJOR < 6
    return metrics.height();
#else
    return std::ceil(metrics.ascent()) + std::ceil(metrics.descent());
#endif
}

} // namespace ZuQtCompat
