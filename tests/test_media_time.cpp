#include "base/MediaTime.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {
std::int32_t ParseMs(const char *text) { return MediaTimeToMs(StrToMediaTime(QString::fromUtf8(text))); }
} // namespace

TEST(StrToMediaTime, UnreadableTextIsZero)
{
    for (const char *text : {"", "   ", "\t\r\n", "abc", "12:30.", "25:00", "00:61:00", "90.0", "1:2:3:4", "1::2", "-5",
                             "5.-50", "5.x", "00:00:05.1a", ":30"})
        EXPECT_EQ(ParseMs(text), 0) << text;
}

TEST(StrToMediaTime, WithoutDotReadsHoursFirst)
{
    EXPECT_EQ(ParseMs("01:30"), 90 * 60000);
    EXPECT_EQ(ParseMs("5"), 5 * 3600000);
    EXPECT_EQ(ParseMs("1:2:3"), 3723000);
    EXPECT_EQ(ParseMs("23:59:59"), 86399000);
    EXPECT_EQ(ParseMs("  00:01:02 \t"), 62000); // blanks and controls at both ends are dropped
}

TEST(StrToMediaTime, WithDotReadsSecondsUpward)
{
    EXPECT_EQ(ParseMs("1:30.0"), 90000);
    EXPECT_EQ(ParseMs("00:01:30.5"), 90500);
    EXPECT_EQ(ParseMs("5.5"), 5500);
    EXPECT_EQ(ParseMs("15.25"), 15250);
    EXPECT_EQ(ParseMs("01:15.1239"), 75123); // more than three digits: the first three count
    EXPECT_EQ(ParseMs("1:01:15.007"), 3675007);
    EXPECT_EQ(ParseMs("1:5.0"), 3900000); // three characters get no prefix: hours first
    EXPECT_EQ(ParseMs("00:00:00.001"), 1);
    EXPECT_EQ(ParseMs("23:59:59.999"), 86399999);
}

TEST(MediaTimeConversions, MillisecondsSurviveTheRoundTrip)
{
    // The day fraction cannot hold most millisecond counts exactly; none may lose one.
    for (std::int64_t ms = 0; ms < 200000; ++ms) ASSERT_EQ(MediaTimeToMs(MsToMediaTime(ms)), ms);
    for (std::int64_t ms = 86399000; ms < 86400000; ms += 7) ASSERT_EQ(MediaTimeToMs(MsToMediaTime(ms)), ms);
    EXPECT_EQ(MediaTimeToMs(SecondsToMediaTime(1.5)), 1500);
    EXPECT_EQ(MediaTimeToMs(MsToMediaTime(1) / 2 * 3), 1); // 1.5 ms truncates toward zero
}

TEST(MediaTimeConversions, EngineSecondsAndLengths)
{
    EXPECT_EQ(EngineSecondsToMs(1.2345), 1234);
    EXPECT_EQ(EngineSecondsToMs(0.0029), 3); // within 0.1 ms below counts as the next ms
    EXPECT_EQ(EngineSecondsToMs(2.9999), 3000);
    EXPECT_EQ(EngineSecondsToMs(2.9998), 2999);
    EXPECT_EQ(EngineSecondsToMs(0.3), 300); // 0.3 * 1000 is 299.99999999999994 in doubles
    EXPECT_EQ(EngineLengthToMs(0.1), 100);  // 100.00000000000001 must not round up to 101
    EXPECT_EQ(EngineLengthToMs(60.0001), 60001);
    EXPECT_EQ(EngineLengthToMs(60.0011), 60002);
    EXPECT_EQ(EngineLengthToMs(10.5), 10500);
}

