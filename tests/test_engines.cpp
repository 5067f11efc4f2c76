// The in-process players on real libmpv (no sound output, no picture) with recordings made
// for the test.
#include "QtPrinters.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordingMpcTransport.h"
#include "doubles/FakeDesktop.h"
#include "TestMedia.h"

#include "widgets/Controls.h"
#include "app/MediaOpener.h"
#include "app/Program.h"
#include "forms/TForm1.h"
#include "platform/QtClock.h"
#include "platform/ScrollLock.h"
#include "platform/SoundPlayer.h"
#include "platform/UserMessages.h"
#include "playback/LibmpvEngines.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestWait.h"

namespace {

const MpvOptions Silent{{"ao", "null"}};

class Recordings : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        wav = MakeTestRecording(dir->path(), QStringLiteral("tone.wav"), 3.0);
        mp3 = MakeTestRecording(dir->path(), QStringLiteral("tone.mp3"), 3.0);
        mp4 = MakeTestRecording(dir->path(), QStringLiteral("clip.mp4"), 3.0);
        text = dir->filePath(QStringLiteral("notes.wav"));
        QFile f(text);
        f.open(QIODevice::WriteOnly);
        f.write("This is a text file, not a recording.\n");
    }
    static void TearDownTestSuite() { delete dir; }
    void SetUp() override { ASSERT_FALSE(wav.isEmpty() || mp3.isEmpty() || mp4.isEmpty()) << "ffmpeg failed"; }

    static inline QTemporaryDir *dir = nullptr;
    static inline QString wav, mp3, mp4, text;
    QtClock clock;
};

// The whole program on the real in-process players, in a folder of its own.
struct RealProgram {
    struct Home {
        Home() { qputenv("STENOVA_HOME", dir.path().toUtf8()); }
        ~Home() { qunsetenv("STENOVA_HOME"); }
        QTemporaryDir dir;
    };
    explicit RealProgram(QtClock &clock)
        : mci(clock, Silent), wmp(clock, false, Silent),
          program({clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
                  {QStringLiteral("stenova")})
    {
    }
    Home home; // first: the program's folder is set before the program exists
    NoScrollLock scrollLock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    LibmpvMci mci;
    LibmpvWmp wmp;
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    Program program;
};

} // namespace

TEST_F(Recordings, AudioPlayerModesAndPositions)
{
    LibmpvMci mci(clock, Silent);
    EXPECT_EQ(mci.Mode(), mpNotReady);
    QString error;
    ASSERT_TRUE(mci.Open(wav, &error)) << error.toStdString();
    EXPECT_EQ(mci.Mode(), mpStopped);
    EXPECT_EQ(mci.Length(), 3000);
    EXPECT_EQ(mci.Position(), 0);

    mci.Play();
    EXPECT_EQ(mci.Mode(), mpPlaying);
    ASSERT_TRUE(WaitFor([&] { return mci.Position() > 200; }));
    mci.Pause();
    EXPECT_EQ(mci.Mode(), mpPaused);
    // Not advancing while paused. The report settles within one audio step after the pause.
    clock.sleepMs(100);
    const int paused = mci.Position();
    clock.sleepMs(150);
    EXPECT_NEAR(mci.Position(), paused, 1);
    mci.Pause(); // pressing Pause again resumes
    EXPECT_EQ(mci.Mode(), mpPlaying);

    mci.SetPosition(1234); // seeking stops a playing player
    EXPECT_EQ(mci.Mode(), mpStopped);
    EXPECT_EQ(mci.Position(), 1234);
    mci.Play();
    mci.Stop(); // the position stays where it is
    EXPECT_EQ(mci.Mode(), mpStopped);
    EXPECT_GE(mci.Position(), 1234);

    // Exact seeks land on the millisecond.
    for (int target : {0, 1, 999, 1500, 2345, 2700}) {
        mci.SetPosition(target);
        EXPECT_EQ(mci.Position(), target);
    }

    // Playing into the end stops the player there.
    mci.SetPosition(2800);
    mci.Play();
    ASSERT_TRUE(WaitFor([&] { return mci.Mode() == mpStopped; }));
    EXPECT_GE(mci.Position(), 2950);
}

