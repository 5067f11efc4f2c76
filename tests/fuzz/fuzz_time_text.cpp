// libFuzzer target: the time texts, read and written.
// Build: clang++ -std=c++20 -fsanitize=fuzzer,address,undefined -fPIC -Isrc $(pkg-config --cflags Qt6Core)
//        tests/fuzz/fuzz_time_text.cpp src/base/MediaTime.cpp $(pkg-config --libs Qt6Core)

#include "base/MediaTime.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool invariant)
{
    if (!invariant) std::abort();
}

constexpr std::int32_t DayMs = 86400000;

// hh:nn:ss.zzz, digits in their places.
bool IsTimeText(const QString &s)
{
    if (s.size() != 12) return false;
    for (qsizetype i = 0; i < 12; ++i) {
        const QChar c = s[i];
        if (i == 2 || i == 5) {
            if (c != u':') return false;
        } else if (i == 8) {
            if (c != u'.') return false;
        } else if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return s.left(2).toInt() < 24 && s.mid(3, 2).toInt() < 60 && s.mid(6, 2).toInt() < 60;
}

// A text read: within the day, and its text form reads back to the same millisecond.
std::int32_t CheckRead(const QString &text)
{
    const std::int32_t ms = TimeTextToMs(text);
    Check(ms >= 0 && ms < DayMs);
    const QString written = MediaTimeToStr(StrToMediaTime(text));
    Check(IsTimeText(written));
    Check(written == MsToTimeText(ms));
    Check(TimeTextToMs(written) == ms);
    Check(StrToMediaTime(written) == MsToMediaTime(ms));
    Check(CompleteTimeText(written) == written);
    Check(MediaTimeWithin(written, text, 0));
    Check(MediaTimeToStr(StrToMediaTime(text), TimePattern::Clock) + u'.' +
              MediaTimeToStr(StrToMediaTime(text), TimePattern::Millis) ==
          written);
    // Blanks and control characters around a text change nothing.
    Check(TimeTextToMs(QStringLiteral(" \t") + text + QStringLiteral("\r\n")) == ms);
    return ms;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype cut = bytes.indexOf('\n');
    const QString first = QString::fromUtf8(cut < 0 ? bytes : bytes.left(cut));
    const QString second = cut < 0 ? QString() : QString::fromUtf8(bytes.mid(cut + 1));
    const std::int32_t a = CheckRead(first);
    const std::int32_t b = CheckRead(second);

    // Within the day, time texts compare as the times do.
    const QString ta = MsToTimeText(a), tb = MsToTimeText(b);
    Check((ta < tb) == (a < b) && (ta == tb) == (a == b));
    // The one-sided tolerance: the text at or up to the tolerance after the reference.
    const std::int32_t tolerance = static_cast<std::int32_t>(size % 1000) + 1;
    Check(MediaTimeWithin(ta, tb, tolerance) == (a - b >= 0 && a - b <= tolerance));
    Check(MediaTimeWithin(ta, tb, -tolerance) == (std::abs(a - b) <= tolerance));

    // Any number of milliseconds, and any finite day fraction, is written as a time text.
    if (size >= sizeof(std::int64_t)) {
        std::int64_t ms;
        std::memcpy(&ms, data, sizeof ms);
        Check(IsTimeText(MsToTimeText(ms)));
        if (ms >= 0 && ms < DayMs) Check(TimeTextToMs(MsToTimeText(ms)) == ms);
        double t;
        std::memcpy(&t, data, sizeof t);
        if (std::isfinite(t)) Check(IsTimeText(MediaTimeToStr(t)));
    }
    return 0;
}
