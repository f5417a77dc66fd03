#include "peerprocess.h"
#include "pinqueryinterface.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

// phonectl against the running reference peers, as the demo and the window
// test use it.
class TestPhonectl : public QObject
{
    Q_OBJECT

private:
    struct Result
    {
        int exitCode;
        QString out, err;
    };

    PeerProcess m_daemon { PeerProcess::ModeControl };
    PeerProcess m_pin { PeerProcess::PinQuery };

    static QString program(const QString &name)
    {
        return QDir(qEnvironmentVariable("SIM_BUILD_DIR")).filePath(QStringLiteral("bin/") + name);
    }
    static Result phonectl(const QStringList &arguments)
    {
        QProcess process;
        process.start(program(QStringLiteral("phonectl")), arguments);
        if (!process.waitForFinished(PeerProcess::DefaultTimeoutMs)) {
            return { -1, QString(), process.errorString() };
        }
        return { process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError()) };
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_daemon.start(), qPrintable(m_daemon.lastError())); }

    // Flight mode flips bit 0 only; the daemon starts with states 3.
    void flightMode()
    {
        const Result result = phonectl({ "flight", "on" });
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QStringLiteral("flight mode on: radio states 2 (flight mode on)\n"));
        QCOMPARE(phonectl({ "status" }).out,
            QStringLiteral("radio states 2 (flight mode on), call state \"none\"\n"));
        QCOMPARE(phonectl({ "flight", "off" }).exitCode, 0);
        QCOMPARE(phonectl({ "status" }).out,
            QStringLiteral("radio states 3 (flight mode off), call state \"none\"\n"));
    }

    // The demo's way through a headless dialogue, here after a wrong code
    // from the command line. Neither code shows in any output.
    void answersTheHeadlessPinDialogue()
    {
        const QString code = QStringLiteral("13572468");
        const QString wrongCode = QStringLiteral("24681357");
        // Scripts wait for a peer by running phonectl until it succeeds.
        QCOMPARE(phonectl({ "pin", "pending" }).exitCode, 1);
        QProcess service;
        service.setProcessChannelMode(QProcess::MergedChannels);
        service.start(program(QStringLiteral("pin-query-service")),
            { "--headless", "--pin", code, "--answer", wrongCode });
        QVERIFY(m_pin.waitForName(true));
        PinQueryInterface pin;
        QSignalSpy spy(&pin, SIGNAL(PinQueryEnabled(int)));
        pin.EnablePinQuery(false);
        QTRY_COMPARE(phonectl({ "pin", "pending" }).out,
            QStringLiteral("waiting for the pin, 2 attempts left, after a wrong code\n"));
        const Result entered = phonectl({ "pin", "enter", code });
        QCOMPARE(entered.exitCode, 0);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.constFirst().constFirst().toInt(), 1);
        service.terminate();
        QVERIFY(service.waitForFinished());
        const QString output
            = QString::fromLocal8Bit(service.readAll()) + entered.out + entered.err;
        QVERIFY2(!output.contains(code) && !output.contains(wrongCode), qPrintable(output));
        QVERIFY(m_pin.waitForName(false));
    }
};

QTEST_GUILESS_MAIN(TestPhonectl)
#include "tst_phonectl.moc"
