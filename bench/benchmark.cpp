#include "benchmark.h"

#include "busmonitor.h"
#include "coldstart.h"
#include "hostview.h"
#include "kivappletif.h"
#include "kivwidget.h"
#include "objectcensus.h"
#include "pageprobe.h"
#include "report.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QMap>
#include <QTimer>

#include <unistd.h>

namespace {
const QString ModemControl = QStringLiteral("com.tavik.sim.ModemControl");
const QString Ready = QStringLiteral("ready");
const QString WaitsForPin = QStringLiteral("pin");
// What the page shows when all answers are in, for a ready SIM with the PIN
// request on, and for a SIM that waits for its PIN.
const QString ReadyRows = QStringLiteral("SimPinRequestItem:on SimPinChangeItem");
const QString WaitsForPinRows = QStringLiteral("SimActivateSimItem");

const QString OxaService = QStringLiteral("com.tavik.oxa");
const QString OxaRequestPath = QStringLiteral("/com/tavik/oxa/request");
const QString OxaRequestInterface = QStringLiteral("com.tavik.oxa.request");
const QString GetRadioStates = QStringLiteral("get_radio_states");
const QString GetNameOwner = QStringLiteral("org.freedesktop.DBus.GetNameOwner");

const char *const BlockingCallWarningMs = "Q_DBUS_BLOCKING_CALL_MAIN_THREAD_WARNING_MS";
const QString BlockingCallReport
    = QStringLiteral("QDBusConnection: warning: blocking call took a long time");

const int RttWarmUpCalls = 50;
const int OpenWarmUp = 5;
const int PageTimeoutMs = 10000;
// Wakes the waiting loop now and then, so that a page that never gets there
// ends in a timeout instead of a hang.
const int WakeIntervalMs = 100;
const int DrainRounds = 3;
// Changes are sent in bursts without waiting; the page must keep up.
const int FlipBurst = 100;
const int FlipWarmUpDivisor = 10;
const double MedianPercent = 50;
const double P90Percent = 90;
const double P99Percent = 99;
const int RoundTripSlack = 3;
const int BusCallLimit = 20;
// Where the calls of a page open come from, by kind. The design fixes how
// the page's own clients talk to their services: the mode-control client's
// blocking offline question, proxies and signal subscriptions by service
// name (each with an owner look-up and an owner watch that QtDBus adds). The
// SIM tracker behind the client libraries adds its reads and its own
// subscriptions, made without the service's name and so without a look-up.
const QMap<QString, QString> CallOrigins {
    { QStringLiteral("com.tavik.oxa com.tavik.oxa.request.get_radio_states"),
        QStringLiteral("as designed: the first offline question") },
    { QStringLiteral("org.freedesktop.DBus org.freedesktop.DBus.GetNameOwner"),
        QStringLiteral("as designed: proxies and subscriptions by name") },
    { QStringLiteral("org.freedesktop.DBus org.freedesktop.DBus.AddMatch"),
        QStringLiteral("as designed, and the SIM tracker's 4 signals and owner watch") },
    { QStringLiteral("org.ofono org.ofono.Manager.GetModems"),
        QStringLiteral("SIM tracker, for all three client libraries") },
    { QStringLiteral("org.ofono org.ofono.SimManager.GetProperties"),
        QStringLiteral("SIM tracker, for all three client libraries") },
};
const QString ColdStartOpenedLine = QStringLiteral("opened \"");
const QString FirstApplet = QStringLiteral("0");
const int ColdStartWarmUp = 1;
const double OpenSlackMs = 5;
const int UpdateRttLimit = 4;
const double RssGrowthLimit = 0.01;
const double NsPerMs = 1e6;
const int KbPerByte = 1024;

bool countingBlockingCalls = false;
QStringList blockingCalls;

// Every line of the page goes through here: formatting it is part of the
// page's cost, writing it out is not.
void benchMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(BlockingCallReport)) {
        if (countingBlockingCalls)
            blockingCalls << text.mid(text.indexOf(QLatin1String("to service")));
        return;
    }
    if (type == QtCriticalMsg || type == QtFatalMsg)
        fprintf(stderr, "%s\n", qPrintable(text));
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / NsPerMs;
}

QString sizeNote(const QVector<double> &values)
{
    return QStringLiteral("n=%1").arg(values.size());
}
} // namespace

