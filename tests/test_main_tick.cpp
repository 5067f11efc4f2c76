#include "ProgramFixture.h"

#include "widgets/Controls.h"
#include "app/MediaOpener.h"
#include "automation/MainTick.h"
#include "base/MediaTime.h"
#include "marks/BookmarkTable.h"
#include "marks/TForm2.h"
#include "playback/PlayerFacade.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// The main tick on the audio player's test double and the virtual clock.
class TickTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        openMedia();
    }
    PlayerFacade &player() { return program->player(); }
    void playFrom(int ms)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
        player().Play();
    }
    // Lets time pass; counts the times the position went back (rewinds).
    int runFor(int ms)
    {
        int rewinds = 0;
        int previous = mci.Position();
        for (int t = 0; t < ms; t += 10) {
            clock.advance(10);
            const int now = mci.Position();
            if (now < previous) ++rewinds;
            previous = now;
        }
        return rewinds;
    }
    // The bookmark table holds bookmarks at these times, and nothing else.
    void bookmarks(std::initializer_list<const char *> times)
    {
        BookmarkTable &table = program->Form2()->StringGrid1;
        while (table.rowCount() > 2) table.removeRow(1);
        int row = 1;
        for (const char *time : times) {
            if (row == table.rowCount()) table.insertRow(row);
            table.setCell(BookmarkTable::Name, row, QStringLiteral("z%1").arg(row));
            table.setCell(BookmarkTable::Time, row++, QLatin1String(time));
        }
    }
    // The between-bookmarks loop over bookmarks at from and to; the loop takes the segment
    // from the bookmarks whenever the position is moved by the user.
    void segment(const char *from, const char *to, int count)
    {
        bookmarks({from, to});
        form().CheckBox8->setChecked(true);
        form().UpDown6->setPosition(count);
        program->loop().BookmarkRepeatsLeft = count;
    }
    void interval(const char *a, const char *b, int count)
    {
        form().MaskEdit1->setText(QLatin1String(a));
        form().MaskEdit2->setText(QLatin1String(b));
        form().CheckBox7->setChecked(true);
        form().UpDown7->setPosition(count);
        program->loop().ABRepeatsLeft = count;
    }
};

} // namespace

TEST_F(TickTest, ShowsThePositionAndChecksNothingWhilePaused)
{
    interval("00:00:01.000", "00:00:02.000", 0);
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(1900);
    clock.advance(20);
    EXPECT_EQ(form().Label1->text(), "00:00:01");
    EXPECT_EQ(form().Label11->text(), "900");
    EXPECT_EQ(runFor(500), 0); // paused near the end of the interval: no rewind
    EXPECT_EQ(mci.Position(), 1900);
    player().Play();
    clock.advance(30);
    EXPECT_LT(mci.Position(), 1100); // playing: the end is recognised at once
}

TEST_F(TickTest, SegmentCountPlaysItThatManyTimesThenRunsOn)
{
    for (int count : {1, 2, 3}) {
        SCOPED_TRACE(count);
        segment("00:00:10.000", "00:00:20.000", count);
        playFrom(10000);
        EXPECT_EQ(runFor(count * 10000 + 2000), count - 1);
        EXPECT_GT(mci.Position(), 20500); // ran on into the next segment
        player().Stop();
        clock.advance(300); // the count is re-armed
        EXPECT_EQ(program->loop().BookmarkRepeatsLeft, count);
    }
}

TEST_F(TickTest, CountZeroLoopsWithoutEnd)
{
    segment("00:00:10.000", "00:00:12.000", 0);
    playFrom(10000);
    EXPECT_EQ(runFor(20000), 10);
    EXPECT_LT(mci.Position(), 12000);
    EXPECT_EQ(mci.Mode(), mpPlaying);
}

TEST_F(TickTest, DegenerateSegmentOrIntervalNeverRewinds)
{
    segment("00:00:10.000", "00:00:20.000", 0);
    interval("00:00:11.000", "00:00:11.000", 0);
    playFrom(9000);
    form().MaskEdit3->setText(QStringLiteral("00:00:10.000")); // as a bookmark might give
    form().MaskEdit4->setText(QStringLiteral("00:00:10.000"));
    EXPECT_EQ(runFor(4000), 0);
}

TEST_F(TickTest, IntervalLoopsThreeTimesThenRunsOnAndIsReArmed)
{
    interval("00:00:05.000", "00:00:07.000", 3);
    playFrom(5000);
    EXPECT_EQ(runFor(6500), 2);
    EXPECT_GT(mci.Position(), 7000);
    clock.advance(300);
    EXPECT_EQ(program->loop().ABRepeatsLeft, 3);
    // A later seek back before B loops again.
    playFrom(6000);
    EXPECT_EQ(runFor(1500), 1);
}

TEST_F(TickTest, PassedBIsNotTheEndOfTheInterval)
{
    interval("00:00:05.000", "00:00:07.000", 0);
    playFrom(7001);
    EXPECT_EQ(runFor(1000), 0);
    // Just before B the end is recognised.
    playFrom(6900);
    clock.advance(20);
    EXPECT_LT(mci.Position(), 5100);
}

TEST_F(TickTest, OnlyTheIntervalRulesActWhenTheSegmentIsTheInterval)
{
    segment("00:00:05.000", "00:00:07.000", 1); // would finish at once
    interval("00:00:05.000", "00:00:07.000", 2);
    playFrom(5000);
    EXPECT_EQ(runFor(4500), 1); // the interval count decides
}

