// The plug-in check: the verification text's parser and comparison, and the
// loader's refusals, one tiny broken plug-in each. Loading the real applet is
// the start of every end-to-end test.

#include "appletloader.h"
#include "verificationdata.h"

#include <QtTest>

namespace {
const QByteArray Good("pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=5.15.8\ndebug=false\n"
                      "buildkey=x86_64 linux g++-12 full-config");

QString plugin(const char *name)
{
    return QStringLiteral(SIM_TEST_PLUGIN_DIR "/lib%1.so").arg(QLatin1String(name));
}

} // namespace

class TestAppletLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void verdict_data();
    void verdict();
    void refusesBrokenPlugins_data();
    void refusesBrokenPlugins();
};

// Why a host built as Good (or as its debug twin) refuses a plug-in's text:
// the parser's complaint, or the mismatch, or nothing.
void TestAppletLoader::verdict_data()
{
    QTest::addColumn<QByteArray>("plugin");
    QTest::addColumn<bool>("debugHost");
    QTest::addColumn<QString>("reason");
    auto with = [](const char *from, const char *to) { return QByteArray(Good).replace(from, to); };
    const QString refused = QStringLiteral("verification data %1");

    const QByteArray debugBuild = with("debug=false", "debug=true");
    QTest::newRow("older minor, newer patch") << with("5.15.8", "5.3.99") << false << QString();
    QTest::newRow("newer minor") << with("5.15.8", "5.16.0") << false
                                 << "built for Qt 5.16.0, newer than this host's Qt 5.15.8";
    QTest::newRow("newer major, lower minor") << with("5.15.8",
        "6.2.0") << false << "built for Qt 6.2.0, another major version than this host's Qt 5.15.8";
    QTest::newRow("debug plug-in, release host")
        << debugBuild << false << "a debug build, this host loads only release builds";
    QTest::newRow("release plug-in, debug host")
        << Good << true << "a release build, this host loads only debug builds";
    QTest::newRow("debug plug-in, debug host") << debugBuild << true << QString();
    // Order does not matter, a final newline is allowed, and only the first
    // '=' separates key and value.
    QTest::newRow("any order, final newline, '=' in a value")
        << QByteArray("debug=false\nbuildkey=a=b\nversion=5.15.8\n"
                      "pattern=QT_PLUGIN_VERIFICATION_DATA\n")
        << false
        << "build key \"a=b\" differs from this host's \"x86_64 linux g++-12 full-config\"";

    QTest::newRow("empty") << QByteArray() << false << refused.arg("lacks \"pattern\"");
    QTest::newRow("blank line inside")
        << with("\n", "\n\n") << false << refused.arg("line 2 is not key=value: \"\"");
    QTest::newRow("repeated key") << Good + "\ndebug=true" << false
                                  << refused.arg("repeats \"debug\"");
    QTest::newRow("two-part version")
        << with("5.15.8", "5.15") << false << refused.arg("has a malformed version \"5.15\"");
    QTest::newRow("huge version number") << with("5.15.8", "99999999999.0.0") << false
                                         << refused.arg("has a malformed version "
                                                        "\"99999999999.0.0\"");
    // Carriage returns are not line ends: the value would silently differ.
    QTest::newRow("crlf") << with("debug=false\n", "debug=false\r\n") << false
                          << refused.arg("has a malformed debug flag \"false\\x0d\"");
    QTest::newRow("control bytes shown escaped")
        << QByteArray("\x01\xff=1", 4) << false << refused.arg("has an unknown key \"\\x01\\xff\"");
    QTest::newRow("too long") << QByteArray(VerificationData::MaxTextLength + 1, 'a') << false
                              << refused.arg("longer than 4096 bytes");
}

void TestAppletLoader::verdict()
{
    QFETCH(QByteArray, plugin);
    QFETCH(bool, debugHost);
    QFETCH(QString, reason);
    VerificationData host;
    QString why;
    QVERIFY(VerificationData::parse(Good, &host, &why));
    host.debug = debugHost;
    VerificationData data;
    if (VerificationData::parse(plugin, &data, &why)) {
        why = VerificationData::mismatch(data, host);
    }
    QCOMPARE(why, reason);
}

void TestAppletLoader::refusesBrokenPlugins_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    // Unloaded again, unless the plug-in's code made an object.
    QTest::addColumn<bool>("staysMapped");
    QTest::newRow("no verification function")
        << plugin("noverification") << "no qt_plugin_query_verification_data, not an applet plug-in"
        << false;
    QTest::newRow("wrong marker") << plugin("wrongmarker")
                                  << "wrong verification marker \"NOT_THE_VERIFICATION_DATA\""
                                  << false;
    QTest::newRow("another major version")
        << plugin("othermajor")
        << QStringLiteral("built for Qt 4.7.4, another major version than this host's Qt %1")
               .arg(QLatin1String(qVersion()))
        << false;
    QTest::newRow("garbled verification text")
        << plugin("garbled") << "verification data line 1 is not key=value: \"no lines at all\""
        << false;
    QTest::newRow("no instance function")
        << plugin("noinstance") << "no qt_plugin_instance" << false;
    QTest::newRow("root object not an applet")
        << QStringLiteral(SIM_TEST_APPLET_DIR "/libnotanapplet.so")
        << "root object QObject is not an applet (no com.tavik.zu.core.KivAppletIf/1.0)" << true;
    QTest::newRow("missing file") << plugin("nosuchplugin") << "cannot be loaded: " << false;
}

void TestAppletLoader::refusesBrokenPlugins()
{
    QFETCH(QString, file);
    const AppletLoader::Result result = AppletLoader::load(file);
    QTEST(QLibrary(file).isLoaded(), "staysMapped");
    QVERIFY(!result.isLoaded());
    QVERIFY(!result.root);
    QCOMPARE(result.file, file);
    QFETCH(QString, reason);
    // A reason ending in ": " is followed by QLibrary's own words.
    QVERIFY2(reason.endsWith(QLatin1String(": ")) ? result.error.startsWith(reason)
                                                  : result.error == reason,
        qPrintable(result.error));
}

QTEST_MAIN(TestAppletLoader)
#include "tst_appletloader.moc"
