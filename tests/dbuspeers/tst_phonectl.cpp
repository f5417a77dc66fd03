#include "oxaif.h"
#include "peerprocess.h"
#include "pinqueryinterface.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

// phonectl against the running reference peers, as a person or the demo
// would use it, with the D-Bus clients watching the results.
class TestPhonectl : public QObject
{
    Q_OBJECT

private:
    struct Result
    {
        int exitCode;
        QString out;
        QString err;
    };

    PeerProcess m_daemon { PeerProcess::ModeControl };
    PeerProcess m_pin { PeerProcess::PinQuery };

    static QString program(const QString &name)
    {
        return QDir(qEnvironmentVariable("SIM_BUILD_DIR")).filePath(QStringLiteral("bin/") + name);
    }
    // Runs phonectl to its end; the event loop keeps turning meanwhile, so
    // the client objects of the test receive their signals.
    static Result phonectl(const QStringList &arguments)
    {
        QProcess process;
        process.start(program(QStringLiteral("phonectl")), arguments);
        if (!process.waitForStarted()) {
            return { -1, QString(), process.errorString() };
        }
        QSignalSpy finished(&process, SIGNAL(finished(int, QProcess::ExitStatus)));
        finished.wait(PeerProcess::DefaultTimeoutMs);
        return { process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError()) };
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<QProcess::ExitStatus>();
        QVERIFY2(m_daemon.start(), qPrintable(m_daemon.lastError()));
    }

    void init()
    {
        m_pin.stop();
        QVERIFY2(m_daemon.reset(), qPrintable(m_daemon.lastError()));
        QVERIFY(m_daemon.waitForName(true));
    }

    void flightModeReachesTheClient()
    {
        OxaIf oxa;
        QVERIFY(!oxa.isOffline());
        QSignalSpy offline(&oxa, SIGNAL(offlineChanged(bool)));

        Result result = phonectl({ "flight", "on" });
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QStringLiteral("flight mode on: radio states 2 (flight mode on)\n"));
        QTRY_COMPARE(offline.count(), 1);
        QVERIFY(oxa.isOffline());

        QCOMPARE(phonectl({ "flight", "off" }).exitCode, 0);
        QTRY_COMPARE(offline.count(), 2);
        QVERIFY(!oxa.isOffline());

        QCOMPARE(phonectl({ "status" }).out,
            QStringLiteral("radio states 3 (flight mode off), call state \"none\"\n"));
    }

    void refusesWithAClearMessage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList() << 2 << "usage: phonectl";
        QTest::newRow("flight maybe") << QStringList { "flight", "maybe" } << 2 << "on or off";
        QTest::newRow("code with letters")
            << QStringList { "pin", "enter", "12a4" } << 2 << "4 to 8 digits";
        // The peer itself checks method names.
        QTest::newRow("unknown method") << QStringList { "fault", "oxa", "get_everything", "error" }
                                        << 1 << "no method get_everything";
        QTest::newRow("peer absent")
            << QStringList { "pin", "cancel" } << 1 << "the PIN query service is not on the bus";
    }
    void refusesWithAClearMessage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Result result = phonectl(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
    }

    // As the demo tells a person: the PIN that phonectl names opens the
    // service's default card.
    void answersTheHeadlessPinDialogue()
    {
        QVERIFY2(m_pin.start({ QStringLiteral("--headless") }), qPrintable(m_pin.lastError()));
        const QString code = QRegularExpression(QStringLiteral("^PIN (\\d+),"))
                                 .match(phonectl({ "codes" }).out)
                                 .captured(1);
        PinQueryInterface pin;
        QSignalSpy spy(&pin, SIGNAL(PinQueryEnabled(int)));
        pin.EnablePinQuery(true);
        QTRY_COMPARE(phonectl({ "pin", "pending" }).out,
            QStringLiteral("waiting for the pin, 3 attempts left\n"));
        const Result entered = phonectl({ "pin", "enter", code });
        QCOMPARE(entered.exitCode, 0);
        QVERIFY(!entered.out.contains(code));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.constFirst().constFirst().toInt(), 0);
    }

    void codesStayOutOfTheServiceOutput()
    {
        const QString code = QStringLiteral("13572468");
        const QString wrongCode = QStringLiteral("24681357");
        QProcess service;
        service.setProcessChannelMode(QProcess::MergedChannels);
        service.start(program(QStringLiteral("pin-query-service")),
            { "--headless", "--pin", code, "--answer", wrongCode });
        QVERIFY(m_pin.waitForName(true));
        PinQueryInterface pin;
        QSignalSpy spy(&pin, SIGNAL(PinQueryEnabled(int)));
        QByteArray output;
        connect(&service, &QProcess::readyRead, this, [&] { output += service.readAll(); });
        pin.EnablePinQuery(false);
        // The wrong code from the command line is used up; only then does
        // the service wait for the control interface, and say so.
        QTRY_VERIFY(output.contains("waiting for the pin (attempts left: 2)"));
        QVERIFY(PeerProcess::succeeded(
            m_pin.control(PeerProcess::PinQueryControlInterface, "EnterCode", { code })));
        QVERIFY(spy.wait());
        QCOMPARE(spy.constFirst().constFirst().toInt(), 1);
        service.terminate();
        QVERIFY(service.waitForFinished());
        output += service.readAll();
        QVERIFY2(!output.contains(code.toLatin1()) && !output.contains(wrongCode.toLatin1()),
            output.constData());
        QVERIFY(m_pin.waitForName(false));
    }
};

QTEST_GUILESS_MAIN(TestPhonectl)
#include "tst_phonectl.moc"
