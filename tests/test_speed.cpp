// Playback speed on the test players and the virtual clock: the box, the hot keys, the
// media-player interface's rate, the speed kept with each file, and the rules that stay in
// media time at any speed.
#include "EngineFixture.h"

#include "app/MediaSettingsFile.h"
#include "automation/KeyCapture.h"
#include "base/KeyCodes.h"
#include "persist/IniFile.h"
#include "playback/Mpris.h"
#include "widgets/Controls.h"
#include "widgets/SpeedBox.h"

#include <QCheckBox>
#include <QLineEdit>

TEST(SpeedBoxTest, StepsByATenthWithinHalfToDoubleAndTakesTypedSpeedsBeyond)
{
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(1.0, 1), 1.1);
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(1.0, -3), 0.7);
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(2.0, 1), 2.0);
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(0.5, -1), 0.5);
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(1.9, 5), 2.0);
    // A typed speed outside the stepping band: a step goes towards it, never further out.
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(2.5, 1), 2.5);
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(2.5, -1), 2.4);
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(0.3, 1), 0.4);
    EXPECT_DOUBLE_EQ(SpeedBox::stepped(0.3, -1), 0.3);

    SpeedBox box;
    EXPECT_EQ(box.text(), QStringLiteral("1.0×"));
    box.stepBy(4);
    EXPECT_DOUBLE_EQ(box.value(), 1.4);
    box.setValue(3.7);
    EXPECT_DOUBLE_EQ(box.value(), 3.0);
    box.setValue(0.1);
    EXPECT_DOUBLE_EQ(box.value(), 0.3);
    box.findChild<QLineEdit *>()->setText(QStringLiteral("2.7×"));
    box.interpretText();
    EXPECT_DOUBLE_EQ(box.value(), 2.7);
}

namespace {

class SpeedTest : public EngineTest, public ::testing::WithParamInterface<Engine> {
protected:
    void SetUp() override
    {
        forgetSettings();
        start();
    }
    // Media positions seen over a stretch of wall time, and how often the position went back.
    int rewindsOver(int ms)
    {
        int rewinds = 0, previous = player().PositionMs();
        for (int t = 0; t < ms; t += 10) {
            clock.advance(10);
            const int now = player().PositionMs();
            if (now < previous - 100) ++rewinds;
            previous = now;
        }
        return rewinds;
    }
};

} // namespace

// The AB loop with count 2 plays the interval twice, then runs on, at every speed and on every
// player: the loop counts media time, however fast it passes.
TEST_P(SpeedTest, IntervalWithCountTwoPlaysTwiceAtEverySpeed)
{
    openIn(GetParam());
    for (double speed : {0.5, 1.0, 2.0}) {
        SCOPED_TRACE(speed);
        form().SpinSpeed->setValue(speed);
        form().MaskEdit1->setText(QStringLiteral("00:00:05.000"));
        form().MaskEdit2->setText(QStringLiteral("00:00:07.000"));
        form().CheckBox7->setChecked(true);
        form().UpDown7->setPosition(2);
        program->loop().ABRepeatsLeft = 2;
        seekUser(5000);
        player().Play();
        // Two passes of 2 media seconds and a little more, in wall time at this speed.
        EXPECT_EQ(rewindsOver(static_cast<int>(4600 / speed)), 1);
        EXPECT_GT(player().PositionMs(), 7000);
        player().Pause();
        clock.advance(400);
    }
}

// ESC's stop steps back one media second at any speed; the time played is media time too.
TEST_P(SpeedTest, EscStepBackIsOneMediaSecondAtAnySpeed)
{
    openIn(GetParam());
    form().CheckBox3->setChecked(true);
    form().CheckBox4->setChecked(true);
    desktop.addWindow(100, 101);
    desktop.activate(100, 101);
    for (double speed : {0.5, 2.0}) {
        SCOPED_TRACE(speed);
        form().SpinSpeed->setValue(speed);
        seekUser(10000);
        const auto esc = [this] {
            desktop.press(VK::Esc);
            clock.advance(100);
            desktop.release(VK::Esc);
        };
        esc();
        ASSERT_EQ(player().PlayState(), 3);
        const int from = player().PositionMs();
        clock.advance(2000);
        const int reached = player().PositionMs();
        EXPECT_NEAR(reached - from, 2000 * speed, 60);
        esc();
        EXPECT_NE(player().PlayState(), 3);
        // It stops 51 ms after the press (the poll and the executor), and goes one second back.
        EXPECT_NEAR(player().PositionMs(), reached + 51 * speed - 1000, 30);
        clock.advance(400); // past the lock-out
    }
}

