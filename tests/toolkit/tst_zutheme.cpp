#include "logcapture.h"
#include "zulibrary.h"
#include "zutheme.h"
#include "zuwidgetcontroller.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const char *const themeDirVariable = "ZU_THEME_DIR";
const QString imagesSection = QStringLiteral("@images");
} // namespace

class TstZuTheme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void parse_data();
    void parse();
    void shippedThemeHasWhatTheAppletUses();
    void unknownStyleWarnsOncePerName();
    void libraryAddsItsStylesWhileRegistered();
    void libraryWithoutFileIsStillRegistered();

private:
    QString m_defaultDirectory;
};

void TstZuTheme::initTestCase()
{
    qunsetenv(themeDirVariable);
    ZuTheme::instance()->reload();
    m_defaultDirectory = ZuTheme::themeDirectory();
    QVERIFY2(QFile::exists(QDir(m_defaultDirectory).filePath(QStringLiteral("zutoolkit.theme"))),
        qPrintable(m_defaultDirectory));
}

void TstZuTheme::cleanup()
{
    qunsetenv(themeDirVariable);
    ZuTheme::instance()->reload();
}

void TstZuTheme::parse_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    // Null when the key must be absent.
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("errors");

    QTest::newRow("plain entry") << QByteArray("[A]\ncolor = #ffffff\n") << "A"
                                 << "color"
                                 << "#ffffff" << QStringList();
    QTest::newRow("comments, blanks and spaces")
        << QByteArray("# note\n\n; note\n  [A]  \n   font-size=20   \n") << "A"
        << "font-size"
        << "20" << QStringList();
    QTest::newRow("CRLF line ends") << QByteArray("[A]\r\ncolor = red\r\n") << "A"
                                    << "color"
                                    << "red" << QStringList();
    QTest::newRow("later value wins") << QByteArray("[A]\ncolor = red\ncolor = blue\n") << "A"
                                      << "color"
                                      << "blue" << QStringList();
    QTest::newRow("image entry") << QByteArray("[@images]\nicon-x = icons/x.svg\n") << imagesSection
                                 << "icon-x"
                                 << "icons/x.svg" << QStringList();
    QTest::newRow("key before any section")
        << QByteArray("color = red\n[A]\n") << "A"
        << "color" << QString() << QStringList { "line 1: key outside a section" };
    // The keys after a broken header must not slip into the previous section.
    QTest::newRow("unclosed section header")
        << QByteArray("[A]\n[B\ncolor = red\n") << "A"
        << "color" << QString()
        << QStringList { "line 2: section header without ']'", "line 3: key outside a section" };
    QTest::newRow("no equals sign")
        << QByteArray("[A]\ncolor red\n") << "A"
        << "color" << QString() << QStringList { "line 2: expected 'key = value'" };
    QTest::newRow("unknown key") << QByteArray("[A]\ncolour = red\n") << "A"
                                 << "colour" << QString()
                                 << QStringList { "line 2: unknown key 'colour'" };
    QTest::newRow("bad colour") << QByteArray("[A]\ncolor = #12\n") << "A"
                                << "color" << QString()
                                << QStringList { "line 2: color: not a colour" };
    QTest::newRow("negative size")
        << QByteArray("[A]\nfont-size = -3\n") << "A"
        << "font-size" << QString() << QStringList { "line 2: font-size: not a number" };
    // Widgets add margins up and round sizes to int: huge values would overflow.
    QTest::newRow("largest size") << QByteArray("[A]\nfont-size = 100000\n") << "A"
                                  << "font-size"
                                  << "100000" << QStringList();
    QTest::newRow("huge size") << QByteArray("[A]\nfont-size = 1e308\n") << "A"
                               << "font-size" << QString()
                               << QStringList { "line 2: font-size: larger than 100000" };
    QTest::newRow("huge margin") << QByteArray("[A]\npadding = 1 1e308 1 1\n") << "A"
                                 << "padding" << QString()
                                 << QStringList { "line 2: padding: larger than 100000" };
    QTest::newRow("three margins")
        << QByteArray("[A]\nmargins = 1 2 3\n") << "A"
        << "margins" << QString()
        << QStringList { "line 2: margins: expected one or four numbers" };
    // Theme files must not reach files outside their own directory.
    QTest::newRow("image path leaving the directory")
        << QByteArray("[@images]\nx = icons/../../secret.svg\n") << imagesSection << "x"
        << QString() << QStringList { "line 2: bad image entry 'x'" };
    // Errors go to the log: a corrupt file must not put raw control bytes there.
    QTest::newRow("control bytes in a key shown escaped")
        << QByteArray("[A]\nco\x1b[2J") + '\0' + "lor = red\n[@images]\n\x01x\x7f = /x.svg\n"
        << "A"
        << "color" << QString()
        << QStringList { "line 2: unknown key 'co\\x1b[2J\\x00lor'",
               "line 4: bad image entry '\\x01x\\x7f'" };
}

