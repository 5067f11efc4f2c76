#include "ProgramFixture.h"

#include "playback/TFormWMP.h"

#include <QAction>
#include <QCheckBox>
#include <QResizeEvent>
#include <QScreen>
#include <QToolButton>

TEST_F(ProgramTest, ShowVideoWindowKeepsItOnTheScreen)
{
    start();
    TFormWMP &video = *program->FormWMP();
    video.hide(); // shown at the first start
    program->session().VideoFlag = false;
    form().SpeedButton8->click(); // the audio player has no picture
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0], "Внимание!|Данный файл *.wav открыт не в видеопроигрывателе.");
    EXPECT_FALSE(video.isVisible());

    program->session().VideoFlag = true;
    form().N24->trigger(); // centred at the first showing
    EXPECT_LE((video.geometry().center() - video.screen()->geometry().center()).manhattanLength(), 4);
    video.setGeometry(100, 100, 600, 400);
    form().N24->trigger();
    EXPECT_TRUE(video.isVisible());
    EXPECT_EQ(video.geometry(), QRect(100, 100, 600, 400));

    video.hide();
    video.setGeometry(3000, 100, 600, 400); // left on a monitor that is gone
    form().SpeedButton8->click();
    EXPECT_EQ(video.geometry(), QRect(0, 400, 450, 400));
    video.setGeometry(100, 2, 600, 400); // the title bar above the screen
    form().SpeedButton8->click();
    EXPECT_EQ(video.geometry(), QRect(0, 400, 450, 400));
}

TEST_F(ProgramTest, VideoWindowRedrawsOnceAfterTheLastResize)
{
    start();
    form().show();
    TFormWMP &video = *program->FormWMP();
    video.show();
    int redraws = 0;
    video.Timer1->onTimeout = [&] {
        ++redraws;
        video.Timer1Timer();
    };
    for (int i = 0; i < 10; ++i) {
        video.resize(500 + i * 10, 400);
        clock.advance(100);
    }
    EXPECT_EQ(redraws, 0);
    clock.advance(150);
    EXPECT_EQ(redraws, 1);
    clock.advance(1000);
    EXPECT_EQ(redraws, 1);

    // While the main window is hidden the redraw waits for it.
    form().hide();
    video.resize(640, 480);
    clock.advance(1000);
    EXPECT_EQ(redraws, 5);
    EXPECT_TRUE(video.Timer1->isActive());
    form().show();
    clock.advance(250);
    EXPECT_FALSE(video.Timer1->isActive());
}

TEST_F(ProgramTest, VideoOnTopFollowsTheOption)
{
    start();
    TFormWMP &video = *program->FormWMP();
    video.hide();
    form().CheckBox11->setChecked(true); // hidden video: nothing changes yet
    EXPECT_FALSE(video.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form().CheckBox11->setChecked(false);
    video.setGeometry(50, 60, 500, 300);
    video.show();
    form().CheckBox11->setChecked(true);
    EXPECT_TRUE(video.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(video.isVisible());
    EXPECT_EQ(video.geometry(), QRect(50, 60, 500, 300));
    form().CheckBox11->setChecked(false);
    EXPECT_FALSE(video.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}
