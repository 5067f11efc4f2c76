// How long the window stands still while the external player does not answer: the program
// with the real external player (mpv over its IPC socket, ao=null, vo=null) plays a generated
// WAV while its own timers read the position (the main tick every 10 ms, the display every
// 100 ms). The mpv process is stopped with SIGSTOP for 10 s, while playing and while paused,
// and a 1 ms timer records the gaps between its timeouts; then it is continued (does playback
// go on?) and killed with SIGKILL (how soon is the disconnect reported?).
#include "BenchUtil.h"
#include "TestMedia.h"
#include "doubles/FakeDesktop.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordedSounds.h"

#include "app/MediaOpener.h"
#include "app/Program.h"
#include "forms/TForm1.h"
#include "platform/QtClock.h"
#include "platform/ScrollLock.h"
#include "playback/LibmpvEngines.h"
#include "playback/MpvIpcBridge.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <csignal>
#include <functional>

namespace {

const MpvOptions Silent{{"ao", "null"}};

double Ms(const QElapsedTimer &t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// Runs the event loop until done() holds or ms have passed; returns whether it held.
bool RunUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// This thread's time on a CPU and waiting for one while ready to run, from the scheduler's
// statistics (kept to within its tick, a few ms): a gap spent waiting for a CPU is the
// machine's load, not the program's doing.
struct SchedTimes {
    double runningMs = 0, waitingMs = 0;
};

SchedTimes ThreadSchedTimes()
{
    std::FILE *f = std::fopen("/proc/thread-self/schedstat", "r");
    if (!f) return {};
    unsigned long long cpuNs = 0, waitNs = 0;
    const int read = std::fscanf(f, "%llu %llu", &cpuNs, &waitNs);
    std::fclose(f);
    if (read != 2) return {};
    return {static_cast<double>(cpuNs) / 1e6, static_cast<double>(waitNs) / 1e6};
}

// The gaps between the timeouts of a 1 ms timer: how long the event loop was kept from it.
class StallMeter {
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    // Records the gaps for ms while the event loop runs.
    std::vector<double> record(int ms)
    {
        m_gaps.clear();
        longest = {};
        m_longest = 0;
        m_since.start();
        m_before = ThreadSchedTimes();
        m_timer.start();
        RunUntil([] { return false; }, ms);
        m_timer.stop();
        tick(); // up to the end
        return m_gaps;
    }
    // Of the longest gap, the time the thread ran and waited for a CPU.
    SchedTimes longest;

private:
    void tick()
    {
        const double gap = Ms(m_since);
        const SchedTimes now = ThreadSchedTimes();
        if (gap > m_longest) {
            m_longest = gap;
            longest = {now.runningMs - m_before.runningMs, now.waitingMs - m_before.waitingMs};
        }
        m_gaps.push_back(gap);
        m_since.start();
        m_before = now;
    }

    QTimer m_timer;
    QElapsedTimer m_since;
    SchedTimes m_before;
    double m_longest = 0;
    std::vector<double> m_gaps;
};

// Passes the program's commands on to the bridge and times each one.
class TimedTransport : public MpcTransport {
public:
    explicit TimedTransport(MpcTransport &inner) : m_inner(inner)
    {
        m_inner.onReport = [this](std::uint32_t code, const QString &text, std::int64_t sender) {
            if (onReport) onReport(code, text, sender);
        };
    }
    bool startPlayer(const QString &program, const QString &mediaPath, const QString &hostWindow) override
    {
        return m_inner.startPlayer(program, mediaPath, hostWindow);
    }
    void send(std::uint32_t code, const QString &text) override
    {
        QElapsedTimer t;
        t.start();
        m_inner.send(code, text);
        (code == Mpc::CmdGetPosition ? positionReads : otherCommands).push_back(Ms(t));
    }
    std::vector<double> positionReads, otherCommands;

private:
    MpcTransport &m_inner;
};

void PrintGaps(const char *what, const std::vector<double> &gaps, SchedTimes longest)
{
    PrintStats(what, gaps, "ms");
    const auto over = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g > 50; });
    std::printf("%-48s %.1f ms (%td gaps over 50 ms); in it running %.1f ms, waiting for a CPU %.1f ms\n",
                "  longest stall", *std::max_element(gaps.begin(), gaps.end()), over, longest.runningMs,
                longest.waitingMs);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir home;
    qputenv("STENOVA_HOME", home.path().toUtf8());
    const QString wav = MakeTestRecording(home.path(), QStringLiteral("stall.wav"), 120);
    if (wav.isEmpty()) {
        std::fprintf(stderr, "ffmpeg could not make the recording\n");
        return 1;
    }

