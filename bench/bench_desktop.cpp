// Figures of the work-from-any-program keys on a real X server (the script starts a virtual
// one with a window manager): the time from an ESC press (XTest) to the audio player reporting
// playing, the process's CPU use while a file is open and paused, and the time of typing one
// text into another program.
//   bench_desktop <editor program> <recording> [GTK editor script]
// With the GTK editor the ESC figures are taken in both editors: in the GTK one the selection
// is read from PRIMARY, in the Qt one it is copied.
#include "BenchUtil.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordingMpcTransport.h"

#include "app/MediaOpener.h"
#include "app/Program.h"
#include "forms/TForm1.h"
#include "automation/GlobalHotKey.h"
#include "automation/TextInjection.h"
#include "doubles/FakeDesktop.h"
#include "platform/QtClock.h"
#include "platform/ScrollLock.h"
#include "platform/SoundPlayer.h"
#include "platform/UserMessages.h"
#include "platform/X11Desktop.h"
#include "doubles/FakeEngines.h"
#include "playback/LibmpvEngines.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QTemporaryDir>
#include <clocale>
#include <sys/resource.h>

namespace {

const MpvOptions Silent{{"ao", "null"}};

double Ms(const QElapsedTimer &t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// Runs the event loop until pred holds or ms have passed.
bool Until(const std::function<bool()> &pred, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return pred();
}

void Idle(int ms)
{
    Until([] { return false; }, ms);
}

QString ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_desktop <editor program> <recording> [GTK editor script]\n");
        return 2;
    }
    QTemporaryDir home;
    qputenv("STENOVA_HOME", home.path().toUtf8());
    QtClock clock;
    X11Desktop desktop;
    if (!desktop.observing()) {
        std::fprintf(stderr, "no X server with XInput 2\n");
        return 1;
    }
    NoScrollLock scrollLock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    LibmpvMci mci(clock, Silent);
    FakeWmp wmp(clock);
    RecordedSounds sound;
    FakeVolume mixer, masterVolume;
    Program program({clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
                    {QStringLiteral("stenova")});
    TForm1 &form = *program.Form1();
    form.show();
    program.session().PendingMediaPath = QString::fromLocal8Bit(argv[2]);
    program.opener().OpenMediaFile();
    form.CheckBox3->setChecked(true);
    PlayerFacade &player = program.player();

    // A typist's press: the key is let go 60 ms after it went down (or once the player plays).
    const auto press = [&](int vk) {
        desktop.sendKey({vk, 0, false, false});
        QTimer::singleShot(60, [&desktop, vk] { desktop.sendKey({vk, 0, false, true}); });
    };
    const QString state = home.filePath(QStringLiteral("editor"));
    QProcess editor;
    const auto startEditor = [&](const QString &program, const QStringList &args) -> WindowId {
        QFile::remove(state + ".window");
        editor.start(program, args + QStringList{state});
        if (!Until([&] { return !ReadFile(state + ".window").isEmpty(); }, 10000)) return 0;
        const WindowId w = ReadFile(state + ".window").toULong();
        Until([&] { return desktop.foreground() == w; }, 5000);
        return w;
    };
    // ESC in the editor, 50 times: press to playing, then a second press pauses.
    const auto escFigures = [&](const char *title) {
        std::vector<double> latency;
        for (int i = 0; i < 50; ++i) {
            QElapsedTimer t;
            t.start();
            press(VK::Esc);
            if (!Until([&] { return player.PlayState() == 3; }, 3000)) break;
            latency.push_back(Ms(t));
            Idle(400);
            press(VK::Esc);
            Until([&] { return player.PlayState() == 2; }, 3000);
            Idle(400);
        }
        PrintStats(title, latency, "ms");
    };
    if (argc > 3) {
        if (!startEditor(QStringLiteral("/usr/bin/python3"), {QString::fromLocal8Bit(argv[3])})) return 1;
        escFigures("ESC press to playing, GTK editor (PRIMARY)");
        editor.kill();
        editor.waitForFinished();
    }
    if (!startEditor(QString::fromLocal8Bit(argv[1]), {})) return 1;
    // The Qt editor's selection is read with a synthesized Ctrl+C and its waits.
    escFigures("ESC press to playing, Qt editor (copied)");

    std::vector<double> insert;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        program.injection().InsertText(QStringLiteral("Участник: "));
        insert.push_back(Ms(t));
    }
    Until([&] { return ReadFile(state + ".text").count(QStringLiteral("Участник: ")) == 10; }, 3000);
    PrintStats("InsertText into the editor", insert, "ms");
    std::printf("%-48s %d of 10\n", "texts that arrived",
                static_cast<int>(ReadFile(state + ".text").count(QStringLiteral("Участник: "))));

    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop idle; // the program's own event loop, nothing polled by the benchmark
    QTimer::singleShot(30000, &idle, &QEventLoop::quit);
    idle.exec();
    std::printf("%-48s %.2f %% of one core over %.0f s\n", "CPU, file open and paused",
                100.0 * (CpuSeconds() - cpu0) / (Ms(wall) / 1000.0), Ms(wall) / 1000.0);

    editor.kill();
    editor.waitForFinished();
    return 0;
}
