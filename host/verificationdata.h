#pragma once

#include <QByteArray>
#include <QString>

// The four values an applet plug-in reports about the Qt build it was made
// with, read from the text of its qt_plugin_query_verification_data(). The text
// comes from an untrusted file, so parsing accepts any bytes and never fails
// other than by returning an error.
struct VerificationData
{
    QByteArray pattern;
    int majorVersion = 0;
    int minorVersion = 0;
    int patchVersion = 0;
    bool debug = false;
    QByteArray buildKey;

    // Longest text the loader reads; real verification texts are far shorter.
    static constexpr int MaxTextLength = 4096;

    // Parses "key=value" lines separated by '\n' (the keys pattern, version,
    // debug and buildkey, each exactly once; a final newline is allowed). On
    // failure returns false and says why in *error.
    static bool parse(const QByteArray &text, VerificationData *data, QString *error);

    // Why a plug-in with these values cannot be loaded by a host with the
    // values in host; an empty string when it can.
    static QString mismatch(const VerificationData &plugin, const VerificationData &host);

    // The values of the host itself: the Qt it runs on and the debug flag and
    // build key it was configured with.
    static VerificationData hostData();

    QString versionString() const;
};
