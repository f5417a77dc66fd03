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
} // namespace

class TestOtherQt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachRefusesTheOthersPluginAndDrawsThePageAlike();
};

void TestOtherQt::eachRefusesTheOthersPluginAndDrawsThePageAlike()
{
    PeerProcess modem(PeerProcess::Modem);
    PeerProcess modeControl(PeerProcess::ModeControl);
    QVERIFY2(modem.start({ "--pin-entered" }), qPrintable(modem.lastError()));
    QVERIFY2(modeControl.start(), qPrintable(modeControl.lastError()));

    QTemporaryDir dir;
    QImage shots[2];
    const QString hosts[2] = { ThisHost, OtherHost };
    const QString applets[2] = { ThisApplet, OtherApplet };
    const QString thisMajor = QString::number(QT_VERSION_MAJOR);
    static const QRegularExpression refusal(
        QStringLiteral("^refused plug-in (.+): built for Qt (\\d+)\\.\\d+\\.\\d+, another major "
                       "version than this host's Qt (\\d+)\\.\\d+\\.\\d+$"),
        QRegularExpression::MultilineOption);
    for (int i = 0; i < 2; ++i) {
        const QString file = dir.filePath(QStringLiteral("page%1.png").arg(i));
        const QString script = QStringLiteral("open 0\n"
                                              "wait visible SimPinRequestItem 20000\n"
                                              "wait visible SimPinChangeItem 20000\n"
                                              "screenshot %1\n")
                                   .arg(file);
        // The other's plug-in first: it is refused before it is loaded, and
        // the host's own is the first applet.
        QProcess host;
        host.setProcessChannelMode(QProcess::MergedChannels);
        host.start(hosts[i],
            { "--plugin", applets[1 - i], "--plugin", applets[i], "--lang", "en", "--script",
                "-" });
        host.write(script.toUtf8());
        host.closeWriteChannel();
        // Should it hang, the checks below fail and the process is killed.
        host.waitForFinished(RunLimitMs);
        const QString output = QString::fromUtf8(host.readAll()) + host.errorString();
        const QRegularExpressionMatch match = refusal.match(output);
        QVERIFY2(match.hasMatch(), qPrintable(output));
        QCOMPARE(match.captured(1), applets[1 - i]);
        const bool pluginIsThisQts = i == 1;
        QCOMPARE(match.captured(pluginIsThisQts ? 2 : 3), thisMajor);
        QVERIFY(match.captured(pluginIsThisQts ? 3 : 2) != thisMajor);
        shots[i] = QImage(file).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!shots[i].isNull(), qPrintable(output));
    }
    QCOMPARE(shots[1].size(), shots[0].size());

    qint64 different = 0;
    for (int y = 0; y < shots[0].height(); ++y) {
        for (int x = 0; x < shots[0].width(); ++x) {
            const QRgb a = shots[0].pixel(x, y);
            const QRgb b = shots[1].pixel(x, y);
            const int off = qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                qAbs(qBlue(a) - qBlue(b)));
            different += off > ChannelTolerance ? 1 : 0;
        }
    }
    const qint64 pixels = qint64(shots[0].width()) * shots[0].height();
    QVERIFY2(different * 1000 <= pixels * DifferentPixelsPerMille,
        qPrintable(QStringLiteral("%1 of %2 pixels differ").arg(different).arg(pixels)));
}

QTEST_MAIN(TestOtherQt)
#include "tst_otherqt.moc"
