#include "verificationdata.h"

#include <QtTest>

namespace {
const QByteArray Good("pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=5.15.8\ndebug=false\n"
                      "buildkey=x86_64 linux g++-12 full-config");

} // namespace

class TestVerificationData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesTheFourValues();
    void rejectsMalformedText_data();
    void rejectsMalformedText();
    void mismatch_data();
    void mismatch();
};

void TestVerificationData::parsesTheFourValues()
{
    VerificationData data;
    QString error;
    // Order does not matter and a final newline is allowed.
    QVERIFY(VerificationData::parse("debug=true\nbuildkey=a b=c\nversion=4.7.4\n"
                                    "pattern=QT_PLUGIN_VERIFICATION_DATA\n",
        &data, &error));
    QCOMPARE(data.pattern, QByteArray("QT_PLUGIN_VERIFICATION_DATA"));
    QCOMPARE(data.versionString(), QStringLiteral("4.7.4"));
    QCOMPARE(data.debug, true);
    // Only the first '=' separates key and value.
    QCOMPARE(data.buildKey, QByteArray("a b=c"));
}

void TestVerificationData::rejectsMalformedText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty") << QByteArray() << "verification data lacks \"pattern\"";
    QTest::newRow("no equals sign")
        << QByteArray("pattern=P\nversion 5.15.8")
        << "verification data line 2 is not key=value: \"version 5.15.8\"";
    QTest::newRow("blank line inside") << QByteArray("pattern=P\n\nversion=5.15.8")
                                       << "verification data line 2 is not key=value: \"\"";
    QTest::newRow("repeated key") << QByteArray("debug=false\ndebug=true")
                                  << "verification data repeats \"debug\"";
    QTest::newRow("two-part version")
        << QByteArray("version=5.15") << "verification data has a malformed version \"5.15\"";
    QTest::newRow("huge version number")
        << QByteArray("version=99999999999.0.0")
        << "verification data has a malformed version \"99999999999.0.0\"";
    QTest::newRow("debug yes") << QByteArray("debug=yes")
                               << "verification data has a malformed debug flag \"yes\"";
    // Carriage returns are not line ends: the value would silently differ.
    QTest::newRow("crlf") << QByteArray("debug=false\r\n")
                          << "verification data has a malformed debug flag \"false\\x0d\"";
    QTest::newRow("control bytes shown escaped")
        << QByteArray("\x01\xff=1", 4) << "verification data has an unknown key \"\\x01\\xff\"";
    QTest::newRow("too long") << QByteArray(VerificationData::MaxTextLength + 1, 'a')
                              << "verification data longer than 4096 bytes";
}

void TestVerificationData::rejectsMalformedText()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    VerificationData data;
    QString why;
    QVERIFY(!VerificationData::parse(text, &data, &why));
    QCOMPARE(why, error);
}

// The loader's tests refuse a plug-in for each other reason, a debug build
// included; these are the version comparisons around the host's own version,
// and a debug host (the loader's hosts are all release builds).
void TestVerificationData::mismatch_data()
{
    QTest::addColumn<QByteArray>("plugin");
    QTest::addColumn<bool>("debugHost");
    QTest::addColumn<QString>("reason");
    auto version = [](const char *number) { return QByteArray(Good).replace("5.15.8", number); };
    const QByteArray debugBuild = QByteArray(Good).replace("debug=false", "debug=true");
    QTest::newRow("same build") << Good << false << QString();
    QTest::newRow("older minor") << version("5.3.0") << false << QString();
    QTest::newRow("newer patch") << version("5.15.99") << false << QString();
    QTest::newRow("newer major with lower minor") << version(
        "6.2.0") << false << "built for Qt 6.2.0, another major version than this host's Qt 5.15.8";
    QTest::newRow("release plug-in, debug host")
        << Good << true << "a release build, this host loads only debug builds";
    QTest::newRow("debug plug-in, debug host") << debugBuild << true << QString();
}

void TestVerificationData::mismatch()
{
    QFETCH(QByteArray, plugin);
    QFETCH(bool, debugHost);
    QFETCH(QString, reason);
    VerificationData data;
    QString error;
    QVERIFY2(VerificationData::parse(plugin, &data, &error), qPrintable(error));
    VerificationData hostData;
    QVERIFY(VerificationData::parse(Good, &hostData, &error));
    hostData.debug = debugHost;
    QCOMPARE(VerificationData::mismatch(data, hostData), reason);
}

QTEST_GUILESS_MAIN(TestVerificationData)
#include "tst_verificationdata.moc"
