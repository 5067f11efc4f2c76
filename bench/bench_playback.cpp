// Playback figures on real libmpv (no sound device: ao=null, no picture: vo=null):
// open-to-length times, exact-seek errors, and the cost of one position read.
#include "BenchUtil.h"
#include "TestMedia.h"

#include "platform/QtClock.h"
#include "playback/LibmpvEngines.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <clocale>
#include <random>

namespace {

const MpvOptions Silent{{"ao", "null"}};

double Ms(const QElapsedTimer &t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

QString LongMp3(const QString &dir)
{
    const QString path = dir + QStringLiteral("/three-hours.mp3");
    if (QFileInfo(path).size() > 1000000) return path;
    std::printf("generating a 3-hour MP3 (about 30 s)...\n");
    std::fflush(stdout);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                            "sine=frequency=440:sample_rate=22050:duration=10800", "-ac", "1", "-c:a",
                                            "libmp3lame", "-b:a", "32k", path});
    ffmpeg.waitForFinished(600000);
    return path;
}

void OpenToLength(QtClock &clock, const QString &label, const QString &path, bool audioPlayer)
{
    std::vector<double> times;
    double lengthMs = 0;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        if (audioPlayer) {
            LibmpvMci mci(clock, Silent);
            t.start();
            QString error;
            mci.Open(path, &error);
            lengthMs = mci.Length();
        } else {
            LibmpvWmp wmp(clock, false, Silent);
            t.start();
            wmp.setURL(path);
            wmp.play();
            wmp.pause();
            while (wmp.duration() < 1 && wmp.lastError().isEmpty() && t.elapsed() < 20000) {
                clock.sleepMs(1);
                clock.processEvents();
            }
            lengthMs = wmp.duration() * 1000;
        }
        times.push_back(Ms(t));
    }
    PrintStats(qPrintable(QStringLiteral("open to length: ") + label), times, "ms");
    std::printf("%-48s %.3f s\n", "  length found", lengthMs / 1000);
}

void SeekErrors(QtClock &clock, const QString &label, const QString &path, int lengthMs)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> target(0, lengthMs - 500);
    LibmpvWmp wmp(clock, false, Silent);
    wmp.setURL(path);
    wmp.play();
    wmp.pause();
    while (wmp.duration() < 1) {
        clock.sleepMs(1);
        clock.processEvents();
    }
    std::vector<double> program, raw, cost, resume;
    for (int i = 0; i < 100; ++i) {
        const int ms = target(random);
        QElapsedTimer t;
        t.start();
        wmp.setCurrentPosition(ms / 1000.0);
        cost.push_back(Ms(t));
        program.push_back(std::abs(wmp.currentPosition() * 1000 - ms));
        raw.push_back(std::abs(wmp.mpv().getDouble(MpvName::TimePos) * 1000 - ms));
        if (i % 5 == 0) {
            // Where playback really resumes: while playing, time-pos is right, so the place
            // it shows 200 ms after resuming, less the time played, is the resume point.
            QElapsedTimer played;
            wmp.play();
            played.start();
            clock.sleepMs(200);
            const double now = wmp.mpv().getDouble(MpvName::TimePos) * 1000;
            resume.push_back(now - Ms(played) - ms);
            wmp.pause();
        }
    }
    PrintStats(qPrintable(QStringLiteral("seek |error|, position read: ") + label), program, "ms");
    PrintStats(qPrintable(QStringLiteral("seek |error|, raw time-pos: ") + label), raw, "ms");
    PrintStats(qPrintable(QStringLiteral("resume point - target: ") + label), resume, "ms");
    PrintStats(qPrintable(QStringLiteral("seek duration: ") + label), cost, "ms");
}

void PositionReadCost(QtClock &clock, const QString &path)
{
    LibmpvMci mci(clock, Silent);
    QString error;
    mci.Open(path, &error);
    mci.Play();
    std::vector<double> costs;
    volatile int sink = 0;
    for (int round = 0; round < 20; ++round) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 1000; ++i) sink = sink + mci.Position();
        costs.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0 / 1000.0);
        clock.sleepMs(5);
    }
    PrintStats("one position read while playing (WAV)", costs, "us");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    const QString sample = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(dir);
    QtClock clock;

    const QString wav = MakeTestRecording(dir, QStringLiteral("seek.wav"), 60);
    const QString mp3 = MakeTestRecording(dir, QStringLiteral("seek.mp3"), 60);
    const QString mp4 = MakeTestRecording(dir, QStringLiteral("seek.mp4"), 60);
    const QString longMp3 = LongMp3(dir);

    if (!sample.isEmpty()) OpenToLength(clock, QStringLiteral("sample WAV (audio player)"), sample, true);
    OpenToLength(clock, QStringLiteral("3-hour MP3 (video window's player)"), longMp3, false);
    OpenToLength(clock, QStringLiteral("3-hour MP3 (audio player)"), longMp3, true);
    SeekErrors(clock, QStringLiteral("WAV"), wav, 60000);
    SeekErrors(clock, QStringLiteral("MP3"), mp3, 60000);
    SeekErrors(clock, QStringLiteral("MP4 (25 fps)"), mp4, 60000);
    PositionReadCost(clock, wav);
    return 0;
}
