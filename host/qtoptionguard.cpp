#include "qtoptionguard.h"

QtOptionGuard::QtOptionGuard(int argc, char **argv, const QStringList &names)
    : m_argc(0)
{
    QByteArrayList guarded;
    for (const QString &name : names) {
        guarded << QByteArrayLiteral("--") + name.toLatin1();
    }
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--") {
            optionsEnded = true;
        }
        if (optionsEnded || i == 0 || !guarded.contains(argument)) {
            m_arguments << argument;
        } else if (i + 1 < argc) {
            m_arguments << argument + '=' + QByteArray(argv[++i]);
        } else {
            // Qt would swallow it silently; the parser would never tell.
            m_error = QStringLiteral("%1 needs a value").arg(QString::fromLatin1(argument));
            m_arguments << argument;
        }
    }
    // The application object keeps pointers into the vector and may reorder
    // it when it removes its own options; the storage above stays put.
    for (QByteArray &argument : m_arguments) {
        m_argv.push_back(argument.data());
    }
    m_argc = int(m_arguments.size());
    m_argv.push_back(nullptr);
}
