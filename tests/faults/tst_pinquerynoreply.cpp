// A PIN query service that takes a request and never answers holds the GUI
// thread for the bus's default reply timeout: the page keeps it, and this
// measures it.

#include "faultfixture.h"
#include "logcapture.h"

#include <QElapsedTimer>
#include <QtTest>
#include <zubutton.h>

using namespace Faults;

namespace {
// libdbus's default reply timeout is 25 s; allow for a slow machine.
const qint64 DefaultTimeoutMs = 25000;
const qint64 SlackMs = 5000;
} // namespace

class TestPinQueryNoReply : public QObject
{
    Q_OBJECT

private:
    Peers m_peers;

private Q_SLOTS:
    void heldForTheDefaultTimeout();
};

void TestPinQueryNoReply::heldForTheDefaultTimeout()
{
    QVERIFY(m_peers.startAll());
    QVERIFY(m_peers.pinQuery.setFault(QStringLiteral("EnablePinQuery"), QStringLiteral("never")));
    SimPage page;
    QVERIFY(page.waitForRows(ReadyRows));

    qint64 heldMs = 0;
    {
        LogCapture log;
        QElapsedTimer held;
        held.start();
        page.pinSwitch()->click(); // returns only when the call gives up
        heldMs = held.elapsed();
        // The timeout is dropped like any error reply: no line, no change.
        QCOMPARE(log.warningLines(), QStringList());
    }
    qInfo("the GUI thread was held for %lld ms", heldMs);
    QVERIFY(m_peers.pinQuery.waitForCalls(1));
    QVERIFY2(heldMs >= DefaultTimeoutMs - SlackMs && heldMs <= DefaultTimeoutMs + SlackMs,
        qPrintable(QStringLiteral("held %1 ms").arg(heldMs)));
    QCOMPARE(page.rows(), QStringLiteral("SimPinRequestItem:off SimPinChangeItem"));
}

QTEST_MAIN(TestPinQueryNoReply)
#include "tst_pinquerynoreply.moc"
