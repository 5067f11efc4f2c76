#include "ProgramFixture.h"

#include "widgets/Controls.h"
#include "app/MediaOpener.h"
#include "automation/AutoPause.h"
#include "playback/PlayerFacade.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

class AutoPauseTest : public ProgramTest {
protected:
    void open(Engine engine)
    {
        forgetSettings();
        start();
        const QString path = mediaFile(engine == Engine::Mci ? QStringLiteral("a.wav") : QStringLiteral("a.mp3"));
        mci.lengths[path] = wmp.lengths[path] = 600000;
        if (engine == Engine::Mpc) {
            // A scripted external player that reports whatever it is told to do.
            form().NMPC->setChecked(true);
            form().MPCHC->PlayerPath = mediaFile(QStringLiteral("mpv"));
            mpc.onStart = [this] {
                mpc.onReport(Mpc::RepConnect, {}, 9);
                mpc.onReport(Mpc::RepLoadState, QStringLiteral("2"), 9);
                mpc.onReport(Mpc::RepNowPlaying, QStringLiteral("||||600"), 9);
            };
            mpc.onSend = [this](std::uint32_t code, const QString &text) {
                if (code == Mpc::CmdPlay) mpc.onReport(Mpc::RepPlayMode, QStringLiteral("0"), 9);
                if (code == Mpc::CmdPause) mpc.onReport(Mpc::RepPlayMode, QStringLiteral("1"), 9);
                if (code == Mpc::CmdSetPosition) mpc.onReport(Mpc::RepNotifySeek, text, 9);
            };
        }
        program->session().PendingMediaPath = path;
        program->opener().OpenMediaFile();
        ASSERT_EQ(program->player().ActiveEngine(), engine);
    }
    PlayerFacade &player() { return program->player(); }
    void playFrom(int ms)
    {
        player().SetPositionMs(ms);
        player().Play();
    }
};

} // namespace

TEST_F(AutoPauseTest, StepBackAndPauseThenPlayOnAfterThePause)
{
    open(Engine::Mci);
    form().UpDown2->setPosition(10);
    form().CheckBox1->setChecked(true); // the first period counts from now
    playFrom(0);
    clock.advance(9990);
    EXPECT_EQ(player().PlayState(), 3);
    clock.advance(10);
    EXPECT_EQ(player().PlayState(), 2);
    EXPECT_EQ(player().PositionMs(), 9000); // one second back
    EXPECT_TRUE(form().TimerPause->isActive());
    EXPECT_FALSE(form().TimerPeriod->isActive());
    clock.advance(4000); // "пауза" of 4 s, then on again with a new period
    EXPECT_EQ(player().PlayState(), 3);
    EXPECT_TRUE(form().TimerPeriod->isActive());
    clock.advance(10000);
    EXPECT_EQ(player().PlayState(), 2);
    EXPECT_EQ(player().PositionMs(), 18000);
}

TEST_F(AutoPauseTest, WaitingUntilTheUserResumes)
{
    open(Engine::Mci);
    form().UpDown2->setPosition(5);
    form().RadioButton1->setChecked(true); // "ожидание"
    form().CheckBox1->setChecked(true);
    playFrom(0);
    clock.advance(5000);
    EXPECT_EQ(player().PlayState(), 2);
    clock.advance(60000);
    EXPECT_EQ(player().PlayState(), 2);
    EXPECT_FALSE(form().TimerPeriod->isActive());
    player().ButtonClick(MediaButtonBar::Play); // resumes, and a full new period begins
    EXPECT_TRUE(form().TimerPeriod->isActive());
    clock.advance(4990);
    EXPECT_EQ(player().PlayState(), 3);
}

TEST_F(AutoPauseTest, StepBackNearTheStartAndInWholeSeconds)
{
    struct Case {
        Engine engine;
        int at, pausedAt;
    };
    // The external player and the video window step to a whole second; the audio player is exact.
    for (const Case &c :
         {Case{Engine::Mci, 600, 0}, Case{Engine::Wmp, 600, 0}, Case{Engine::Mpc, 600, 0},
          Case{Engine::Mci, 65700, 64700}, Case{Engine::Wmp, 65700, 64000}, Case{Engine::Mpc, 65700, 64000}}) {
        SCOPED_TRACE(QStringLiteral("engine %1 at %2").arg(int(c.engine)).arg(c.at).toStdString());
        open(c.engine);
        form().CheckBox1->setChecked(true);
        playFrom(c.at);
        program->autoPause().TimerPeriodTimer(); // the period ends here
        EXPECT_EQ(player().PlayState(), 2);
        EXPECT_EQ(player().PositionMs(), c.pausedAt);
        program.reset();
    }
}

TEST_F(AutoPauseTest, PeriodZeroNeverPausesAndSeeksStartANewPeriod)
{
    open(Engine::Mci);
    form().UpDown2->setPosition(0);
    form().CheckBox1->setChecked(true);
    playFrom(0);
    clock.advance(30000);
    EXPECT_EQ(player().PlayState(), 3);

    form().UpDown2->setPosition(10);
    clock.advance(6000);
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(1000); // a seek mid-period: a full new period
    clock.advance(9990);
    EXPECT_EQ(player().PlayState(), 3);
    clock.advance(10);
    EXPECT_EQ(player().PlayState(), 2);
}

TEST_F(AutoPauseTest, PausedByTheUserMidPeriodThenThePauseStillResumes)
{
    open(Engine::Mci);
    form().UpDown2->setPosition(10);
    form().CheckBox1->setChecked(true);
    playFrom(20000);
    clock.advance(5000);
    player().Pause();
    clock.advance(5000); // the period ends: nothing to step back or pause
    EXPECT_EQ(player().PositionMs(), 25000);
    EXPECT_TRUE(form().TimerPause->isActive());
    form().UpDown3->setPosition(6); // a new pause length starts the pause over
    clock.advance(5990);
    EXPECT_EQ(player().PlayState(), 2);
    clock.advance(10);
    EXPECT_EQ(player().PlayState(), 3);

    form().CheckBox1->setChecked(false);
    EXPECT_FALSE(form().TimerPeriod->isActive());
    EXPECT_FALSE(form().Edit2->isEnabled());
}