Benchmark::Benchmark(const Options &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_modem(QStringLiteral("modem-sim"), QStringLiteral("org.ofono"),
          QStringLiteral("com.tavik.sim.Modem"))
    , m_modeControl(PeerProcess::ModeControl)
    , m_pinQuery(PeerProcess::PinQuery)
{
    qInstallMessageHandler(benchMessageHandler);
}

// The handler stays: the peers' shutdown after this still makes blocking calls.
Benchmark::~Benchmark() = default;

void Benchmark::enableBlockingCallReports()
{
    // A threshold of 0 ms reports every blocking call, not only slow ones.
    // Qt reads it at the first blocking call; the peers started later must
    // not inherit it.
    qInstallMessageHandler(benchMessageHandler);
    qputenv(BlockingCallWarningMs, "0");
    QDBusConnection::systemBus().call(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
    qunsetenv(BlockingCallWarningMs);
}

bool Benchmark::run(Report *report)
{
    return startPeers() && loadPlugin(report) && measureRtt(report) && measurePageOpen(report)
        && countRoundTrips(report) && measureCycles(report) && measureUpdates(report)
        && measureColdStart(report);
}

bool Benchmark::fail(const QString &error)
{
    m_lastError = error;
    return false;
}

bool Benchmark::startPeers()
{
    // The card is ready with the PIN request on: the page's fullest state.
    if (!m_modem.start({ QStringLiteral("--pin-entered"), QStringLiteral("--pin-request"),
            QStringLiteral("on") }))
        return fail(QStringLiteral("modem: ") + m_modem.lastError());
    if (!m_modeControl.start())
        return fail(QStringLiteral("mode-control daemon: ") + m_modeControl.lastError());
    if (!m_pinQuery.start(
            { QStringLiteral("--headless"), QStringLiteral("--backend"), QStringLiteral("modem") }))
        return fail(QStringLiteral("PIN query service: ") + m_pinQuery.lastError());
    return true;
}

bool Benchmark::loadPlugin(Report *report)
{
    QElapsedTimer timer;
    timer.start();
    m_plugin = AppletLoader::load(m_options.plugin);
    if (!m_plugin.isLoaded())
        return fail(m_plugin.file + QStringLiteral(": ") + m_plugin.error);
    const QString title = m_plugin.applet->title();
    const double ms = elapsedMs(timer);
    report->add(QStringLiteral("plugin_load_to_title"),
        QStringLiteral("plug-in load to first title"), ms, Report::Milliseconds,
        QStringLiteral("title \"%1\"").arg(title));
    return true;
}

bool Benchmark::measureRtt(Report *report)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    const QDBusMessage call = QDBusMessage::createMethodCall(
        OxaService, OxaRequestPath, OxaRequestInterface, GetRadioStates);
    QVector<double> samples;
    for (int i = 0; i < RttWarmUpCalls + m_options.rttCalls; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QDBusMessage reply = bus.call(call);
        const double ms = elapsedMs(timer);
        if (reply.type() != QDBusMessage::ReplyMessage)
            return fail(QStringLiteral("get_radio_states: ") + reply.errorMessage());
        if (i >= RttWarmUpCalls)
            samples << ms;
    }
    report->setRtt(Report::percentile(samples, MedianPercent));
    report->add(QStringLiteral("rtt"), QStringLiteral("RTT: blocking get_radio_states, median"),
        report->rtt(), Report::Milliseconds, sizeNote(samples));
    report->add(QStringLiteral("rtt_p90"), QStringLiteral("RTT p90"),
        Report::percentile(samples, P90Percent), Report::Milliseconds);
    return true;
}

KivWidget *Benchmark::openPage()
{
    KivWidget *page = m_plugin.applet->constructWidget(0);
    if (page)
        m_scene.addItem(page);
    return page;
}

void Benchmark::closePage(KivWidget *page)
{
    // As the host does when the user leaves the page.
    delete page;
    drain();
}

bool Benchmark::openAndWait(KivWidget **page)
{
    *page = openPage();
    if (!*page)
        return fail(QStringLiteral("constructWidget() gave no page"));
    return waitForRows(*page, ReadyRows);
}

bool Benchmark::waitForRows(KivWidget *page, const QString &rows)
{
    QElapsedTimer timer;
    timer.start();
    QTimer wake;
    wake.start(WakeIntervalMs);
    QString shown;
    while ((shown = PageProbe::rows(page)) != rows) {
        if (timer.elapsed() > PageTimeoutMs)
            return fail(QStringLiteral("the page shows \"%1\" instead of \"%2\"").arg(shown, rows));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool Benchmark::measurePageOpen(Report *report)
{
    QVector<double> samples;
    for (int i = 0; i < OpenWarmUp + m_options.opens; ++i) {
        QElapsedTimer timer;
        timer.start();
        KivWidget *page = nullptr;
        if (!openAndWait(&page))
            return false;
        const double ms = elapsedMs(timer);
        closePage(page);
        if (i >= OpenWarmUp)
            samples << ms;
    }
    const double median = Report::percentile(samples, MedianPercent);
    m_openMedian = median;
    report->add(QStringLiteral("page_open"), QStringLiteral("page open to final state, median"),
        median, Report::Milliseconds, sizeNote(samples));
    report->add(QStringLiteral("page_open_p90"), QStringLiteral("page open p90"),
        Report::percentile(samples, P90Percent), Report::Milliseconds);
    return true;
}

bool Benchmark::countRoundTrips(Report *report)
{
    BusMonitor monitor;
    if (!monitor.start())
        return fail(monitor.lastError());
    monitor.begin();
    blockingCalls.clear();
    countingBlockingCalls = true;
    KivWidget *page = nullptr;
    const bool opened = openAndWait(&page);
    countingBlockingCalls = false;
    const QStringList calls = monitor.end();
    if (!opened)
        return false;
    closePage(page);
    if (calls.isEmpty())
        return fail(monitor.lastError());

    // QtDBus looks up a name's owner with a blocking call of its own that
    // bypasses its watcher; the bus monitor sees those.
    const int ownerLookups = calls.filter(GetNameOwner).size();
    const int watched
        = blockingCalls.size() - blockingCalls.filter(QStringLiteral("\"GetNameOwner\"")).size();
    const int blocking = watched + ownerLookups;
    report->add(QStringLiteral("page_open_blocking_round_trips"),
        QStringLiteral("blocking round trips per page open"), blocking, Report::Count,
        QStringLiteral("%1 calls and introspections + %2 owner look-ups")
            .arg(watched)
            .arg(ownerLookups));
    report->add(QStringLiteral("page_open_bus_calls"),
        QStringLiteral("bus calls per page open, all"), calls.size(), Report::Count,
        QStringLiteral("seen by a bus monitor"));
    QMap<QString, int> kinds;
    for (const QString &call : calls)
        ++kinds[call];
    QJsonObject byKind;
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it) {
        report->add(QStringLiteral("page_open_bus_calls:") + it.key(),
            QStringLiteral("  ") + it.key().section(QLatin1Char(' '), 1), it.value(), Report::Count,
            CallOrigins.value(it.key(), QStringLiteral("unexpected")));
        byKind.insert(it.key(), it.value());
    }
    report->addDetail(QStringLiteral("page_open_bus_calls_by_kind"), byKind);
    report->addTarget(QStringLiteral("page_open_bus_calls"),
        QStringLiteral("bus calls per page open %1").arg(calls.size()),
        QStringLiteral("<= %1").arg(BusCallLimit), calls.size() <= BusCallLimit);
    report->addDetail(
        QStringLiteral("page_open_blocking_calls"), QJsonArray::fromStringList(blockingCalls));
    report->addDetail(QStringLiteral("page_open_bus_calls"), QJsonArray::fromStringList(calls));

    const double limit = (blocking + RoundTripSlack) * report->rtt() + OpenSlackMs;
    const double median = m_openMedian;
    report->addTarget(QStringLiteral("page_open"),
        QStringLiteral("page open median %1 ms").arg(median, 0, 'f', 3),
        QStringLiteral("<= (%1 + %2) x RTT + %3 ms = %4 ms")
            .arg(blocking)
            .arg(RoundTripSlack)
            .arg(OpenSlackMs)
            .arg(limit, 0, 'f', 3),
        median <= limit);
    return true;
}

bool Benchmark::measureCycles(Report *report)
{
    for (int i = 0; i < m_options.warmUp; ++i) {
        KivWidget *page = nullptr;
        if (!openAndWait(&page))
            return false;
        closePage(page);
    }
    const Sample warm = sample();
    for (int i = 0; i < m_options.cycles; ++i) {
        KivWidget *page = nullptr;
        if (!openAndWait(&page))
            return false;
        closePage(page);
    }
    reportMemory(report, QStringLiteral("cycles"),
        QStringLiteral("%1 page open/close cycles").arg(m_options.cycles), warm, sample());
    return true;
}

void Benchmark::changeSim(const QString &state)
{
    // Not waited for: the clock runs from the moment the change leaves. No
    // reply is asked for either, since the bus allows only so many
    // unanswered calls per connection.
    QDBusMessage call = QDBusMessage::createMethodCall(m_modem.controlName(),
        QStringLiteral("/control"), ModemControl, QStringLiteral("SetState"));
    call << state;
    QDBusConnection::systemBus().send(call);
}

bool Benchmark::quiesce()
{
    // The modem emits its changes before it answers, so once this answer is
    // here every change is in our queue.
    const QDBusMessage reply = m_modem.control(ModemControl, QStringLiteral("GetState"));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(QStringLiteral("modem GetState: ") + reply.errorMessage());
    drain();
    return true;
}

bool Benchmark::measureUpdates(Report *report)
{
    KivWidget *page = nullptr;
    if (!openAndWait(&page))
        return false;

    QVector<double> samples;
    QVector<double> toPin;
    QVector<double> toReady;
    for (int i = 0; i < m_options.changes; ++i) {
        const bool ready = i % 2 == 1;
        QElapsedTimer timer;
        timer.start();
        changeSim(ready ? Ready : WaitsForPin);
        if (!waitForRows(page, ready ? ReadyRows : WaitsForPinRows))
            return false;
        const double ms = elapsedMs(timer);
        samples << ms;
        (ready ? toReady : toPin) << ms;
        if (!quiesce())
            return false;
    }
    if (!waitForRows(page, m_options.changes % 2 ? WaitsForPinRows : ReadyRows))
        return false;
    const double median = Report::percentile(samples, MedianPercent);
    report->add(QStringLiteral("update_latency"),
        QStringLiteral("SIM change to rows shown, median"), median, Report::Milliseconds,
        sizeNote(samples));
    report->add(QStringLiteral("update_latency_p99"), QStringLiteral("SIM change to rows, p99"),
        Report::percentile(samples, P99Percent), Report::Milliseconds);
    report->add(QStringLiteral("update_latency_to_pin"), QStringLiteral("  to PIN wanted, median"),
        Report::percentile(toPin, MedianPercent), Report::Milliseconds,
        QStringLiteral("rows: %1").arg(WaitsForPinRows));
    report->add(QStringLiteral("update_latency_to_ready"), QStringLiteral("  to ready, median"),
        Report::percentile(toReady, MedianPercent), Report::Milliseconds,
        QStringLiteral("rows: %1").arg(ReadyRows));
    const double limit = UpdateRttLimit * report->rtt();
    report->addTarget(QStringLiteral("update_latency"),
        QStringLiteral("update latency median %1 ms").arg(median, 0, 'f', 3),
        QStringLiteral("<= %1 x RTT = %2 ms").arg(UpdateRttLimit).arg(limit, 0, 'f', 3),
        median <= limit);

    // Bursts fill queues that single changes never do: the warm-up is the
    // same work, a tenth of it, so that the allocator has seen its peak.
    if (!flip(page, m_options.flips / FlipWarmUpDivisor))
        return false;
    const Sample before = sample();
    if (!flip(page, m_options.flips))
        return false;
    reportMemory(report, QStringLiteral("flips"),
        QStringLiteral("%1 SIM flips on one page").arg(m_options.flips), before, sample());
    closePage(page);
    return true;
}

bool Benchmark::measureColdStart(Report *report)
{
    ColdStart cold;
    if (!cold.startDisplay(HostView::ScreenWidth, HostView::ScreenHeight)) {
        // A figure missing, not a page that failed.
        report->add(QStringLiteral("cold_start"), QStringLiteral("cold start"), 0, Report::Count,
            QStringLiteral("not measured: ") + cold.lastError());
        return true;
    }
    const QString bin = qEnvironmentVariable("SIM_BUILD_DIR") + QStringLiteral("/bin/");
    const QStringList hostArguments { QStringLiteral("--plugin"), m_options.plugin,
        QStringLiteral("--open"), FirstApplet };
    const QStringList floorArguments { QString::number(HostView::ScreenWidth),
        QString::number(HostView::ScreenHeight) };
    // Taken in turns, so that both see the same machine.
    QVector<double> host;
    QVector<double> floor;
    for (int i = 0; i < ColdStartWarmUp + m_options.coldStarts; ++i) {
        // The host names the page it opened before it shows it.
        const double hostMs = cold.firstFrameMs(
            bin + QStringLiteral("settings-host"), hostArguments, ColdStartOpenedLine);
        const double floorMs = hostMs < 0
            ? -1
            : cold.firstFrameMs(bin + QStringLiteral("sim-bench-floor"), floorArguments);
        if (hostMs < 0 || floorMs < 0)
            return fail(cold.lastError());
        if (i >= ColdStartWarmUp) {
            host << hostMs;
            floor << floorMs;
        }
    }
    const double hostMedian = Report::percentile(host, MedianPercent);
    const double floorMedian = Report::percentile(floor, MedianPercent);
    report->add(QStringLiteral("cold_start"),
        QStringLiteral("cold start to first frame, settings-host --open"), hostMedian,
        Report::Milliseconds, sizeNote(host) + QStringLiteral(", median"));
    report->add(QStringLiteral("cold_start_floor"),
        QStringLiteral("  empty Qt window of the same size"), floorMedian, Report::Milliseconds,
        sizeNote(floor) + QStringLiteral(", median"));
    report->add(QStringLiteral("cold_start_ratio"), QStringLiteral("  cold start / empty window"),
        floorMedian > 0 ? hostMedian / floorMedian : 0, Report::Ratio);
    return true;
}

bool Benchmark::flip(KivWidget *page, int count)
{
    for (int sent = 0; sent < count;) {
        for (int i = 0; i < FlipBurst && sent < count; ++i, ++sent)
            changeSim(sent % 2 ? Ready : WaitsForPin);
        if (!quiesce())
            return false;
    }
    changeSim(Ready);
    if (!quiesce() || !waitForRows(page, ReadyRows))
        return false;
    drain();
    return true;
}

void Benchmark::drain()
{
    for (int i = 0; i < DrainRounds; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

Benchmark::Sample Benchmark::sample()
{
    drain();
    qint64 rssPages = 0;
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly))
        rssPages = statm.readAll().split(' ').value(1).toLongLong();
    return { rssPages * sysconf(_SC_PAGESIZE) / KbPerByte, ObjectCensus::liveObjects(),
        int(m_scene.items().size()) };
}

void Benchmark::reportMemory(Report *report, const QString &key, const QString &what,
    const Sample &before, const Sample &after)
{
    report->add(key + QStringLiteral("_rss_before"), QStringLiteral("RSS before %1").arg(what),
        before.rssKb, Report::Kilobytes);
    report->add(key + QStringLiteral("_rss_after"), QStringLiteral("RSS after %1").arg(what),
        after.rssKb, Report::Kilobytes,
        QStringLiteral("%1%").arg(100.0 * (after.rssKb - before.rssKb) / before.rssKb, 0, 'f', 2));
    report->add(key + QStringLiteral("_objects_before"),
        QStringLiteral("live QObjects before %1").arg(what), before.objects, Report::Count);
    report->add(key + QStringLiteral("_objects_after"),
        QStringLiteral("live QObjects after %1").arg(what), after.objects, Report::Count);
    report->add(key + QStringLiteral("_items_before"),
        QStringLiteral("graphics items before %1").arg(what), before.items, Report::Count);
    report->add(key + QStringLiteral("_items_after"),
        QStringLiteral("graphics items after %1").arg(what), after.items, Report::Count);

    report->addTarget(key + QStringLiteral("_objects"),
        QStringLiteral("live QObjects and graphics items after %1: %2 and %3")
            .arg(what)
            .arg(after.objects)
            .arg(after.items),
        QStringLiteral("no growth from %1 and %2").arg(before.objects).arg(before.items),
        after.objects <= before.objects && after.items <= before.items);
    report->addTarget(key + QStringLiteral("_rss"),
        QStringLiteral("RSS after %1: %2 kB").arg(what).arg(after.rssKb),
        QStringLiteral("<= %1 kB + 1%").arg(before.rssKb),
        after.rssKb <= before.rssKb * (1 + RssGrowthLimit));
}
