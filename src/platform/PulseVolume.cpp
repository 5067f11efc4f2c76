#include "platform/PulseVolume.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/volume.h>

#include <algorithm>
#include <cmath>

using std::chrono::steady_clock;

struct PulseVolume::SinkVolume {
    bool done = false;
    bool found = false;
    std::uint32_t index = 0;
    pa_cvolume volume{};
};

PulseVolume::PulseVolume(int retryIntervalMs, int replyTimeoutMs)
    : m_retryInterval(retryIntervalMs), m_replyTimeout(replyTimeoutMs)
{
}

PulseVolume::~PulseVolume() { disconnect(); }

bool PulseVolume::connected() const { return m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY; }

void PulseVolume::disconnect()
{
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    if (m_loop) {
        pa_mainloop_free(m_loop);
        m_loop = nullptr;
    }
}

bool PulseVolume::ensureConnected()
{
    if (m_context) {
        // Take in what arrived since the last call: a server that went away shows here.
        pa_mainloop_iterate(m_loop, 0, nullptr);
        if (connected()) return true;
        disconnect();
    }
    const auto now = steady_clock::now();
    if (m_attempted && now - m_lastAttempt < m_retryInterval) return false;
    m_attempted = true;
    m_lastAttempt = now;

    m_loop = pa_mainloop_new();
    m_context = m_loop ? pa_context_new(pa_mainloop_get_api(m_loop), "Stenova") : nullptr;
    // No autospawn: a desktop without a sound server keeps none.
    if (!m_context || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        !waitFor([this] { return pa_context_get_state(m_context) == PA_CONTEXT_READY; })) {
        disconnect();
        return false;
    }
    return true;
}

bool PulseVolume::waitFor(const std::function<bool()> &done)
{
    const auto deadline = steady_clock::now() + m_replyTimeout;
    while (!done()) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context))) return false;
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - steady_clock::now());
        if (left.count() <= 0) return false;
        if (pa_mainloop_prepare(m_loop, static_cast<int>(left.count())) < 0 || pa_mainloop_poll(m_loop) < 0 ||
            pa_mainloop_dispatch(m_loop) < 0)
            return false;
    }
    return true;
}

bool PulseVolume::finish(pa_operation *op, const bool &done)
{
    if (!op) return false;
    const bool ok = waitFor([&done] { return done; });
    if (!ok) pa_operation_cancel(op); // its callback must not run with our reply gone
    pa_operation_unref(op);
    // A server that does not answer in time is treated as gone, so that the next calls
    // fail at once instead of each waiting again.
    if (!ok) disconnect();
    return ok;
}

bool PulseVolume::readDefaultSink(SinkVolume &sink)
{
    if (!ensureConnected()) return false;
    const auto onSink = [](pa_context *, const pa_sink_info *info, int eol, void *data) {
        auto *s = static_cast<SinkVolume *>(data);
        if (eol) { // the end of the list, or an error such as no default sink
            s->done = true;
        } else if (info) {
            s->found = true;
            s->index = info->index;
            s->volume = info->volume;
        }
    };
    return finish(pa_context_get_sink_info_by_name(m_context, "@DEFAULT_SINK@", onSink, &sink), sink.done) &&
           sink.found;
}

int PulseVolume::level()
{
    SinkVolume sink;
    if (!readDefaultSink(sink)) return -1;
    const double percent = 100.0 * pa_cvolume_avg(&sink.volume) / PA_VOLUME_NORM;
    // An amplified sink (above 100 %) shows as the top of the scale.
    return std::clamp(static_cast<int>(std::lround(percent)), 0, 100);
}

bool PulseVolume::setLevel(int level)
{
    if (level < 0 || level > 100) return false; // never amplify past the normal volume
    SinkVolume sink;
    if (!readDefaultSink(sink)) return false;
    pa_cvolume volume;
    pa_cvolume_set(&volume, sink.volume.channels, static_cast<pa_volume_t>(PA_VOLUME_NORM * level / 100));

    struct Reply {
        bool done = false;
        bool success = false;
    } reply;
    const auto onDone = [](pa_context *, int success, void *data) {
        auto *r = static_cast<Reply *>(data);
        r->done = true;
        r->success = success != 0;
    };
    return finish(pa_context_set_sink_volume_by_index(m_context, sink.index, &volume, onDone, &reply), reply.done) &&
           reply.success;
}
