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

// "Section key=value" for every entry, sorted; images under "@images".
QStringList entries(const ZuTheme::ParseResult &result)
{
    QHash<QString, QHash<QString, QString>> sections = result.styles;
    sections.insert(QStringLiteral("@images"), result.images);
    QStringList lines;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        for (auto entry = section->cbegin(); entry != section->cend(); ++entry) {
            lines << QStringLiteral("%1 %2=%3").arg(section.key(), entry.key(), entry.value());
        }
    }
    lines.sort();
    return lines;
}
} // namespace

class TstZuTheme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void shippedThemeHasWhatTheAppletUses();
    void unknownStyleWarnsOncePerName();
    void librariesAddTheirStylesWhileRegistered();
};

void TstZuTheme::parse_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("errors");

    QTest::newRow("entries") << QByteArray("# note\n"
                                           "\n"
                                           "; note\n"
                                           "  [A]  \r\n"
                                           "   font-size=20   \n"
                                           "color = red\n"
                                           "color = blue\n"
                                           "[@images]\n"
                                           "icon-x = icons/x.svg\n")
                             << QStringList { "@images icon-x=icons/x.svg", "A color=blue",
                                    "A font-size=20" }
                             << QStringList();
    // Widgets add margins up and round sizes to int: huge values would overflow.
    QTest::newRow("bad values") << QByteArray("[A]\n"
                                              "color red\n"
                                              "colour = red\n"
                                              "color = #12\n"
                                              "font-size = -3\n"
                                              "margins = 1 2 3\n"
                                              "font-size = 1e308\n"
                                              "padding = 1 1e308 1 1\n"
                                              "max-height = 100000\n")
                                << QStringList { "A max-height=100000" }
                                << QStringList { "line 2: expected 'key = value'",
                                       "line 3: unknown key 'colour'",
                                       "line 4: color: not a colour",
                                       "line 5: font-size: not a number",
                                       "line 6: margins: expected one or four numbers",
                                       "line 7: font-size: larger than 100000",
                                       "line 8: padding: larger than 100000" };
    // Keys after a broken header must not slip into the previous section,
    // images must not reach outside the theme's directory, and errors, which
    // go to the log, show control bytes escaped.
    QTest::newRow("misplaced and unsafe lines")
        << QByteArray("color = red\n"
                      "[A]\n"
                      "[B\n"
                      "color = red\n"
                      "[@images]\n"
                      "x = icons/../../secret.svg\n"
                      "\x01x\x7f = /x.svg\n"
                      "[C]\n"
                      "co\x1b[2J")
            + '\0' + "lor = red\n"
        << QStringList()
        << QStringList { "line 1: key outside a section", "line 3: section header without ']'",
               "line 4: key outside a section", "line 6: bad image entry 'x'",
               "line 7: bad image entry '\\x01x\\x7f'",
               "line 9: unknown key 'co\\x1b[2J\\x00lor'" };
}

void TstZuTheme::parse()
{
    QFETCH(QByteArray, input);
    const ZuTheme::ParseResult result = ZuTheme::parse(input);
    QTEST(result.errors, "errors");
    QTEST(entries(result), "entries");
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

    QImage blank(32, 32, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    for (const char *id :
        { "icon-m-common-drilldown-arrow-inverse", "icon-s-description-inverse" }) {
        QVERIFY2(!theme->imageSize(QLatin1String(id)).isEmpty(), id);
        QImage image = blank;
        QPainter painter(&image);
        QVERIFY2(theme->drawImage(&painter, QLatin1String(id), image.rect()), id);
        painter.end();
        QVERIFY2(image != blank, id);
    }
}

void TstZuTheme::unknownStyleWarnsOncePerName()
{
    LogCapture log;
    ZuWidgetController widget;
    widget.setStyleName(QStringLiteral("NoSuchLookAnywhere"));
    widget.style();
    widget.effectiveSizeHint(Qt::PreferredSize);
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

void TstZuTheme::librariesAddTheirStylesWhileRegistered()
{
    LogCapture log;
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString base = QStringLiteral("zutoolkit.theme");
    QVERIFY(QFile::copy(QDir(ZuTheme::themeDirectory()).filePath(base), directory.filePath(base)));
    QFile library(directory.filePath(QStringLiteral("libprobe.theme")));
    QVERIFY(library.open(QIODevice::WriteOnly));
    library.write("[ProbeLook]\ncolor = #ff0000\n[CommonTitleInverted]\ncolor = #00ff00\n");
    library.close();
    qputenv(themeDirVariable, QFile::encodeName(directory.path()));
    ZuTheme *theme = ZuTheme::instance();
    theme->reload();
    QVERIFY(!theme->hasStyle(QStringLiteral("ProbeLook")));
    {
        ZuLibrary probe(QStringLiteral("libprobe"));
        {
            // Registrations nest; one without a file is registered all the same.
            ZuLibrary again(QStringLiteral("libprobe"));
            ZuLibrary nothing(QStringLiteral("libnothing"));
            QCOMPARE(ZuLibrary::registeredLibraries(),
                QStringList({ "libprobe", "libprobe", "libnothing" }));
        }
        QCOMPARE(ZuLibrary::registeredLibraries(), QStringList { "libprobe" });
        QCOMPARE(theme->style(QStringLiteral("ProbeLook")).textColor(), QColor(Qt::red));
        // A library may restyle a base look while it is loaded.
        QCOMPARE(
            theme->style(QStringLiteral("CommonTitleInverted")).textColor(), QColor(Qt::green));
    }
    QCOMPARE(ZuLibrary::registeredLibraries(), QStringList());
    QVERIFY(!theme->hasStyle(QStringLiteral("ProbeLook")));
    QCOMPARE(theme->style(QStringLiteral("CommonTitleInverted")).textColor(), QColor(Qt::white));
    QCOMPARE(log.warningLines(), QStringList());
    qunsetenv(themeDirVariable);
    theme->reload();
}

QTEST_MAIN(TstZuTheme)
#include "tst_zutheme.moc"
