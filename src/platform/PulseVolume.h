#pragma once

#include "platform/Desktop.h"

#include <chrono>
#include <functional>

struct pa_context;
struct pa_mainloop;
struct pa_operation;

// The system's output volume: the volume of PulseAudio's default sink (PipeWire's pulse
// server answers the same). One connection is kept open and used from the UI thread only.
// Every wait is bounded, so a missing or stuck sound server costs a failed call, never a hang;
// a lost connection is made again on a later call, at most once per retry interval.
class PulseVolume : public VolumeControl {
public:
    explicit PulseVolume(int retryIntervalMs = 2000, int replyTimeoutMs = 300);
    ~PulseVolume() override;
    PulseVolume(const PulseVolume &) = delete;
    PulseVolume &operator=(const PulseVolume &) = delete;

    bool setLevel(int level) override; // every channel to level % of the normal volume
    int level() override;              // the channels' average in %, −1 without a server

    bool connected() const;

private:
    struct SinkVolume;
    bool ensureConnected();
    void disconnect();
    // Runs the main loop until done() holds; false (and the connection dropped) when the
    // reply did not come in time or the connection failed.
    bool waitFor(const std::function<bool()> &done);
    bool finish(pa_operation *op, const bool &done);
    bool readDefaultSink(SinkVolume &sink);

    const std::chrono::milliseconds m_retryInterval, m_replyTimeout;
    std::chrono::steady_clock::time_point m_lastAttempt{};
    bool m_attempted = false;
    pa_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
};
