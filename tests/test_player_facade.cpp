#include "EngineFixture.h"

#include "widgets/Controls.h"
#include "app/MediaOpener.h"
#include "playback/PlayerFacade.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

using FacadeTest = EngineTest;

TEST(PlayerFacadeRules, ClickPositionMargins)
{
    EXPECT_EQ(PlayerFacade::ClickPosition(3, 770, 0, 60000), 0);
    EXPECT_EQ(PlayerFacade::ClickPosition(11, 770, 0, 60000), 0);
    EXPECT_EQ(PlayerFacade::ClickPosition(760, 770, 0, 60000), 60000);
    EXPECT_EQ(PlayerFacade::ClickPosition(384, 770, 0, 60000), 30000);
    EXPECT_EQ(PlayerFacade::ClickPosition(384, 770, 1000, 61000), 31000);
    // Three hours of milliseconds times a wide bar must not overflow.
    EXPECT_EQ(PlayerFacade::ClickPosition(1907, 1916, 0, 10800000), 10800000);
}

TEST(PlayerFacadeRules, PositionHint)
{
    EXPECT_EQ(PlayerFacade::PositionHint(70500, 65250, false), " 00:01:10.500   t+00:00:05.250");
    EXPECT_EQ(PlayerFacade::PositionHint(1000, 65250, false), " 00:00:01.000   t-00:01:04.250");
    // The external player works in tenths of a second.
    EXPECT_EQ(PlayerFacade::PositionHint(70537, 65250, true), " 00:01:10.500   t+00:00:05.300");
}

TEST_F(FacadeTest, DisplayTagSwallowsOneChangeAndSameValueNotifiesNothing)
{
    start();
    openIn(Engine::Mci);
    seekUser(5000);
    EXPECT_EQ(mci.Position(), 5000);
    form().TrackBar1->tag = SeekDisplay;
    form().TrackBar1->setValue(5000); // same value: no notification, the tag stays
    EXPECT_EQ(form().TrackBar1->tag, SeekDisplay);
    form().TrackBar1->setValue(7000); // consumed by the display tag: no seek
    EXPECT_EQ(mci.Position(), 5000);
    EXPECT_EQ(form().TrackBar1->tag, SeekUser);
    form().TrackBar1->setValue(8000);
    EXPECT_EQ(mci.Position(), 8000);
    EXPECT_EQ(form().Label1->text(), "00:00:08");
    EXPECT_EQ(form().Label11->text(), "000");
}

TEST_F(FacadeTest, UserSeeksRearmTheBookmarkLoopAndLoopSeeksDoNot)
{
    start();
    openIn(Engine::Mci);
    QStringList log;
    QObject::connect(&program->player(), &PlayerFacade::bookmarkLoopRestart, [&log] { log << QStringLiteral("8"); });
    form().CheckBox8->setChecked(true);
    log.clear();
    form().UpDown6->setPosition(3);
    program->loop().BookmarkRepeatsLeft = 0;
    form().CheckBox1->setChecked(true);

    seekUser(1000);
    EXPECT_EQ(program->loop().BookmarkRepeatsLeft, 3);
    EXPECT_EQ(log, QStringList({"8"}));
    EXPECT_TRUE(form().TimerPeriod->isActive());

    program->loop().BookmarkRepeatsLeft = 1;
    form().TrackBar1->tag = SeekLoop;
    form().TrackBar1->setValue(2000);
    EXPECT_EQ(mci.Position(), 2000);
    EXPECT_EQ(program->loop().BookmarkRepeatsLeft, 1);
    EXPECT_EQ(log, QStringList({"8"}));
    EXPECT_EQ(form().TrackBar1->tag, SeekLoop); // stays until code sets it again

    program->loop().LoopPaused = true; // a paused loop start keeps its count
    seekUser(3000);
    EXPECT_EQ(program->loop().BookmarkRepeatsLeft, 1);
}

TEST_F(FacadeTest, SeekWhilePlayingKeepsPlayingOnEveryEngine)
{
    for (Engine engine : {Engine::Mci, Engine::Wmp, Engine::Mpc}) {
        start();
        openIn(engine);
        player().Play();
        clock.advance(500);
        seekUser(20000);
        EXPECT_EQ(player().PlayState(), 3) << int(engine);
        clock.advance(1000);
        EXPECT_NEAR(player().PositionMs(), 21000, engine == Engine::Mpc ? 60 : 1) << int(engine);
        program.reset();
    }
}

TEST_F(FacadeTest, RefreshShowsThePositionWithoutSeeking)
{
    start();
    openIn(Engine::Wmp);
    player().Play();
    clock.advance(1000); // Timer2 ran ten times
    EXPECT_EQ(form().TrackBar1->value(), 1000);
    // The display tag was consumed by the bar's change, which sought nothing.
    EXPECT_EQ(form().TrackBar1->tag, SeekUser);
    EXPECT_TRUE(form().Timer2->isActive());
    EXPECT_EQ(player().PositionMs(), 1000);
}