TEST_F(Recordings, AudioPlayerReportsFilesItCannotPlay)
{
    LibmpvMci mci(clock, Silent);
    QString error;
    EXPECT_FALSE(mci.Open(text, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(mci.Mode(), mpNotReady);
    EXPECT_FALSE(mci.Open(dir->filePath(QStringLiteral("missing.wav")), &error));
    // The player still works afterwards.
    ASSERT_TRUE(mci.Open(mp3, &error)) << error.toStdString();
    EXPECT_NEAR(mci.Length(), 3000, 60); // MP3 frames pad the end
}

TEST_F(Recordings, VideoPlayerStates)
{
    for (const QString &file : {mp3, mp4}) {
        SCOPED_TRACE(file.toStdString());
        LibmpvWmp wmp(clock, false, Silent);
        EXPECT_EQ(wmp.playState(), wmppsUndefined);
        wmp.setURL(file);
        wmp.play();
        wmp.pause();
        ASSERT_TRUE(WaitFor([&] { return wmp.playState() == wmppsPaused; }));
        EXPECT_TRUE(wmp.lastError().isEmpty());
        EXPECT_NEAR(wmp.duration(), 3.0, 0.1);

        wmp.play();
        EXPECT_EQ(wmp.playState(), wmppsPlaying);
        ASSERT_TRUE(WaitFor([&] { return wmp.currentPosition() > 0.2; }));
        wmp.setCurrentPosition(1.5); // the play state does not change
        EXPECT_EQ(wmp.playState(), wmppsPlaying);
        wmp.pause();
        wmp.setCurrentPosition(2.25);
        // With a picture the position is the frame's time (25 frames a second here).
        EXPECT_NEAR(wmp.currentPosition(), 2.25, file == mp4 ? 0.041 : 0.001);
        wmp.stop();
        EXPECT_EQ(wmp.playState(), wmppsStopped);
        EXPECT_NEAR(wmp.currentPosition(), 0, 0.001);
    }
}

TEST_F(Recordings, VideoPlayerReportsFilesItCannotPlay)
{
    LibmpvWmp wmp(clock, false, Silent);
    wmp.setURL(text);
    ASSERT_TRUE(WaitFor([&] { return !wmp.lastError().isEmpty(); }));
    EXPECT_EQ(wmp.playState(), wmppsUndefined);
    wmp.setURL(mp3);
    ASSERT_TRUE(WaitFor([&] { return wmp.duration() > 1; }));
    EXPECT_TRUE(wmp.lastError().isEmpty());
}

// The whole open operation and the player facade on the real players.
TEST_F(Recordings, OpeningAndSeekingThroughTheProgram)
{
    RealProgram real(clock);
    RecordedMessages &messages = real.messages;
    Program &program = real.program;
    TForm1 &form = *program.Form1();
    PlayerFacade &player = program.player();

    struct Case {
        QString file;
        Engine engine;
        const char *length;
    };
    for (const Case &c :
         {Case{wav, Engine::Mci, "00:00:03.000"}, Case{mp3, Engine::Wmp, nullptr}, Case{mp4, Engine::Wmp, nullptr}}) {
        SCOPED_TRACE(c.file.toStdString());
        program.session().PendingMediaPath = c.file;
        program.opener().OpenMediaFile();
        EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join('\n').toStdString();
        EXPECT_EQ(player.ActiveEngine(), c.engine);
        if (c.length) {
            EXPECT_EQ(form.Label5->text(), c.length);
        }
        EXPECT_NEAR(player.LengthMs(), 3000, 60);
        EXPECT_EQ(form.TrackBar1->maximum(), player.LengthMs() - 1);

        form.TrackBar1->tag = SeekUser;
        form.TrackBar1->setValue(1777);
        EXPECT_NEAR(player.PositionMs(), 1777, c.file == mp4 ? 40 : 1);
        player.Play();
        EXPECT_EQ(player.PlayState(), 3);
        ASSERT_TRUE(WaitFor([&] { return player.PositionMs() > 1900; }));
        player.Pause();
        EXPECT_EQ(player.PlayState(), 2);
    }

    program.session().PendingMediaPath = text;
    program.opener().OpenMediaFile();
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(text));
}

// The main tick on the real audio player in real time: an AB interval played three times,
// then playback runs on.
TEST_F(Recordings, IntervalLoopOnTheRealPlayer)
{
    RealProgram real(clock);
    LibmpvMci &mci = real.mci;
    const QString longer = MakeTestRecording(dir->path(), QStringLiteral("six.wav"), 6.0);
    Program &program = real.program;
    TForm1 &form = *program.Form1();
    program.session().PendingMediaPath = longer;
    program.opener().OpenMediaFile();
    form.MaskEdit1->setText(QStringLiteral("00:00:01.000"));
    form.MaskEdit2->setText(QStringLiteral("00:00:02.000"));
    form.UpDown7->setPosition(3);
    form.CheckBox7->setChecked(true);
    form.TrackBar1->tag = SeekUser;
    form.TrackBar1->setValue(1000);
    program.player().Play();

    int rewinds = 0, previous = mci.Position(), lowest = 6000;
    ASSERT_TRUE(WaitFor(
        [&] {
            const int now = mci.Position();
            if (now < previous - 500) { // a rewind, not the jitter of a busy machine
                ++rewinds;
                lowest = std::min(lowest, now);
            }
            previous = now;
            return now > 2500;
        },
        8000));
    EXPECT_EQ(rewinds, 2);
    EXPECT_GE(lowest, 1000); // back to A, never before it
    EXPECT_LT(lowest, 1100);
    EXPECT_EQ(mci.Mode(), mpPlaying);
}