void TstZuTheme::parse()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QStringList, errors);

    const ZuTheme::ParseResult result = ZuTheme::parse(input);
    QCOMPARE(result.errors, errors);
    if (section == imagesSection) {
        QCOMPARE(result.images.value(key), value);
    } else {
        QVERIFY(result.styles.contains(section));
        QCOMPARE(result.styles.value(section).value(key), value);
    }
}

void TstZuTheme::shippedThemeHasWhatTheAppletUses()
{
    ZuTheme *theme = ZuTheme::instance();
    QCOMPARE(theme->errors(), QStringList());
    for (const char *look :
        { "CommonPanelInverted", "CommonSingleTitleInverted", "CommonTitleInverted",
            "CommonSubTitleInverted", "CommonHeaderInverted", "CommonBodyTextInverted",
            "CommonHeaderDividerInverted", "CommonContainerInverted", "CommonRightSwitchInverted",
            "CommonListItemSpinnerInverted", "CommonDrilldownIconInverted",
            "CommonSwitchIconInverted", "CommonRightIconInverted" }) {
        QVERIFY2(theme->hasStyle(QLatin1String(look)), look);
    }

    for (const char *id :
        { "icon-m-common-drilldown-arrow-inverse", "icon-s-description-inverse" }) {
        QVERIFY2(!theme->imageSize(QLatin1String(id)).isEmpty(), id);
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        QVERIFY2(theme->drawImage(&painter, QLatin1String(id), image.rect()), id);
        painter.end();
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
            }
        }
        QVERIFY2(drawn > 20, id);
    }
}

void TstZuTheme::unknownStyleWarnsOncePerName()
{
    LogCapture log;
    ZuWidgetController widget;
    widget.setStyleName(QStringLiteral("NoSuchLookAnywhere"));
    widget.resize(100, 40);
    QImage canvas(100, 40, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 3; ++i) {
        QPainter painter(&canvas);
        widget.paint(&painter, nullptr);
        widget.effectiveSizeHint(Qt::PreferredSize);
    }
    ZuWidgetController other;
    other.setStyleName(QStringLiteral("NoSuchLookAnywhere"));
    other.setStyleName(QStringLiteral("AnotherMissingLook"));

    QCOMPARE(log.warningLines(),
        QStringList({ "ZuTheme: unknown style \"NoSuchLookAnywhere\", using the default look",
            "ZuTheme: unknown style \"AnotherMissingLook\", using the default look" }));
    // The default look: light text, no background.
    QCOMPARE(widget.style().textColor(), QColor(Qt::white));
    QVERIFY(!widget.style().backgroundColor().isValid());
}

void TstZuTheme::libraryAddsItsStylesWhileRegistered()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QVERIFY(QFile::copy(QDir(m_defaultDirectory).filePath(QStringLiteral("zutoolkit.theme")),
        directory.filePath(QStringLiteral("zutoolkit.theme"))));
    QFile library(directory.filePath(QStringLiteral("libprobe.theme")));
    QVERIFY(library.open(QIODevice::WriteOnly));
    library.write("[ProbeLook]\ncolor = #ff0000\n[CommonTitleInverted]\ncolor = #00ff00\n");
    library.close();
    qputenv(themeDirVariable, QFile::encodeName(directory.path()));
    ZuTheme::instance()->reload();
    ZuTheme *theme = ZuTheme::instance();

    QVERIFY(!theme->hasStyle(QStringLiteral("ProbeLook")));
    {
        ZuLibrary probe(QStringLiteral("libprobe"));
        QVERIFY(ZuLibrary::isRegistered(QStringLiteral("libprobe")));
        QCOMPARE(theme->style(QStringLiteral("ProbeLook")).textColor(), QColor(Qt::red));
        // A library may restyle a base look while it is loaded.
        QCOMPARE(
            theme->style(QStringLiteral("CommonTitleInverted")).textColor(), QColor(Qt::green));
    }
    QVERIFY(!ZuLibrary::isRegistered(QStringLiteral("libprobe")));
    QVERIFY(!theme->hasStyle(QStringLiteral("ProbeLook")));
    QCOMPARE(theme->style(QStringLiteral("CommonTitleInverted")).textColor(), QColor(Qt::white));
}

void TstZuTheme::libraryWithoutFileIsStillRegistered()
{
    LogCapture log;
    const int before = ZuTheme::instance()->libraries().size();
    {
        ZuLibrary first(QStringLiteral("libnothing"));
        ZuLibrary second(QStringLiteral("libnothing"));
        QCOMPARE(ZuLibrary::registeredLibraries().size(), before + 2);
    }
    // Nested registrations of one id both go away again.
    QVERIFY(!ZuLibrary::isRegistered(QStringLiteral("libnothing")));
    QCOMPARE(log.warningLines(), QStringList());
}

QTEST_MAIN(TstZuTheme)
#include "tst_zutheme.moc"
