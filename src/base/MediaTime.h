#pragma once

#include <QString>
#include <cstdint>

// A position or length in the media as a fraction of a day (1.0 = 24 hours).
using MediaTime = double;

// Output patterns of MediaTimeToStr.
namespace TimePattern {
inline constexpr const char *Full = "hh:nn:ss.zzz"; // the 12-character time text
inline constexpr const char *Clock = "hh:nn:ss";
inline constexpr const char *Millis = "zzz";
} // namespace TimePattern

// Edit mask of the time edits: the first hour digit optional, the rest required.
inline constexpr const char *TimeEditMask = "09:99:99.999;_";
inline constexpr const char *ZeroTimeText = "00:00:00.000";

MediaTime MsToMediaTime(std::int64_t ms);
MediaTime SecondsToMediaTime(double seconds);
// Truncates toward zero; see the .cpp for how representation error is kept out.
std::int32_t MediaTimeToMs(MediaTime t);
// An engine's position in seconds as whole milliseconds: truncate(seconds * 1000 + 0.1).
std::int32_t EngineSecondsToMs(double seconds);
// An engine's length in seconds as whole milliseconds, rounded up.
std::int32_t EngineLengthToMs(double seconds);

// Formats t, rounded to the nearest millisecond, with one of the TimePattern patterns.
QString MediaTimeToStr(MediaTime t, const char *pattern = TimePattern::Full);
// Shortcut for the 12-character text of a number of milliseconds.
QString MsToTimeText(std::int64_t ms);
// Reads user or file text; anything unreadable is 0.
MediaTime StrToMediaTime(const QString &text);
// A time text in whole milliseconds (texts hold whole milliseconds, so this is exact).
inline std::int32_t TimeTextToMs(const QString &text) { return MediaTimeToMs(StrToMediaTime(text)); }
// Tolerance >= 1: text lies at reference or up to tolerance ms after it.
// Tolerance <= 0: text lies within -tolerance ms of reference on either side.
bool MediaTimeWithin(const QString &text, const QString &reference, std::int32_t toleranceMs);
// Brings a stored hh:nn:ss or hh:nn:ss. text to the 12-character form.
QString CompleteTimeText(const QString &stored);
// A time text read from a settings file: completed as above, then written as the time it reads
// as (00:00:00.000 for a text that is none), so that a load and a save give it back unchanged.
QString StoredTimeText(const QString &stored);
// Removes blanks and control characters from both ends.
QString TrimControlChars(const QString &s);