    QtClock clock;
    NoScrollLock scrollLock;
    RecordedMessages messages;
    MpvIpcBridge bridge(clock, {QStringLiteral("--ao=null"), QStringLiteral("--vo=null")});
    TimedTransport timed(bridge);
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    LibmpvMci mci(clock, Silent);
    LibmpvWmp wmp(clock, false, Silent);
    Program program({clock, scrollLock, messages, timed, mci, wmp, sound, desktop, mixer, masterVolume},
                    {QStringLiteral("stenova")});
    TForm1 &f = *program.Form1();
    TMPCHC &client = *f.MPCHC;
    PlayerFacade &player = program.player();

    // Listen to the reports on their way to the client.
    int positionsAnswered = 0;
    QElapsedTimer sinceKill;
    double disconnectAfterMs = -1;
    auto forward = timed.onReport;
    timed.onReport = [&, forward](std::uint32_t code, const QString &text, std::int64_t sender) {
        if (code == Mpc::RepCurrentPosition) ++positionsAnswered;
        if (code == Mpc::RepDisconnect && sinceKill.isValid() && disconnectAfterMs < 0)
            disconnectAfterMs = Ms(sinceKill);
        forward(code, text, sender);
    };

    f.NMPC->setChecked(true);
    program.session().PendingMediaPath = wav;
    program.opener().OpenMediaFile();
    if (player.ActiveEngine() != Engine::Mpc || !client.connected() || client.DurationSec < 100) {
        std::fprintf(stderr, "the external player did not open the recording\n");
        return 1;
    }
    const pid_t pid = static_cast<pid_t>(client.PlayerWindow);
    // The position the main tick read last.
    const auto shown = [&] { return program.loop().PrevPositionMs; };

    StallMeter meter;
    player.Play();
    if (!RunUntil([&] { return shown() > 1000; }, 10000)) {
        std::fprintf(stderr, "playback did not start\n");
        return 1;
    }

    std::printf("external player (mpv, ao=null) playing a 120 s WAV; main tick 10 ms, display 100 ms\n");
    const auto phase = [&](const char *what, int ms) {
        positionsAnswered = 0;
        timed.positionReads.clear();
        timed.otherCommands.clear();
        const std::vector<double> gaps = meter.record(ms);
        PrintGaps(what, gaps, meter.longest);
        PrintStats("  position reads (TMPCHC::GetPosition)", timed.positionReads, "ms");
        PrintStats("  other commands", timed.otherCommands, "ms");
        std::printf("%-48s %d of %zu\n", "  positions answered", positionsAnswered, timed.positionReads.size());
    };
    phase("event-loop gaps, player running (5 s)", 5000);

    // Stopped while playing.
    ::kill(pid, SIGSTOP);
    const double stoppedAt = shown();
    phase("event-loop gaps, player stopped while playing (10 s)", 10000);
    std::printf("%-48s %.0f ms\n", "  position moved on while stopped", shown() - stoppedAt);

    ::kill(pid, SIGCONT);
    const double continuedAt = shown();
    QElapsedTimer sinceContinue;
    sinceContinue.start();
    const bool continued = RunUntil([&] { return shown() > continuedAt + 1000; }, 10000);
    std::printf("%-48s %s, 1 s further after %.0f ms\n", "after SIGCONT: playback goes on", continued ? "yes" : "NO",
                Ms(sinceContinue));

    // Stopped while paused.
    player.Pause();
    RunUntil([&] { return client.PlayMode == 1; }, 3000);
    RunUntil([] { return false; }, 500);
    ::kill(pid, SIGSTOP);
    phase("event-loop gaps, player stopped while paused (10 s)", 10000);
    // The user's seek and play, to the stopped player: they take effect once it continues.
    timed.otherCommands.clear();
    player.SetPositionMs(60000);
    player.Play();
    PrintStats("seek and play sent to the stopped player", timed.otherCommands, "ms");
    ::kill(pid, SIGCONT);
    const bool playsAgain = RunUntil([&] { return shown() > 61000; }, 10000);
    std::printf("%-48s %s\n", "after SIGCONT: plays on from the new place", playsAgain ? "yes" : "NO");

    // A command right after the player stopped, before the bridge can have noticed.
    ::kill(pid, SIGSTOP);
    timed.otherCommands.clear();
    player.Pause();
    player.Play();
    PrintStats("pause and play right after SIGSTOP", timed.otherCommands, "ms");
    ::kill(pid, SIGCONT);
    RunUntil([] { return false; }, 1000);

    // Killed.
    sinceKill.start();
    ::kill(pid, SIGKILL);
    RunUntil([&] { return disconnectAfterMs >= 0; }, 10000);
    if (disconnectAfterMs >= 0) std::printf("%-48s %.1f ms\n", "SIGKILL to the disconnect report", disconnectAfterMs);
    else std::printf("%-48s none within 10 s\n", "SIGKILL to the disconnect report");
    std::printf("%-48s %s\n", "  client disconnected", client.connected() ? "NO" : "yes");
    return 0;
}
