#include "ProgramFixture.h"

#include "playback/Volume.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

namespace {

class VolumeTest : public ProgramTest {
protected:
    TrackBar *slider() { return form().TrackBarVolume; }
    QString label() { return form().LabelVolProz->text(); }
    int lastApplied() { return program->volume().lastShownLevel(); }
    // One display refresh, which runs the volume follow.
    void refresh() { clock.advance(100); }

    void mouse(QWidget *w, QEvent::Type type, int x)
    {
        const QPointF at(x, w->height() / 2);
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    void click(QWidget *w, int x)
    {
        mouse(w, QEvent::MouseButtonPress, x);
        mouse(w, QEvent::MouseButtonRelease, x);
    }
};

} // namespace

TEST_F(VolumeTest, SliderAppliesItsLevelThroughTheMixerOrTheSystemVolume)
{
    start();
    EXPECT_EQ(label(), "0%");
    EXPECT_EQ(lastApplied(), -1);

    slider()->setValue(40);
    EXPECT_EQ(label(), "40%");
    EXPECT_EQ(mixer.value, 40);
    EXPECT_EQ(mixer.sets, 1);
    EXPECT_EQ(masterVolume.sets, 0);
    EXPECT_EQ(lastApplied(), 40);
    EXPECT_TRUE(form().Timer2->isActive()); // the display refresh runs on after the change

    // Whole percentages stay whole (29 ÷ 100 × 100 in floating point is 28.999…).
    slider()->setValue(29);
    EXPECT_EQ(label(), "29%");
    EXPECT_EQ(mixer.value, 29);

    // With every file in the external player the system's volume is driven instead.
    form().NMPC->setChecked(true);
    slider()->setValue(70);
    EXPECT_EQ(masterVolume.value, 70);
    EXPECT_EQ(masterVolume.sets, 1);
    EXPECT_EQ(mixer.value, 29);
    EXPECT_EQ(program->volume().GetVolumeLevel(), 70);
    form().NMPC->setChecked(false);
    EXPECT_EQ(program->volume().GetVolumeLevel(), 29);
}

TEST_F(VolumeTest, FollowShowsLevelsSetElsewhereWithoutApplyingThem)
{
    start();
    refresh(); // the first reading is shown
    EXPECT_EQ(slider()->value(), 50);
    EXPECT_EQ(label(), "50%");
    EXPECT_EQ(mixer.sets, 0);

    form().NMPC->setChecked(true);
    masterVolume.value = 65;
    refresh();
    EXPECT_EQ(slider()->value(), 65);
    EXPECT_EQ(label(), "65%");
    EXPECT_EQ(masterVolume.sets, 0);
    EXPECT_EQ(slider()->tag, 0); // the display-only mark is used up

    // A level set here, changed elsewhere and changed back is shown each time.
    slider()->setValue(40);
    EXPECT_EQ(masterVolume.sets, 1);
    masterVolume.value = 60;
    refresh();
    EXPECT_EQ(slider()->value(), 60);
    masterVolume.value = 40;
    refresh();
    EXPECT_EQ(slider()->value(), 40);
    EXPECT_EQ(label(), "40%");
    EXPECT_EQ(masterVolume.sets, 1);

    // The user's next move after a followed one is applied.
    slider()->setValue(45);
    EXPECT_EQ(masterVolume.value, 45);
    EXPECT_EQ(masterVolume.sets, 2);
}

TEST_F(VolumeTest, DisplayOnlyMovesApplyNothing)
{
    start();
    slider()->tag = 33;
    slider()->setValue(30);
    EXPECT_EQ(label(), "30%");
    EXPECT_EQ(mixer.sets, 0);
    EXPECT_EQ(slider()->tag, 0);
    slider()->setValue(31);
    EXPECT_EQ(mixer.value, 31);

    // A level beyond the scale puts the slider at its end and leaves no display-only mark
    // behind to swallow the next move.
    slider()->setValue(100);
    mixer.value = 150;
    refresh();
    EXPECT_EQ(slider()->value(), 100);
    EXPECT_EQ(slider()->tag, 0);
    slider()->setValue(80);
    EXPECT_EQ(mixer.value, 80);
}

TEST_F(VolumeTest, WithoutMixerTheSliderMovesAndNothingElseHappens)
{
    start();
    slider()->setValue(30);
    ASSERT_EQ(lastApplied(), 30);

    mixer.present = false;
    slider()->setValue(40);
    EXPECT_EQ(slider()->value(), 40);
    EXPECT_EQ(label(), "40%");
    EXPECT_EQ(lastApplied(), 30);
    refresh(); // an unreadable level is not followed
    EXPECT_EQ(slider()->value(), 40);
    EXPECT_EQ(mixer.sets, 1);
    EXPECT_EQ(masterVolume.sets, 0);
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(VolumeTest, ClickPutsTheThumbWhereItLandsWithMarginsAtTheEnds)
{
    start();
    const int w = slider()->width();
    ASSERT_GT(w, 30);
    slider()->setValue(50);

    mouse(slider(), QEvent::MouseButtonPress, 0);
    EXPECT_EQ(slider()->value(), 0);
    EXPECT_EQ(mixer.value, 0);
    mouse(slider(), QEvent::MouseButtonRelease, 0);

    mouse(slider(), QEvent::MouseButtonPress, w - 1);
    EXPECT_EQ(slider()->value(), 100);
    EXPECT_EQ(label(), "100%");
    EXPECT_EQ(mixer.value, 100);
    mouse(slider(), QEvent::MouseButtonRelease, w - 1);

    // Between the margins: 7 pixels in is the start and 9 pixels short of the end the top.
    mouse(slider(), QEvent::MouseButtonPress, 12);
    EXPECT_EQ(slider()->value(), 5 * 100 / (w - 16));
    mouse(slider(), QEvent::MouseButtonRelease, 12);
    mouse(slider(), QEvent::MouseButtonPress, w - 14);
    EXPECT_EQ(slider()->value(), (w - 21) * 100 / (w - 16));
    mouse(slider(), QEvent::MouseButtonRelease, w - 14);

    // A click moves the slider as the user's own move, even right after a followed one.
    slider()->tag = 33;
    mouse(slider(), QEvent::MouseButtonPress, 0);
    EXPECT_EQ(mixer.value, 0);
}

TEST_F(VolumeTest, TickScaleReappliesTheSlidersLevel)
{
    start();
    slider()->setValue(40);
    mixer.value = 10; // changed elsewhere
    form().TrackBar3->setValue(5);
    EXPECT_EQ(mixer.value, 40);
    EXPECT_EQ(mixer.sets, 2);
    EXPECT_EQ(label(), "40%");
}

TEST_F(VolumeTest, LoudspeakerClickShowsTheSoundAdvice)
{
    start();
    click(form().Image1, 2);
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0],
              QStringLiteral("ВНИМАНИЕ !!!|При проблемах со звуком посмотрите в системе регулировку Wave, так как "
                             "Winamp может убрать ее на НОЛЬ. Или зайдите в Winamp и выставьте на 100%"));
    EXPECT_EQ(mixer.sets, 0);
}