INSTANTIATE_TEST_SUITE_P(OnEachPlayer, SpeedTest, ::testing::Values(Engine::Mci, Engine::Wmp, Engine::Mpc),
                         [](const auto &info) {
                             return std::string(info.param == Engine::Mci   ? "AudioPlayer"
                                                : info.param == Engine::Wmp ? "VideoWindowPlayer"
                                                                            : "ExternalPlayer");
                         });

namespace {
class SpeedControlTest : public EngineTest {
protected:
    void SetUp() override
    {
        forgetSettings();
        start();
    }
};
} // namespace

TEST_F(SpeedControlTest, HotKeysStepTheSpeedAndTheBoxShowsIt)
{
    openIn(Engine::Mci);
    for (int i = 0; i < 3; ++i) desktop.hotKey(ModCtrl | ModAlt, VK::Equal);
    EXPECT_DOUBLE_EQ(player().Speed(), 1.3);
    EXPECT_EQ(form().SpinSpeed->text(), QStringLiteral("1.3×"));
    for (int i = 0; i < 20; ++i) desktop.hotKey(ModCtrl | ModAlt, VK::Equal);
    EXPECT_DOUBLE_EQ(player().Speed(), 2.0);
    for (int i = 0; i < 20; ++i) desktop.hotKey(ModCtrl | ModAlt, VK::Minus);
    EXPECT_DOUBLE_EQ(player().Speed(), 0.5);
    // The player plays at it: 1 s of wall time is half a media second.
    player().Play();
    const int from = player().PositionMs();
    clock.advance(1000);
    EXPECT_NEAR(player().PositionMs() - from, 500, 30);
}

TEST_F(SpeedControlTest, TheMediaPlayerInterfaceReadsAndSetsTheRate)
{
    openIn(Engine::Mci);
    QObject *adaptor = program->mpris().findChild<MprisPlayerAdaptor *>();
    ASSERT_NE(adaptor, nullptr);
    EXPECT_DOUBLE_EQ(adaptor->property("MinimumRate").toDouble(), 0.3);
    EXPECT_DOUBLE_EQ(adaptor->property("MaximumRate").toDouble(), 3.0);
    adaptor->setProperty("Rate", 1.5);
    EXPECT_DOUBLE_EQ(player().Speed(), 1.5);
    EXPECT_DOUBLE_EQ(form().SpinSpeed->value(), 1.5);
    adaptor->setProperty("Rate", 9.0); // beyond the maximum: the maximum
    EXPECT_DOUBLE_EQ(adaptor->property("Rate").toDouble(), 3.0);
    // A rate of 0 pauses and keeps the speed.
    player().Play();
    adaptor->setProperty("Rate", 0.0);
    EXPECT_EQ(player().PlayState(), 2);
    EXPECT_DOUBLE_EQ(player().Speed(), 3.0);
}

TEST_F(SpeedControlTest, EachFileKeepsItsOwnSpeed)
{
    const QString first = openMedia(QStringLiteral("first.wav"));
    form().SpinSpeed->setValue(1.5);
    const QString second = openMedia(QStringLiteral("second.wav"));
    form().SpinSpeed->setValue(0.7);
    openMedia(QStringLiteral("first.wav"));
    EXPECT_DOUBLE_EQ(player().Speed(), 1.5);
    IniFile saved;
    ASSERT_TRUE(saved.load(MediaSettingsFile::PathFor(second)));
    EXPECT_EQ(saved.value(QStringLiteral("MAIN"), QStringLiteral("Скорость")), QStringLiteral("0.7"));

    // A file kept before there was a speed plays at normal speed; so does one whose speed is
    // no speed.
    for (const char *stored : {"", "быстро", "12"}) {
        SCOPED_TRACE(stored);
        saved.setValue(QStringLiteral("MAIN"), QStringLiteral("Скорость"), QString::fromUtf8(stored));
        ASSERT_TRUE(saved.save());
        openMedia(QStringLiteral("second.wav"));
        EXPECT_DOUBLE_EQ(player().Speed(), 1.0);
        openMedia(QStringLiteral("first.wav"));
        EXPECT_DOUBLE_EQ(player().Speed(), 1.5);
    }
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(u'\n').toStdString();
}
