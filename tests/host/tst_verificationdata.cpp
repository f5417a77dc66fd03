#include "verificationdata.h"

#include <QtTest>

namespace {
const QByteArray Good("pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=5.15.8\ndebug=false\n"
                      "buildkey=x86_64 linux g++-12 full-config");

VerificationData host()
{
    VerificationData data;
    QString error;
    VerificationData::parse(Good, &data, &error);
    return data;
}
} // namespace

class TestVerificationData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesTheFourValues();
    void rejectsMalformedText_data();
    void rejectsMalformedText();
    void survivesAnyBytes();
    void mismatch_data();
    void mismatch();
    void hostMatchesItsOwnBuild();
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

void TestVerificationData::survivesAnyBytes()
{
    // Every byte value in every position of a short text, plus some
    // truncations of a good text; the parser must only ever answer.
    QByteArray text = Good;
    for (int position = 0; position < text.size(); position += 7) {
        for (int byte = 0; byte < 256; ++byte) {
            QByteArray mutated = text;
            mutated[position] = static_cast<char>(byte);
            VerificationData::parse(mutated, nullptr, nullptr);
        }
        VerificationData::parse(text.left(position), nullptr, nullptr);
    }
    QVERIFY(VerificationData::parse(Good, nullptr, nullptr));
}

void TestVerificationData::mismatch_data()
{
    QTest::addColumn<QByteArray>("plugin");
    QTest::addColumn<QString>("reason");
    auto text = [](const char *pattern, const char *version, const char *debug, const char *key) {
        return QByteArray("pattern=") + pattern + "\nversion=" + version + "\ndebug=" + debug
            + "\nbuildkey=" + key;
    };
    const char *marker = "QT_PLUGIN_VERIFICATION_DATA";
    const char *key = "x86_64 linux g++-12 full-config";
    QTest::newRow("same build") << Good << QString();
    QTest::newRow("older minor") << text(marker, "5.3.0", "false", key) << QString();
    QTest::newRow("newer patch") << text(marker, "5.15.99", "false", key) << QString();
    QTest::newRow("newer minor") << text(marker, "5.16.0", "false", key)
                                 << "built for Qt 5.16.0, newer than this host's Qt 5.15.8";
    QTest::newRow("older major") << text(marker, "4.7.4", "false",
        key) << "built for Qt 4.7.4, another major version than this host's Qt 5.15.8";
    QTest::newRow("newer major with lower minor") << text(marker, "6.2.0", "false",
        key) << "built for Qt 6.2.0, another major version than this host's Qt 5.15.8";
    QTest::newRow("wrong marker") << text("QT_PLUGIN_VERIFICATION_DAT", "5.15.8", "false", key)
                                  << "wrong verification marker \"QT_PLUGIN_VERIFICATION_DAT\"";
    QTest::newRow("debug build") << text(marker, "5.15.8", "true", key)
                                 << "a debug build, this host loads only release builds";
    QTest::newRow("other build key")
        << text(marker, "5.15.8", "false", "armv6 linux g++-4 full-config")
        << "build key \"armv6 linux g++-4 full-config\" differs from this host's \"x86_64 linux "
           "g++-12 full-config\"";
}

void TestVerificationData::mismatch()
{
    QFETCH(QByteArray, plugin);
    QFETCH(QString, reason);
    VerificationData data;
    QString error;
    QVERIFY2(VerificationData::parse(plugin, &data, &error), qPrintable(error));
    QCOMPARE(VerificationData::mismatch(data, host()), reason);
}

void TestVerificationData::hostMatchesItsOwnBuild()
{
    // What the build gives plug-ins must pass the host's own check.
    const VerificationData own = VerificationData::hostData();
    QCOMPARE(own.versionString(), QString::fromLatin1(qVersion()));
    QVERIFY(VerificationData::mismatch(own, own).isEmpty());
}

QTEST_GUILESS_MAIN(TestVerificationData)
#include "tst_verificationdata.moc"
