#include "ProgramFixture.h"

#include "widgets/Controls.h"
#include "automation/TextInjection.h"
#include "app/MediaOpener.h"
#include "base/MediaTime.h"
#include "marks/BookmarkNavigator.h"
#include "marks/TForm2.h"
#include "platform/ProgramFolder.h"
#include "playback/PlayerFacade.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QCoreApplication>

namespace {

class BookmarkTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        openMedia();
        form().TrackBar1->resize(770, 20);
    }
    BookmarkNavigator &nav() { return program->bookmarks(); }
    BookmarkTable &grid() { return program->Form2()->StringGrid1; }
    // Moves (paused) to a position, as a user seek does; the labels then show it.
    void at(int ms)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
    }
    void addAt(int ms)
    {
        at(ms);
        nav().BitBtn1Click();
    }
    QStringList column(int c)
    {
        QStringList cells;
        for (int r = 1; r < grid().rowCount(); ++r) cells << grid().cell(c, r);
        return cells;
    }
    int position() { return program->player().PositionMs(); }
};

} // namespace

TEST_F(BookmarkTest, AddingKeepsTimeOrderNamesAndNumbers)
{
    addAt(20000);
    EXPECT_EQ(grid().rowCount(), 2); // the placeholder row was used
    addAt(30000);
    addAt(10000); // before the first: to the top
    EXPECT_EQ(column(BookmarkTable::Time), QStringList({"00:00:10.000", "00:00:20.000", "00:00:30.000"}));
    EXPECT_EQ(column(BookmarkTable::Name), QStringList({"z3", "z1", "z2"}));
    EXPECT_EQ(column(BookmarkTable::Number), QStringList({"1", "2", "3"}));
    EXPECT_EQ(grid().row(), 1);
    EXPECT_EQ(grid().column(), BookmarkTable::Comment);
    EXPECT_EQ(program->Form2()->EditNZ->text(), "4");

    // Marks sit in the pixel column of their time and follow their rows.
    const int x = BookmarkNavigator::TimelineColumn(10000, 0, 59999, 770);
    EXPECT_EQ(x, 124);
    EXPECT_TRUE(form().MarkImages[x].visible);
    EXPECT_EQ(form().MarkImages[x].tag, 1);
    EXPECT_EQ(form().MarkImages[x].hint, "00:00:10.000 {z3} ");
    EXPECT_EQ(form().MarkImages[BookmarkNavigator::TimelineColumn(30000, 0, 59999, 770)].tag, 3);
    EXPECT_EQ(grid().slot(1), x);

    // The bookmarks window shows the table once the operation is over.
    QCoreApplication::processEvents();
    QTableWidget *view = program->Form2()->StringGridView;
    ASSERT_EQ(view->rowCount(), 3);
    EXPECT_EQ(view->item(0, BookmarkTable::Name)->text(), "z3");
    EXPECT_EQ(view->item(2, BookmarkTable::Time)->text(), "00:00:30.000");
    EXPECT_EQ(view->currentRow(), 0);
}

TEST_F(BookmarkTest, DuplicateGuard)
{
    addAt(10000);
    addAt(10000);
    addAt(10020); // within 20 ms after it: refused
    EXPECT_EQ(grid().rowCount(), 2);
    addAt(10021);
    EXPECT_EQ(grid().rowCount(), 3);
    addAt(9990); // 10 ms before a bookmark is no duplicate
    EXPECT_EQ(grid().rowCount(), 4);
}

TEST_F(BookmarkTest, NamesWithoutANumberAndTenthsForTheExternalPlayer)
{
    for (int ms : {1000, 2000, 3000, 4000}) addAt(ms);
    program->Form2()->EditNZ->clear();
    addAt(5000);
    EXPECT_EQ(grid().cell(BookmarkTable::Name, 5), "z05");
    EXPECT_EQ(program->Form2()->EditNZ->text(), "6");

    form().NMPC->setChecked(true); // the external player: tenths only
    form().Label1->setText(QStringLiteral("00:01:02"));
    form().Label11->setText(QStringLiteral("987"));
    nav().BitBtn1Click();
    EXPECT_EQ(grid().cell(BookmarkTable::Time, 6), "00:01:02.900");
}

