#include "base/MediaTime.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double MsPerDay = 86400000.0;

// Milliseconds as a double with the noise of the day-fraction representation removed:
// 3 ms stored as a day fraction comes back as 2.9999999999999996, which must not
// truncate to 2. Rounding to a microsecond keeps every real fraction of a millisecond.
double ExactMs(double ms) { return std::round(ms * 1000.0) / 1000.0; }

std::int32_t ClampToInt32(double v)
{
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<std::int32_t>(v);
}

std::optional<int> ReadDigits(const QString &s)
{
    if (s.isEmpty() || s.size() > 9) return std::nullopt;
    int v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

// h, h:m or h:m:s with hours below 24, minutes and seconds below 60.
std::optional<std::int64_t> ReadClockTimeMs(const QString &s)
{
    const QStringList parts = s.split(u':');
    if (parts.size() > 3) return std::nullopt;
    const int limits[3] = {24, 60, 60};
    const std::int64_t scale[3] = {3600000, 60000, 1000};
    std::int64_t ms = 0;
    for (int i = 0; i < parts.size(); ++i) {
        const auto v = ReadDigits(parts[i]);
        if (!v || *v >= limits[i]) return std::nullopt;
        ms += *v * scale[i];
    }
    return ms;
}

} // namespace

MediaTime MsToMediaTime(std::int64_t ms) { return static_cast<double>(ms) * (1.0 / MsPerDay); }

MediaTime SecondsToMediaTime(double seconds) { return seconds * (1.0 / 86400.0); }

std::int32_t MediaTimeToMs(MediaTime t) { return ClampToInt32(std::trunc(ExactMs(t * MsPerDay))); }

std::int32_t EngineSecondsToMs(double seconds) { return ClampToInt32(std::trunc(ExactMs(seconds * 1000.0 + 0.1))); }

std::int32_t EngineLengthToMs(double seconds) { return ClampToInt32(std::ceil(ExactMs(seconds * 1000.0))); }

QString MediaTimeToStr(MediaTime t, const char *pattern)
{
    const std::int64_t ms = std::max<std::int64_t>(0, std::llround(t * MsPerDay));
    const auto two = [](std::int64_t v) { return QStringLiteral("%1").arg(v, 2, 10, QChar(u'0')); };
    const QString zzz = QStringLiteral("%1").arg(ms % 1000, 3, 10, QChar(u'0'));
    const QString clock = two(ms / 3600000 % 24) + u':' + two(ms / 60000 % 60) + u':' + two(ms / 1000 % 60);
    const QString p = QString::fromLatin1(pattern);
    if (p == QLatin1String(TimePattern::Clock)) return clock;
    if (p == QLatin1String(TimePattern::Millis)) return zzz;
    return clock + u'.' + zzz;
}

QString MsToTimeText(std::int64_t ms) { return MediaTimeToStr(MsToMediaTime(ms)); }

MediaTime StrToMediaTime(const QString &text)
{
    const QString s = TrimControlChars(text);
    if (s.isEmpty()) return 0;
    const qsizetype dot = s.indexOf(u'.');
    if (dot < 0) return MsToMediaTime(ReadClockTimeMs(s).value_or(0));

    QString whole = s.left(dot);
    QString frac = s.mid(dot + 1);
    switch (whole.size()) {
    case 1: whole.prepend(QStringLiteral("00:00:0")); break;
    case 2: whole.prepend(QStringLiteral("00:00:")); break;
    case 4: whole.prepend(QStringLiteral("00:0")); break;
    case 5: whole.prepend(QStringLiteral("00:")); break;
    case 7: whole.prepend(u'0'); break;
    default: break;
    }
    if (frac.size() > 3) frac.truncate(3);
    else if (frac.size() == 2) frac.append(u'0');
    else if (frac.size() == 1) frac.append(QStringLiteral("00"));

    const auto clockMs = ReadClockTimeMs(whole);
    const auto fracMs = ReadDigits(frac);
    if (!clockMs || !fracMs) return 0;
    return MsToMediaTime(*clockMs + *fracMs);
}

bool MediaTimeWithin(const QString &text, const QString &reference, std::int32_t toleranceMs)
{
    const std::int64_t d = static_cast<std::int64_t>(TimeTextToMs(text)) - TimeTextToMs(reference);
    if (toleranceMs >= 1) return d >= 0 && d <= toleranceMs;
    return std::llabs(d) <= -static_cast<std::int64_t>(toleranceMs);
}

QString CompleteTimeText(const QString &stored)
{
    const QString s = stored.trimmed();
    if (s.size() <= 8) return s + QStringLiteral(".000");
    if (s.size() == 9) return s + QStringLiteral("000");
    return s;
}

QString TrimControlChars(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] < u'!') ++b;
    while (e > b && s[e - 1] < u'!') --e;
    return s.mid(b, e - b);
}

QString StoredTimeText(const QString &stored) { return MsToTimeText(TimeTextToMs(CompleteTimeText(stored))); }
