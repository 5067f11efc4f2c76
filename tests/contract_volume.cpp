// The test double of a volume and the system volume on PulseAudio through the same cases, so
// that a double that no longer behaves like the real volume fails here. Runs under
// tests/pulse_volume.sh, which starts a private PulseAudio server with a null sink.
#include "doubles/FakeDesktop.h"

#include "platform/PulseVolume.h"

#include <QProcess>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The double, and what the world around it does to it.
struct Fake {
    static constexpr const char *name = "Fake";
    VolumeControl &volume() { return fake; }
    void setFromOutside(int percent) { fake.value = percent; }
    void withoutServer() { fake.present = false; }
    void serverBack() { fake.present = true; }
    FakeVolume fake;
};

// The default sink of the private server; the desktop's volume control is pactl.
struct Pulse {
    static constexpr const char *name = "Pulse";
    ~Pulse() { qunsetenv("PULSE_SERVER"); }
    VolumeControl &volume() { return *pulse; }
    void setFromOutside(int percent)
    {
        QProcess::execute(QStringLiteral("pactl"),
                          {"set-sink-volume", "@DEFAULT_SINK@", QString::number(percent) + u'%'});
    }
    // A server that cannot be reached, from the start.
    void withoutServer()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent/pulse/native");
        pulse = std::make_unique<PulseVolume>(0);
    }
    void serverBack() { qunsetenv("PULSE_SERVER"); }
    std::unique_ptr<PulseVolume> pulse = std::make_unique<PulseVolume>(0); // retries at once
};

struct KindName {
    template <class T> static std::string GetName(int) { return T::name; }
};

template <class Side> class VolumeContract : public ::testing::Test {
protected:
    Side side;
};
using Kinds = ::testing::Types<Fake, Pulse>;
TYPED_TEST_SUITE(VolumeContract, Kinds, KindName);

} // namespace

TYPED_TEST(VolumeContract, EveryLevelReadsBackAsSet)
{
    VolumeControl &volume = this->side.volume();
    for (int level = 0; level <= 100; ++level) {
        ASSERT_TRUE(volume.setLevel(level)) << level;
        EXPECT_EQ(volume.level(), level);
    }
}

TYPED_TEST(VolumeContract, LevelsOutsideTheScaleAreRefused)
{
    VolumeControl &volume = this->side.volume();
    ASSERT_TRUE(volume.setLevel(40));
    for (int level : {-1, 101, 150, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(volume.setLevel(level)) << level;
        EXPECT_EQ(volume.level(), 40);
    }
}

TYPED_TEST(VolumeContract, FollowsChangesFromOutsideAndReadsAnAmplifiedOutputAsTheTop)
{
    VolumeControl &volume = this->side.volume();
    this->side.setFromOutside(65);
    EXPECT_EQ(volume.level(), 65);
    this->side.setFromOutside(130);
    EXPECT_EQ(volume.level(), 100);
    EXPECT_TRUE(volume.setLevel(50));
    EXPECT_EQ(volume.level(), 50);
}

TYPED_TEST(VolumeContract, WithoutServerFailsAndWorksOnceOneAnswers)
{
    this->side.withoutServer();
    VolumeControl &volume = this->side.volume();
    EXPECT_EQ(volume.level(), -1);
    EXPECT_FALSE(volume.setLevel(50));
    EXPECT_EQ(volume.level(), -1);

    this->side.serverBack();
    EXPECT_TRUE(volume.setLevel(35));
    EXPECT_EQ(volume.level(), 35);
}