TEST_F(BookmarkTest, SoundAndMarkerOnAdding)
{
    QStringList typed;
    desktop.onPaste = [&typed](WindowId, const QString &t) { typed << t; };
    form().N20->setChecked(true);
    addAt(1000); // no Zakl.wav: silent
    EXPECT_TRUE(sound.played.isEmpty());
    QFile wav(WorkFolder() + QStringLiteral("/Zakl.wav"));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    wav.close();
    form().N20->trigger(); // the item looks for the file again (and toggles itself off)
    form().N20->setChecked(true);
    form().CheckBox9->setChecked(true);
    program->injection().TextFocusWindow = 101; // the marker goes only into a captured text window
    addAt(2000);
    EXPECT_EQ(sound.played, QStringList({wav.fileName()}));
    EXPECT_EQ(typed, QStringList({QStringLiteral("\u00A0{z2}\u00A0")}));
}

TEST_F(BookmarkTest, BackWhilePausedWalksOneBookmarkPerPress)
{
    for (int ms : {10000, 20000, 30000, 40000}) addAt(ms);
    at(35000);
    for (int expected : {30000, 20000, 10000, 10000}) {
        nav().BitBtn3Click();
        EXPECT_EQ(position(), expected);
    }
    EXPECT_EQ(grid().row(), 1);

    // Paused exactly on bookmark 3 after a forward jump: the first back press stays there.
    at(25000);
    nav().BitBtn4Click();
    EXPECT_EQ(position(), 30000);
    nav().BitBtn3Click();
    EXPECT_EQ(position(), 30000);
    nav().BitBtn3Click();
    EXPECT_EQ(position(), 20000);
}

TEST_F(BookmarkTest, BackWhilePlayingUsesTheMargin)
{
    for (int ms : {10000, 20000, 30000}) addAt(ms);
    at(30500);
    program->player().Play();
    clock.advance(100);   // the tick shows 30.6 s
    nav().BitBtn3Click(); // less than 0.7 s after bookmark 3: to bookmark 2
    EXPECT_NEAR(position(), 20000, 20);
    EXPECT_EQ(program->player().PlayState(), 3);
    at(31000);
    clock.advance(20);
    nav().BitBtn3Click();
    EXPECT_NEAR(position(), 30000, 20);
}

TEST_F(BookmarkTest, BackAtTheEdges)
{
    at(15000);
    nav().BitBtn3Click(); // the list is empty: to the start
    EXPECT_EQ(position(), 0);
    addAt(20000);
    at(15000);
    nav().BitBtn3Click(); // before the first bookmark: nothing moves
    EXPECT_EQ(position(), 15000);

    // Bookmark or A: A between the previous bookmark and the position wins.
    form().MaskEdit1->setText(QStringLiteral("00:00:25.000"));
    at(28000);
    grid().select(0, 1);
    nav().BitBtn3Click(true);
    EXPECT_EQ(position(), 25000);
    EXPECT_EQ(grid().column(), 0); // the selection stays
}

TEST_F(BookmarkTest, Forward)
{
    for (int ms : {10000, 20000, 30000}) addAt(ms);
    at(5000);
    nav().BitBtn4Click();
    EXPECT_EQ(position(), 10000);
    at(5000); // back by other means: the same bookmark is not picked again
    nav().BitBtn4Click();
    EXPECT_EQ(position(), 20000);
    at(29000);
    nav().BitBtn4Click();
    nav().BitBtn4Click(); // at the last bookmark: nothing later
    EXPECT_EQ(position(), 30000);
    at(29000);
    nav().BitBtn4Click(); // the last one may be picked again
    EXPECT_EQ(position(), 30000);
}

