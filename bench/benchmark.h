#pragma once

#include "appletloader.h"
#include "peerprocess.h"

#include <QGraphicsScene>
#include <QObject>
#include <QStringList>

class KivWidget;
class Report;

// Measures the SIM page against the bus round trip, in one process on the
// private bus with the reference peers and the simulated modem: the round
// trip itself, loading the plug-in, opening the page and the bus calls that
// costs, following SIM changes, memory over many pages and many changes, and
// the settings host's cold start beside an empty Qt window's.
class Benchmark : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        QString plugin;
        int rttCalls = 1000;
        int opens = 50;
        int changes = 200;
        int cycles = 1000;
        int flips = 10000;
        int warmUp = 20;
        int coldStarts = 10;
    };

    explicit Benchmark(const Options &options, QObject *parent = nullptr);
    ~Benchmark() override;

    // Qt's blocking-call watcher reports every blocking call of the GUI
    // thread once this is set in the environment before the first call.
    static void enableBlockingCallReports();

    // Runs every measurement into the report; false, with lastError(), when
    // one could not be made.
    bool run(Report *report);
    QString lastError() const { return m_lastError; }

private:
    struct Sample
    {
        qint64 rssKb;
        int objects;
        int items;
    };

    bool startPeers();
    bool loadPlugin(Report *report);
    bool measureRtt(Report *report);
    bool measurePageOpen(Report *report);
    bool countRoundTrips(Report *report);
    bool measureCycles(Report *report);
    bool measureUpdates(Report *report);
    bool measureColdStart(Report *report);

    KivWidget *openPage();
    void closePage(KivWidget *page);
    bool openAndWait(KivWidget **page);
    bool waitForRows(KivWidget *page, const QString &rows);
    void changeSim(const QString &state);
    // Flips the SIM between waiting for its PIN and ready, in bursts, and
    // waits until the page shows it ready again.
    bool flip(KivWidget *page, int count);
    // Waits until the modem has handled every change sent so far, then runs
    // what that left behind.
    bool quiesce();
    void drain();
    Sample sample();
    void reportMemory(Report *report, const QString &key, const QString &what, const Sample &before,
        const Sample &after);
    bool fail(const QString &error);

    Options m_options;
    PeerProcess m_modem;
    PeerProcess m_modeControl;
    PeerProcess m_pinQuery;
    AppletLoader::Result m_plugin;
    QGraphicsScene m_scene;
    QString m_lastError;
    double m_openMedian = 0;
};
