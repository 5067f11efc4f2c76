#include "app/CommandLine.h"
#include "marks/IntervalSyntax.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {
CommandLineSwitches Parse(std::initializer_list<const char *> args)
{
    QStringList list{QStringLiteral("/media/file.wav")};
    for (const char *a : args) list << QString::fromUtf8(a);
    return ParseSwitches(list);
}
} // namespace

TEST(CommandLineSwitches, FullExample)
{
    const auto sw = Parse({"/l", "/p", "/b", "2", "/b#", "/r", "1", "/t", "9", "/ab", "0.0-10.0;20.0-30.5"});
    EXPECT_TRUE(sw.loopFile);
    EXPECT_TRUE(sw.pauseAtLoopStart);
    EXPECT_TRUE(sw.skipHashBookmarks);
    EXPECT_EQ(sw.bookmarkCount, 2);
    EXPECT_EQ(sw.abCount, 1);
    EXPECT_EQ(sw.startTimeText, "00:00:09.000");
    EXPECT_EQ(sw.intervalListText, "0.0-10.0;20.0-30.5");
}

TEST(CommandLineSwitches, NamesAreWholeAndCaseSensitive)
{
    const auto sw = Parse({"/L", "/P", "/B#", "/bb", "/t9", "l"});
    EXPECT_FALSE(sw.loopFile);
    EXPECT_FALSE(sw.pauseAtLoopStart);
    EXPECT_FALSE(sw.skipHashBookmarks);
    EXPECT_EQ(sw.bookmarkCount, -1);
    EXPECT_FALSE(sw.startTimeText);
}

TEST(CommandLineSwitches, Counts)
{
    EXPECT_EQ(Parse({"/b"}).bookmarkCount, -1); // no value
    EXPECT_EQ(Parse({"/b", "3"}).bookmarkCount, 3);
    EXPECT_EQ(Parse({"/b", "-1"}).bookmarkCount, -1);
    EXPECT_EQ(Parse({"/b", "-7"}).bookmarkCount, -7); // recorded, counts as not given
    EXPECT_EQ(Parse({"/r", "x"}).abCount, -1);
    EXPECT_EQ(Parse({"/r", "2.5"}).abCount, -1);
    EXPECT_EQ(Parse({"/r", "3a"}).abCount, -1);
    EXPECT_EQ(Parse({"/r", "99999999999"}).abCount, -1); // does not fit an integer
    EXPECT_EQ(Parse({"/r", "0"}).abCount, 0);
    // The last occurrence wins, even when its value is missing.
    EXPECT_EQ(Parse({"/b", "3", "/b", "5"}).bookmarkCount, 5);
    EXPECT_EQ(Parse({"/b", "3", "/b"}).bookmarkCount, -1);
}

TEST(CommandLineSwitches, ValueIsStillExaminedAsSwitch)
{
    // "/l" is the value of "/b" (not an integer) and also a switch of its own.
    const auto sw = Parse({"/b", "/l"});
    EXPECT_EQ(sw.bookmarkCount, -1);
    EXPECT_TRUE(sw.loopFile);
    const auto ab = Parse({"/ab", "/p"});
    EXPECT_EQ(ab.intervalListText, "/p");
    EXPECT_TRUE(ab.pauseAtLoopStart);
}

TEST(CommandLineSwitches, StartTimeForms)
{
    EXPECT_EQ(Parse({"/t", "90"}).startTimeText, "00:01:30.000");
    EXPECT_EQ(Parse({"/t", "1.5"}).startTimeText, "1.5");
    EXPECT_EQ(Parse({"/t", "01:30"}).startTimeText, "01:30:00.000");
    EXPECT_EQ(Parse({"/t", "1:30.0"}).startTimeText, "00:01:30.000");
    EXPECT_EQ(Parse({"/t", "abc"}).startTimeText, "abc");
    EXPECT_EQ(Parse({"/t", "99:99"}).startTimeText, "00:00:00.000");
    EXPECT_FALSE(Parse({"/t"}).startTimeText);
    EXPECT_EQ(Parse({"/t", "5", "/t"}).startTimeText, "00:00:05.000"); // a bare last /t records nothing
    EXPECT_FALSE(Parse({"/ab"}).intervalListText);
}

TEST(CutIntervalList, Delimiters)
{
    EXPECT_EQ(CutIntervalList(QStringLiteral("0.0-10.0;20.0-30.5")),
              QStringList({QStringLiteral("0.0-10.0"), QStringLiteral("20.0-30.5")}));
    EXPECT_EQ(CutIntervalList(QStringLiteral("a,b;c")), QStringList({QStringLiteral("a"), QStringLiteral("b;c")}));
    EXPECT_EQ(CutIntervalList(QStringLiteral(" 1-2 ;\t3-4\r\n;;")),
              QStringList({QStringLiteral("1-2"), QStringLiteral("3-4"), QString(), QString()}));
    EXPECT_EQ(CutIntervalList(QStringLiteral("\"1 - 2\";3")),
              QStringList({QStringLiteral("\"1 - 2\""), QStringLiteral("3")}));
    EXPECT_EQ(CutIntervalList(QStringLiteral("only")), QStringList({QStringLiteral("only")}));
}

TEST(CutIntervalList, LinkCarryingTheList)
{
    const QStringList expected{QStringLiteral("1-2"), QStringLiteral("3-4")};
    EXPECT_EQ(CutIntervalList(QStringLiteral("x&ti=1-2;3-4&y=5")), expected);
    EXPECT_EQ(CutIntervalList(QStringLiteral("x&ti=1-2;3-4")), expected);
    EXPECT_EQ(CutIntervalList(QStringLiteral("https://host/v?a=1&ti=1-2;3-4&ti=9")), expected);
    // A comma after the list's end does not change the delimiter.
    EXPECT_EQ(CutIntervalList(QStringLiteral("x&ti=1-2;3-4&y=5,6")), expected);
}
