// This build against a build of the same sources with the other major
// version of Qt (SIM_OTHER_QT_BUILD_DIR): each settings host refuses the
// other's plug-in with the loader's message, and both draw the SIM page alike
// against the same simulated phone.

#include "peerprocess.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int RunLimitMs = 60000;
const QString ThisHost = QStringLiteral(SIM_HOST_PROGRAM);
const QString ThisApplet = QStringLiteral(SIM_APPLET_FILE);

// The file of the other build at the place this build has its own.
QString otherBuilds(const QString &file)
{
    const QDir thisBuild(qEnvironmentVariable("SIM_BUILD_DIR"));
    return QDir(QStringLiteral(SIM_OTHER_QT_BUILD_DIR)).filePath(thisBuild.relativeFilePath(file));
}
const QString OtherHost = otherBuilds(ThisHost);
const QString OtherApplet = otherBuilds(ThisApplet);
// The two Qts smooth a few glyphs differently (about 130 pixels of the
// page); a pixel counts as different when a colour channel is off by more
// than ChannelTolerance, and at most DifferentPixelsPerMille of them may be.
// A row one pixel higher or lower already makes some 3500.
constexpr int ChannelTolerance = 24;
constexpr int DifferentPixelsPerMille = 1;

// Runs a host to its end; what it wrote to standard output, and to *err
// what it wrote to standard error.
QString run(const QString &program, const QStringList &arguments, const QByteArray &input = {},
    QString *err = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(RunLimitMs)) {
        return QStringLiteral("(%1 did not start)").arg(program);
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(RunLimitMs)) {
        process.kill();
        process.waitForFinished();
    }
    if (err) {
        *err = QString::fromUtf8(process.readAllStandardError());
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

class TestOtherQt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostRefusesTheOtherQtsPlugin_data();
    void hostRefusesTheOtherQtsPlugin();
    void pageLooksTheSame();
};

void TestOtherQt::hostRefusesTheOtherQtsPlugin_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("plugin");
    QTest::addColumn<bool>("pluginIsThisQts");
    QTest::newRow("this host, other plug-in") << ThisHost << OtherApplet << false;
    QTest::newRow("other host, this plug-in") << OtherHost << ThisApplet << true;
}

void TestOtherQt::hostRefusesTheOtherQtsPlugin()
{
    QFETCH(QString, host);
    QFETCH(QString, plugin);
    QFETCH(bool, pluginIsThisQts);
    const QString out = run(host, { "--list", "--plugin", plugin });
    // Only the refusal: the host neither crashes nor lists an applet.
    static const QRegularExpression refusal(
        QStringLiteral("^refused plug-in (.+): built for Qt (\\d+)\\.\\d+\\.\\d+, another major "
                       "version than this host's Qt (\\d+)\\.\\d+\\.\\d+\\n$"));
    const QRegularExpressionMatch match = refusal.match(out);
    QVERIFY2(match.hasMatch(), qPrintable(out));
    QCOMPARE(match.captured(1), plugin);
    const QString thisMajor = QString::number(QT_VERSION_MAJOR);
    QCOMPARE(match.captured(pluginIsThisQts ? 2 : 3), thisMajor);
    QVERIFY(match.captured(pluginIsThisQts ? 3 : 2) != thisMajor);
}

void TestOtherQt::pageLooksTheSame()
{
    PeerProcess modem(PeerProcess::Modem);
    PeerProcess modeControl(PeerProcess::ModeControl);
    QVERIFY2(modem.start({ "--pin-entered" }), qPrintable(modem.lastError()));
    QVERIFY2(modeControl.start(), qPrintable(modeControl.lastError()));

    QTemporaryDir dir;
    QImage shots[2];
    const QString hosts[2] = { ThisHost, OtherHost };
    const QString applets[2] = { ThisApplet, OtherApplet };
    for (int i = 0; i < 2; ++i) {
        const QString file = dir.filePath(QStringLiteral("page%1.png").arg(i));
        const QString script = QStringLiteral("open 0\n"
                                              "wait visible SimPinRequestItem 20000\n"
                                              "wait visible SimPinChangeItem 20000\n"
                                              "screenshot %1\n")
                                   .arg(file);
        QString err;
        const QString out = run(hosts[i],
            { "--plugin", applets[i], "--lang", "en", "--script", "-" }, script.toUtf8(), &err);
        shots[i].load(file);
        QVERIFY2(!shots[i].isNull(), qPrintable(out + err));
        shots[i] = shots[i].convertToFormat(QImage::Format_RGB32);
    }
    QCOMPARE(shots[1].size(), shots[0].size());

    qint64 different = 0;
    int largest = 0;
    for (int y = 0; y < shots[0].height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(shots[0].constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(shots[1].constScanLine(y));
        for (int x = 0; x < shots[0].width(); ++x) {
            const int off = qMax(qAbs(qRed(a[x]) - qRed(b[x])),
                qMax(qAbs(qGreen(a[x]) - qGreen(b[x])), qAbs(qBlue(a[x]) - qBlue(b[x]))));
            largest = qMax(largest, off);
            if (off > ChannelTolerance) {
                ++different;
            }
        }
    }
    const qint64 pixels = qint64(shots[0].width()) * shots[0].height();
    qInfo("%lld of %lld pixels differ by more than %d, largest channel difference %d", different,
        pixels, ChannelTolerance, largest);
    QVERIFY2(different * 1000 <= pixels * DifferentPixelsPerMille,
        qPrintable(QStringLiteral("%1 pixels differ").arg(different)));
}

QTEST_MAIN(TestOtherQt)
#include "tst_otherqt.moc"