TEST_F(BookmarkTest, SegmentAroundThePosition)
{
    at(5000);
    form().CheckBox8->setChecked(true); // no bookmarks: the whole file
    EXPECT_EQ(form().MaskEdit3->text(), "00:00:00.000");
    EXPECT_EQ(form().MaskEdit4->text(), "00:01:00.000");
    EXPECT_TRUE(scrollLock.on);
    EXPECT_TRUE(form().CheckBox10->isEnabled());
    EXPECT_EQ(form().Panel3->palette().color(QPalette::Window), QColor(255, 251, 240));

    addAt(10000);
    addAt(20000);
    grid().setCell(BookmarkTable::Comment, 1, QStringLiteral("# noise"));
    at(15000);
    EXPECT_EQ(form().MaskEdit3->text(), "00:00:10.000");
    EXPECT_EQ(form().MaskEdit4->text(), "00:00:20.000");
    EXPECT_TRUE(program->loop().SkipHashSegment);
    at(25000); // after the last bookmark: to the end
    EXPECT_EQ(form().MaskEdit3->text(), "00:00:20.000");
    EXPECT_EQ(form().MaskEdit4->text(), "00:01:00.000");
    EXPECT_FALSE(program->loop().SkipHashSegment);

    // The AB interval cuts the segment.
    form().MaskEdit1->setText(QStringLiteral("00:00:12.000"));
    form().MaskEdit2->setText(QStringLiteral("00:00:18.000"));
    form().CheckBox7->setChecked(true);
    at(11000);
    EXPECT_EQ(form().MaskEdit4->text(), "00:00:12.000");
    at(14000);
    EXPECT_EQ(form().MaskEdit3->text(), "00:00:12.000");
    EXPECT_EQ(form().MaskEdit4->text(), "00:00:18.000");

    form().CheckBox8->setChecked(false);
    EXPECT_FALSE(scrollLock.on);
    EXPECT_FALSE(form().CheckBox10->isEnabled());
}

TEST_F(BookmarkTest, PressingAMark)
{
    addAt(10000);
    addAt(20000);
    at(40000);
    const int slot = grid().slot(2);
    emit form().Panel3->markPressed(slot, Qt::LeftButton);
    EXPECT_EQ(position(), 20000);
    EXPECT_EQ(grid().row(), 2);
    emit form().Panel3->markPressed(slot, Qt::RightButton);
    EXPECT_EQ(program->player().PlayState(), 3);
}

TEST_F(BookmarkTest, AnotherFileStartsWithAnEmptyTableAndNamesFromZ1)
{
    addAt(10000);
    addAt(20000);
    addAt(30000);
    grid().select(BookmarkTable::Comment, 2);
    nav().DeleteSelectedBookmark(); // the middle one: the last keeps its mark
    EXPECT_EQ(column(BookmarkTable::Time), QStringList({"00:00:10.000", "00:00:30.000"}));
    EXPECT_EQ(column(BookmarkTable::Number), QStringList({"1", "2"}));
    EXPECT_FALSE(form().MarkImages[BookmarkNavigator::TimelineColumn(20000, 0, 59999, 770)].visible);
    EXPECT_EQ(form().MarkImages[BookmarkNavigator::TimelineColumn(30000, 0, 59999, 770)].tag, 2);

    openMedia(QStringLiteral("second.wav"), 40000);
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(column(BookmarkTable::Time), QStringList({""}));
    EXPECT_EQ(column(BookmarkTable::Number), QStringList({""}));
    EXPECT_EQ(program->Form2()->EditNZ->text(), "1");
    for (int i = 0; i < form().MarkImages.size(); ++i) ASSERT_FALSE(form().MarkImages[i].visible) << i;

    // Back, forward and the segment know only the new file's bookmarks.
    at(25000);
    nav().BitBtn4Click(); // nothing later
    EXPECT_EQ(position(), 25000);
    nav().BitBtn3Click(); // nothing earlier: the start
    EXPECT_EQ(position(), 0);
    at(25000);
    form().CheckBox8->setChecked(true);
    EXPECT_EQ(form().MaskEdit3->text(), "00:00:00.000");
    EXPECT_EQ(form().MaskEdit4->text(), "00:00:40.000");
    addAt(5000);
    EXPECT_EQ(column(BookmarkTable::Name), QStringList({"z1"}));
}
