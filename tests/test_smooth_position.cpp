#include "playback/SmoothPosition.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// An engine that reports its position in steps of 48 ms, read every 10 ms.
struct SteppedEngine {
    double stepSec = 0.048;
    double startSec = 10.0;
    double reportAt(double t) const { return startSec + std::floor(t / stepSec) * stepSec; }
};

} // namespace

TEST(SmoothPosition, MovesEveryReadWhilePlayingAndNeverBackOrFarAhead)
{
    SmoothPosition smooth;
    const SteppedEngine engine;
    double previous = smooth.at(engine.reportAt(0), 0);
    int stillReads = 0;
    for (int i = 1; i <= 300; ++i) {
        const double t = i * 0.010;
        const double reported = engine.reportAt(t);
        const double shown = smooth.at(reported, t);
        ASSERT_GE(shown, previous) << "read " << i;
        ASSERT_LE(shown, reported + 2 * engine.stepSec + 1e-9) << "read " << i;
        // Once the first step is known, what a 10 ms tick sees is movement, as the loops expect.
        if (t > 0.1 && std::trunc((shown - previous) * 1000) < 6) ++stillReads;
        previous = shown;
    }
    EXPECT_EQ(stillReads, 0);
    EXPECT_NEAR(previous, engine.startSec + 3.0, engine.stepSec);
}

TEST(SmoothPosition, ExactAfterSeeksJumpsAndResets)
{
    SmoothPosition smooth;
    smooth.at(10.000, 0.00);
    smooth.at(10.048, 0.05);
    EXPECT_GT(smooth.at(10.048, 0.07), 10.048);
    // Back (a seek to A): the report at once.
    EXPECT_DOUBLE_EQ(smooth.at(2.000, 0.08), 2.000);
    // Far ahead: the report at once.
    EXPECT_DOUBLE_EQ(smooth.at(7.000, 0.09), 7.000);
    // After a reset (pause, seek): the report itself, even a little behind what was shown.
    smooth.at(7.048, 0.14);
    smooth.at(7.048, 0.17);
    smooth.reset();
    EXPECT_DOUBLE_EQ(smooth.at(7.040, 0.20), 7.040);
}

TEST(SmoothPosition, KeepsMovingWhenAheadOfLateReportsAndWaitsForAStalledEngine)
{
    SmoothPosition smooth;
    smooth.at(1.000, 0.00);
    smooth.at(1.048, 0.05);
    // Reports that come late: the position moves on, slower, and never back.
    double previous = smooth.at(1.048, 0.09);
    for (int ms = 100; ms <= 140; ms += 10) {
        const double t = ms / 1000.0;
        const double shown = smooth.at(1.048, t);
        EXPECT_GE(shown - previous, 0.010 * SmoothPosition::CatchUpRate - 1e-9) << t;
        previous = shown;
    }
    EXPECT_GE(smooth.at(1.096, 0.17), previous);
    // The engine stops reporting (a stall, the end of the file): two steps ahead at most.
    EXPECT_NEAR(smooth.at(1.096, 5.0), 1.096 + 2 * 0.048, 1e-9);
}

TEST(SmoothPosition, FollowsTheSpeed)
{
    SmoothPosition smooth;
    smooth.at(1.000, 0.00, 2.0);
    smooth.at(1.096, 0.05, 2.0);
    EXPECT_NEAR(smooth.at(1.096, 0.07, 2.0), 1.136, 1e-9); // 20 ms at double speed
}

// The position between time-pos reports counts from when the report came, not from when it
// is read: the bridge reads the last report some time after it arrived.
TEST(SmoothPosition, CountsFromWhenTheReportCameNotFromWhenItIsRead)
{
    SmoothPosition smooth;
    smooth.atReport(10.00, 0.00, 0.00);
    smooth.atReport(10.05, 0.05, 0.05); // one report step: 50 ms
    EXPECT_NEAR(smooth.atReport(10.10, 0.10, 0.13), 10.13, 1e-9) << "read 30 ms after the report came";
    // An engine that stops reporting is followed no further than two steps.
    EXPECT_NEAR(smooth.atReport(10.10, 0.10, 5.00), 10.20, 1e-9);
}
