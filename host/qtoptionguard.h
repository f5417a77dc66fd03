#pragma once

#include <QByteArrayList>
#include <QStringList>

#include <vector>

// Keeps program options away from Qt's own command-line handling.
// QGuiApplication takes "-plugin NAME" and "--plugin NAME" out of argv for
// itself, so a program option --plugin would never see its value. The guard
// makes a copy of the command line where "--NAME VALUE" of the given options
// reads "--NAME=VALUE", which Qt leaves alone and QCommandLineParser reads as
// the same option; give the copy to the application object.
class QtOptionGuard
{
public:
    QtOptionGuard(int argc, char **argv, const QStringList &names);

    // Argument count and vector for the application object; they stay valid
    // while the guard lives.
    int &argc() { return m_argc; }
    char **argv() { return m_argv.data(); }

    // Empty, or why the command line cannot be used ("--plugin needs a value").
    QString error() const { return m_error; }

private:
    QByteArrayList m_arguments;
    std::vector<char *> m_argv;
    int m_argc;
    QString m_error;
};