TEST_F(TickTest, IntervalMovesOnAfterItsCount)
{
    // The interval moves on by one bookmark: to the next pair of bookmarks, and from the last
    // bookmark nowhere, so that the interval starts again from A.
    bookmarks({"00:00:05.000", "00:00:07.000", "00:00:09.000"});
    interval("00:00:05.000", "00:00:07.000", 1);
    form().UpDown8->setPosition(1);
    form().CheckBox14->setChecked(true);
    form().CheckBox15->setEnabled(true);
    form().CheckBox15->setChecked(true);
    playFrom(5000);
    EXPECT_EQ(runFor(2300), 0); // ran on into 7 … 9 without a seek
    EXPECT_GT(mci.Position(), 7000);
    EXPECT_EQ(form().MaskEdit1->text(), "00:00:07.000");
    clock.advance(2000);
    EXPECT_EQ(form().MaskEdit2->text(), "00:00:09.000"); // no bookmark after 9: it stays
    EXPECT_GE(mci.Position(), 7000);                     // this time a jump back to A
    EXPECT_LT(mci.Position(), 8000);
}

TEST_F(TickTest, PauseAtLoopStartAndItsFlag)
{
    interval("00:00:05.000", "00:00:07.000", 0);
    form().CheckBox13->setChecked(true);
    playFrom(6000);
    runFor(1000);
    EXPECT_EQ(mci.Mode(), mpPaused);
    EXPECT_EQ(mci.Position(), 5000);
    EXPECT_TRUE(program->loop().LoopPaused);
    player().ButtonClick(MediaButtonBar::Play);
    clock.advance(240);
    EXPECT_TRUE(program->loop().LoopPaused);
    clock.advance(20);
    EXPECT_FALSE(program->loop().LoopPaused);
}

TEST_F(TickTest, WholeFileRepeat)
{
    form().CheckBox6->setChecked(true);
    playFrom(59000);
    EXPECT_EQ(runFor(1500), 1);
    EXPECT_EQ(mci.Mode(), mpPlaying);
    EXPECT_LT(mci.Position(), 1000);

    form().CheckBox13->setChecked(true);
    playFrom(59500);
    runFor(1000);
    EXPECT_EQ(mci.Mode(), mpPaused);
    EXPECT_EQ(mci.Position(), 0);
    EXPECT_TRUE(program->loop().LoopPaused);
}

TEST_F(TickTest, HashSegmentIsSkipped)
{
    segment("00:00:10.000", "00:00:20.000", 2);
    program->Form2()->StringGrid1.setCell(BookmarkTable::Comment, 1, QStringLiteral("# не нужно"));
    form().CheckBox10->setEnabled(true);
    form().CheckBox10->setChecked(true);
    playFrom(10000); // the loop takes the segment after the "#" bookmark, to be skipped
    clock.advance(20);
    EXPECT_FALSE(program->loop().SkipHashSegment);
    EXPECT_GE(mci.Position(), 19750); // jumped to just before the end
    EXPECT_EQ(runFor(1000), 0);       // and the arrival finishes it
    EXPECT_GT(mci.Position(), 20500);
}

TEST_F(TickTest, PlayedBookmarkIsFollowed)
{
    TForm2 &window = *program->Form2();
    BookmarkTable &grid = window.StringGrid1;
    const char *times[] = {"00:00:05.000", "00:00:10.000", "00:00:20.000"};
    grid.insertRow(2);
    grid.insertRow(3);
    for (int r = 1; r <= 3; ++r) grid.setCell(BookmarkTable::Time, r, QLatin1String(times[r - 1]));
    window.CheckBoxOZ->setChecked(true);
    playFrom(12000);
    clock.advance(20);
    EXPECT_EQ(grid.row(), 2);
    EXPECT_EQ(grid.column(), BookmarkTable::Comment);
    playFrom(25000);
    clock.advance(20);
    EXPECT_EQ(grid.row(), 3); // past the last: the last row
    playFrom(1000);
    clock.advance(20);
    EXPECT_EQ(grid.row(), 1); // before the first: row 1
    player().Pause();
    playFrom(7000);
    player().Pause();
    clock.advance(20);
    EXPECT_EQ(grid.row(), 1); // only while playing
}

// Paused, the tick and the refresh rest once the display has caught up; a seek, Play or a
// control the tick reads wakes them, and while playing they never rest.
TEST_F(TickTest, RestsWhileNothingPlaysAndWakesOnAnyChange)
{
    const auto restingAfter = [&](int ms) {
        clock.advance(ms);
        return program->mainTick().resting() && !form().Timer1->isActive() && !form().Timer2->isActive();
    };
    EXPECT_FALSE(restingAfter(100));
    EXPECT_TRUE(restingAfter(200)); // stopped and still since the file was opened

    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(5000); // a seek while resting
    EXPECT_TRUE(form().Timer1->isActive());
    EXPECT_TRUE(form().Timer2->isActive());
    clock.advance(20);
    EXPECT_EQ(form().Label1->text(), "00:00:05"); // the display follows at once
    EXPECT_TRUE(restingAfter(300));

    player().Play();
    EXPECT_FALSE(restingAfter(5000)); // playing: the tick watches the loops all the time
    EXPECT_EQ(form().Label1->text(), "00:00:10");
    player().Pause();
    EXPECT_TRUE(restingAfter(300));

    form().CheckBox13->setChecked(true); // a control the tick reads
    EXPECT_TRUE(form().Timer1->isActive());
    EXPECT_TRUE(restingAfter(300));
    form().MaskEdit2->setText(QStringLiteral("00:00:09.000"));
    EXPECT_TRUE(form().Timer1->isActive());
}
