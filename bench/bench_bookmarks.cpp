// The cost of the main tick and of the bookmark operations with 1000 bookmarks in the table
// (test doubles of the player on a virtual clock, so only the program's own work is timed).
#include "BenchUtil.h"
#include "doubles/FakeScrollLock.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordingMpcTransport.h"
#include "doubles/FakeDesktop.h"

#include "widgets/Controls.h"
#include "app/MediaOpener.h"
#include "app/Program.h"
#include "forms/TForm1.h"
#include "automation/MainTick.h"
#include "marks/BookmarkNavigator.h"
#include "marks/TForm2.h"
#include "platform/ScrollLock.h"
#include "platform/SoundPlayer.h"
#include "platform/UserMessages.h"
#include "doubles/VirtualClock.h"
#include "doubles/FakeEngines.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <functional>

namespace {

std::vector<double> Time(int rounds, const std::function<void(int)> &work)
{
    std::vector<double> us;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        work(i);
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
    }
    return us;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir home;
    qputenv("STENOVA_HOME", home.path().toUtf8());
    VirtualClock clock;
    FakeScrollLock scrollLock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    FakeMci mci(clock);
    FakeWmp wmp(clock);
    const QString media = home.filePath(QStringLiteral("long.wav"));
    QFile(media).open(QIODevice::WriteOnly);
    mci.lengths[media] = 3 * 3600 * 1000;
    Program program({clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
                    {QStringLiteral("stenova")});
    TForm1 &f = *program.Form1();
    f.TrackBar1->resize(770, 20);
    program.session().PendingMediaPath = media;
    program.opener().OpenMediaFile();
    BookmarkNavigator &nav = program.bookmarks();
    const auto seekTo = [&](int ms) {
        f.TrackBar1->tag = SeekUser;
        f.TrackBar1->setValue(ms);
    };

    // 1000 bookmarks, ten seconds apart, added in a shuffled order so each add sorts.
    std::vector<double> addCost;
    for (int i = 0; i < 1000; ++i) {
        seekTo(((i * 7919) % 1000) * 10000 + 5000);
        QElapsedTimer t;
        t.start();
        nav.BitBtn1Click();
        addCost.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
    }
    std::printf("bookmarks in the table: %d\n", program.Form2()->StringGrid1.rowCount() - 1);
    PrintStats("add a bookmark (table growing to 1000)", addCost, "us");

    f.CheckBox8->setChecked(true);
    f.CheckBox7->setChecked(true);
    program.Form2()->CheckBoxOZ->setChecked(true);
    seekTo(5000000);
    program.player().Play();
    f.Timer1->stop(); // ticks are run by hand below
    std::vector<double> tick = Time(2000, [&](int) {
        clock.sleepMs(10);
        program.mainTick().Timer1Timer();
    });
    PrintStats("one main tick, playing, loops and tracking on", tick, "us");
    seekTo(100);
    std::vector<double> jump = Time(200, [&](int i) {
        clock.sleepMs(10);
        if (i % 2) seekTo(9000000 - i * 1000);
        else seekTo(100 + i * 1000); // the tracked row has to be searched for
        program.mainTick().Timer1Timer();
    });
    PrintStats("one main tick after a jump (bookmark search)", jump, "us");

    program.player().Pause();
    seekTo(5000000);
    PrintStats("back to a bookmark (paused)", Time(500, [&](int) { nav.BitBtn3Click(); }), "us");
    PrintStats("forward to a bookmark", Time(500, [&](int) { nav.BitBtn4Click(); }), "us");
    PrintStats("recompute the between-bookmarks segment", Time(500, [&](int) { nav.CheckBox8Click(); }), "us");
    return 0;
}