TEST_F(FacadeTest, ToggleAfterStopContinuesFromTheBarOnTheAudioPlayer)
{
    start();
    openIn(Engine::Mci);
    player().Play();
    clock.advance(3000);
    player().Stop();
    form().TrackBar1->tag = SeekDisplay;
    form().TrackBar1->setValue(10000); // the bar shows another place than the player
    EXPECT_EQ(mci.Position(), 3000);
    player().TogglePlayPause();
    EXPECT_EQ(mci.Mode(), mpPlaying);
    EXPECT_EQ(mci.Position(), 10000);
    player().TogglePlayPause();
    EXPECT_EQ(mci.Mode(), mpPaused);
    player().TogglePlayPause();
    EXPECT_EQ(mci.Mode(), mpPlaying);
}

TEST_F(FacadeTest, StepsPastTheEndsOnEveryEngine)
{
    for (Engine engine : {Engine::Mci, Engine::Wmp, Engine::Mpc}) {
        SCOPED_TRACE(int(engine));
        start();
        openIn(engine);
        form().UpDown1->setPosition(10);
        player().SetPositionMs(55000);
        player().StepForward(); // past the end: to the start, stopped
        EXPECT_EQ(player().PositionMs(), 0);
        EXPECT_EQ(player().PlayState(), 1);

        player().SetPositionMs(20000);
        int seeks = 0;
        QObject::connect(&player(), &PlayerFacade::seeked, [&seeks] { ++seeks; });
        player().StepForward();
        EXPECT_EQ(player().PositionMs(), 30000);
        EXPECT_EQ(player().PlayState(), 1);
        EXPECT_EQ(seeks, 1); // one step, one seek for the media-player interface

        player().SetPositionMs(5000);
        player().StepBack(); // past the start: to the start, playing
        EXPECT_EQ(player().PlayState(), 3);
        EXPECT_LE(player().PositionMs(), 60);

        clock.advance(2000);
        player().StepBack(); // while playing: back by the step, still playing
        EXPECT_EQ(player().PlayState(), 3);
        program.reset();
    }
}

TEST_F(FacadeTest, NextAndPrevButtons)
{
    start();
    openIn(Engine::Wmp);
    player().Play();
    player().ButtonClick(MediaButtonBar::Next);
    EXPECT_EQ(player().PlayState(), 2);
    EXPECT_EQ(player().PositionMs(), 60000);
    player().ButtonClick(MediaButtonBar::Prev);
    EXPECT_EQ(player().PlayState(), 1);
    EXPECT_EQ(player().PositionMs(), 0);
    player().ButtonClick(MediaButtonBar::Play);
    EXPECT_EQ(player().PlayState(), 3);
    EXPECT_TRUE(form().TimerPlayNoRefrN->isActive());
}

TEST_F(FacadeTest, PlayAfterTheUserClosedTheExternalPlayerStartsItAgain)
{
    start();
    openIn(Engine::Mpc);
    ASSERT_EQ(mpc.starts.size(), 1);
    external->report(Mpc::RepLoadState, QStringLiteral("0")); // the user closed the file
    external->report(Mpc::RepDisconnect, {});
    EXPECT_EQ(form().MPCHC->PlayerWindow, 0);
    player().ButtonClick(MediaButtonBar::Play);
    ASSERT_EQ(mpc.starts.size(), 2);
    EXPECT_TRUE(mpc.starts[1].contains(QStringLiteral("a.mp3")));
    EXPECT_EQ(player().PlayState(), 3);
}

TEST_F(FacadeTest, MouseOnThePositionBar)
{
    start();
    openIn(Engine::Mci);
    TrackBar *bar = form().TrackBar1;
    bar->resize(770, 20);
    const auto press = [bar](Qt::MouseButton button, int x) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, 5), bar->mapToGlobal(QPointF(x, 5)), button, button,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &e);
    };
    press(Qt::LeftButton, 384);
    EXPECT_EQ(mci.Position(), 29999); // halfway along 0 … 59999
    press(Qt::RightButton, 100);
    EXPECT_EQ(mci.Mode(), mpPlaying);
    EXPECT_EQ(mci.Position(), 29999); // a right click toggles, it does not seek
    QMouseEvent move(QEvent::MouseMove, QPointF(760, 5), bar->mapToGlobal(QPointF(760, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &move);
    EXPECT_EQ(bar->toolTip(), " 00:00:59.999   t+00:00:30.000");
    QMouseEvent label(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(form().Label5, &label);
    EXPECT_EQ(mci.Mode(), mpPaused);
}
