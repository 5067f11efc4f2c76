#pragma once

#include <optional>

// The playback position between the engine's reports. mpv's time-pos moves in steps of the
// audio output's buffer (about 48 ms with the null output, more with outputs that take audio
// in chunks), so read every 10 ms it stands still for several reads and then jumps, and the
// loop checks take a still position for a stopped player. While playing, the position read
// is extrapolated from the last report with a monotonic clock and the playback speed. It
// never goes back, keeps moving (slower while it is ahead of the reports) and stays within
// two report steps of the last report, so the next report catches it up.
class SmoothPosition {
public:
    // The position to show for what the engine reports now (seconds) at monotonic time nowSec.
    double at(double reported, double nowSec, double speed = 1.0);
    // The same for a report that came earlier, at reportedAtSec: the extrapolation counts from
    // when the report came, not from when it is read.
    double atReport(double reported, double reportedAtSec, double nowSec, double speed = 1.0);
    // After a seek, a pause or a new file: the next value is the report itself.
    void reset() { m_base.reset(); }

    // Reports further apart than this are a jump (a seek the program did not make).
    static constexpr double JumpSec = 0.25;
    // The largest report step learned; an engine that stalls longer is waited for.
    static constexpr double MaxStepSec = 0.1;
    // How fast the position still moves while it is ahead of the reports.
    static constexpr double CatchUpRate = 0.8;

private:
    struct Base {
        double reported; // the report extrapolated from
        double since;    // when it came
        double shown;    // the position shown last
        double shownAt;  // and when
    };
    std::optional<Base> m_base;
    double m_step = 0; // the engine's report step, learned from the reports
};