TEST(MediaTimeToStr, Patterns)
{
    const MediaTime t = MsToMediaTime(3723004);
    EXPECT_EQ(MediaTimeToStr(t), "01:02:03.004");
    EXPECT_EQ(MediaTimeToStr(t, TimePattern::Clock), "01:02:03");
    EXPECT_EQ(MediaTimeToStr(t, TimePattern::Millis), "004");
    EXPECT_EQ(MediaTimeToStr(0), "00:00:00.000");
    EXPECT_EQ(MediaTimeToStr(MsToMediaTime(1)), "00:00:00.001");
    EXPECT_EQ(MediaTimeToStr(SecondsToMediaTime(25 * 3600)), "01:00:00.000"); // hours modulo 24
    EXPECT_EQ(MediaTimeToStr(SecondsToMediaTime(59.9996)), "00:01:00.000");   // rounds, carrying
    EXPECT_EQ(MsToTimeText(90000), "00:01:30.000");
}

TEST(MediaTimeToStr, TextsSortLikeTimes)
{
    QString previous = MsToTimeText(0);
    for (std::int64_t ms = 1; ms < 86400000; ms = ms * 3 + 1) {
        const QString text = MsToTimeText(ms);
        EXPECT_EQ(text.size(), 12);
        EXPECT_LT(previous, text);
        EXPECT_EQ(ParseMs(text.toUtf8().constData()), ms);
        previous = text;
    }
}

TEST(MediaTimeWithin, OneSidedAndSymmetric)
{
    const QString ref = QStringLiteral("00:00:10.000");
    EXPECT_TRUE(MediaTimeWithin(QStringLiteral("00:00:10.015"), ref, 20));
    EXPECT_TRUE(MediaTimeWithin(QStringLiteral("00:00:10.015"), ref, -20));
    EXPECT_FALSE(MediaTimeWithin(QStringLiteral("00:00:09.990"), ref, 20));
    EXPECT_TRUE(MediaTimeWithin(QStringLiteral("00:00:09.990"), ref, -20));
    // Bounds are inclusive, and float noise must not push an exact bound out.
    EXPECT_TRUE(MediaTimeWithin(QStringLiteral("00:00:10.020"), ref, 20));
    EXPECT_FALSE(MediaTimeWithin(QStringLiteral("00:00:10.021"), ref, 20));
    EXPECT_TRUE(MediaTimeWithin(QStringLiteral("00:00:09.980"), ref, -20));
    EXPECT_FALSE(MediaTimeWithin(QStringLiteral("00:00:09.979"), ref, -20));
    EXPECT_TRUE(MediaTimeWithin(ref, ref, 0));
    EXPECT_FALSE(MediaTimeWithin(QStringLiteral("00:00:10.001"), ref, 0));
    EXPECT_TRUE(MediaTimeWithin(QStringLiteral("00:00:10.001"), ref, 1));
}

TEST(CompleteTimeText, ShortStoredTexts)
{
    EXPECT_EQ(CompleteTimeText(QStringLiteral("00:01:02")), "00:01:02.000");
    EXPECT_EQ(CompleteTimeText(QStringLiteral("00:01:02.")), "00:01:02.000");
    EXPECT_EQ(CompleteTimeText(QStringLiteral(" 00:01:02 ")), "00:01:02.000");
    EXPECT_EQ(CompleteTimeText(QStringLiteral("00:01:02.5")), "00:01:02.5");
    EXPECT_EQ(CompleteTimeText(QStringLiteral("00:01:02.500")), "00:01:02.500");
    // As read from a settings file: always a time text, which a save and a load keep.
    EXPECT_EQ(StoredTimeText(QStringLiteral("00:01:02")), "00:01:02.000");
    EXPECT_EQ(StoredTimeText(QStringLiteral("00:01:02.5")), "00:01:02.500");
    for (const char *stored : {"", "00:00", "x", "0\x01:\x02"}) {
        const QString once = StoredTimeText(QString::fromUtf8(stored));
        EXPECT_EQ(once.size(), 12) << stored;
        EXPECT_EQ(StoredTimeText(once), once) << stored;
    }
}
