// Where loops rewind and resume on the real players in real time (ao=null): for an AB loop and
// a between-bookmarks loop on the sample WAV (audio player) and MP3 (video window's player),
// 50 loops each, the position at the rewind relative to the loop's end, and where playback
// really resumed relative to its start.
#include "BenchUtil.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordingMpcTransport.h"
#include "doubles/FakeDesktop.h"

#include "widgets/Controls.h"
#include "app/MediaOpener.h"
#include "base/MediaTime.h"
#include "app/Program.h"
#include "forms/TForm1.h"
#include "marks/BookmarkNavigator.h"
#include "platform/QtClock.h"
#include "platform/ScrollLock.h"
#include "platform/SoundPlayer.h"
#include "platform/UserMessages.h"
#include "playback/LibmpvEngines.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>

namespace {

const MpvOptions Silent{{"ao", "null"}};

void Measure(const QString &file, bool betweenBookmarks, const char *label)
{
    QtClock clock;
    NoScrollLock scrollLock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    LibmpvMci mci(clock, Silent);
    LibmpvWmp wmp(clock, false, Silent);
    Program program({clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
                    {QStringLiteral("stenova")});
    TForm1 &f = *program.Form1();
    PlayerFacade &player = program.player();
    program.session().PendingMediaPath = file;
    program.opener().OpenMediaFile();

    const int start = 10000, end = 11000;
    const auto seekTo = [&](int ms) {
        f.TrackBar1->tag = SeekUser;
        f.TrackBar1->setValue(ms);
    };
    if (betweenBookmarks) {
        seekTo(start);
        program.bookmarks().BitBtn1Click();
        seekTo(end);
        program.bookmarks().BitBtn1Click();
        f.UpDown6->setPosition(0);
        f.CheckBox8->setChecked(true);
    } else {
        f.MaskEdit1->setText(MsToTimeText(start));
        f.MaskEdit2->setText(MsToTimeText(end));
        f.UpDown7->setPosition(0);
        f.CheckBox7->setChecked(true);
    }
    seekTo(start + 100);
    player.Play();

    std::vector<double> rewindAt, resumeAt;
    QElapsedTimer sinceRewind;
    QObject::connect(f.TrackBar1, &QSlider::valueChanged, [&] {
        if (f.TrackBar1->tag != SeekLoop) return;
        rewindAt.push_back(program.loop().PrevPositionMs - end);
        sinceRewind.start();
        // While playing the reported position is right: 300 ms on, less the time played,
        // is where playback resumed.
        QTimer::singleShot(300, [&] {
            const double raw = (program.session().VideoFlag ? wmp.mpv() : mci.mpv()).getDouble("time-pos") * 1000;
            resumeAt.push_back(raw - static_cast<double>(sinceRewind.nsecsElapsed()) / 1e6 - start);
        });
    });
    QElapsedTimer total;
    total.start();
    while (resumeAt.size() < 50 && total.elapsed() < 120000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("%s\n", label);
    PrintStats("  rewind position - loop end", rewindAt, "ms");
    PrintStats("  resume position - loop start", resumeAt, "ms");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_loops SAMPLE.wav SAMPLE.mp3\n");
        return 2;
    }
    QTemporaryDir home;
    qputenv("STENOVA_HOME", home.path().toUtf8());
    const QString wav = QString::fromLocal8Bit(argv[1]), mp3 = QString::fromLocal8Bit(argv[2]);
    Measure(wav, false, "AB loop 10.000-11.000 s, sample WAV (audio player)");
    Measure(mp3, false, "AB loop 10.000-11.000 s, sample MP3 (video window's player)");
    Measure(wav, true, "between-bookmarks loop 10.000-11.000 s, sample WAV (audio player)");
    Measure(mp3, true, "between-bookmarks loop 10.000-11.000 s, sample MP3 (video window's player)");
    return 0;
}
