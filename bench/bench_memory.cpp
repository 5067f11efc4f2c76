// Resident memory of the whole program, started as main() starts it (real players, the default
// sound output, the X server's GL), in a fresh process per case:
//   - a WAV file open, paused;
//   - a video file open, its window shown and the picture playing for two seconds, with the CPU
//     time the whole process took meanwhile.
// Each figure is split into what the libraries' files take and what the program allocated.
//   bench_memory WAV MP4
#include "app/RealProgram.h"
#include "forms/TForm1.h"
#include "playback/MpvLibrary.h"
#include "playback/PlayerFacade.h"
#include "playback/TFormWMP.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>
#include <clocale>
#include <functional>
#include <cstdio>
#include <ctime>

namespace {

// Resident kB of file-backed mappings and of the rest, from /proc/self/smaps.
void PrintResident(const char *what)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly)) return;
    long files = 0, other = 0;
    bool file = false;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (!f.isEmpty() && f[0].contains('-') && !f[0].endsWith(':')) file = f.size() >= 6 && f[5].startsWith('/');
        else if (f.size() >= 2 && f[0] == "Rss:") (file ? files : other) += f[1].toLong();
    }
    std::printf("%-44s resident %7.1f MB  (library and font files %6.1f MB, the rest %6.1f MB)\n", what,
                (files + other) / 1024.0, files / 1024.0, other / 1024.0);
}

void Wait(
    int ms, const std::function<bool()> &done = [] { return false; })
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

int RunCase(const QString &mode, const QString &media)
{
    QTemporaryDir home;
    qputenv("STENOVA_HOME", home.path().toUtf8());
    RealProgram real({QStringLiteral("stenova"), media});
    Program &p = real.program();
    Wait(10000, [&] { return p.session().CurrentMediaPath == media && p.player().LengthMs() > 0; });
    if (p.player().LengthMs() <= 0) {
        std::printf("%s: the file did not open\n", qPrintable(media));
        return 1;
    }
    if (mode == QLatin1String("video")) {
        p.Form1()->SpeedButton8->click();
        p.player().TogglePlayPause();
        const std::clock_t cpu = std::clock();
        Wait(2000);
        if (!p.FormWMP()->isVisible()) std::printf("the video window did not show\n");
        PrintResident("video file open, shown and playing");
        std::printf("%-44s CPU %5.1f %% of a core over 2 s\n", "  while playing",
                    100.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC / 2.0);
    } else {
        Wait(2000);
        PrintResident("audio file open, paused");
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--case") {
        QApplication app(argc, argv);
        PreloadMpvLibrary();
        std::setlocale(LC_NUMERIC, "C");
        return RunCase(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_memory WAV MP4\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    int status = 0;
    for (const auto &[mode, media] : {std::pair{"audio", argv[1]}, std::pair{"video", argv[2]}}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--case"), QLatin1String(mode), QString::fromLocal8Bit(media)});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) status = 1;
    }
    return status;
}
