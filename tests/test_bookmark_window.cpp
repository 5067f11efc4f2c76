#include "ProgramFixture.h"

#include "base/SeekKind.h"
#include "marks/BookmarkNavigator.h"
#include "marks/BookmarkTable.h"
#include "marks/BookmarkWindow.h"
#include "marks/TForm2.h"
#include "playback/PlayerFacade.h"
#include "widgets/Controls.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

// The bookmarks window shown offscreen over a one-minute recording, driven through its grid
// and buttons.
class BookmarkWindowTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        openMedia();
        form().TrackBar1->resize(770, 20);
        form().SpeedButton2->click(); // "≡"
        QCoreApplication::processEvents();
    }
    TForm2 &window() { return *program->Form2(); }
    BookmarkTable &grid() { return window().StringGrid1; }
    QTableWidget &view()
    {
        QCoreApplication::processEvents(); // the grid shows the table after each operation
        return *window().StringGridView;
    }
    void addAt(int ms)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
        program->bookmarks().BitBtn1Click();
    }
    // Types into a cell as the user does: the cell's editor opened, the text, Enter.
    void typeInto(int column, int row, const QString &text)
    {
        QTableWidget &v = view();
        v.setCurrentCell(row - 1, column);
        v.edit(v.currentIndex());
        auto *editor = v.viewport()->findChild<QLineEdit *>();
        ASSERT_TRUE(editor) << "no cell editor";
        editor->selectAll();
        editor->insert(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor hands its text over from the event loop
    }
    void clickCell(int column, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTableWidget &v = view();
        QTest::mouseClick(v.viewport(), button, {}, v.visualRect(v.model()->index(row - 1, column)).center());
    }
    // The mark of the bookmark with that name: its slot, -1 for none.
    int markOf(const QString &name)
    {
        for (int i = 0; i < form().MarkImages.size(); ++i) {
            const MarkSlot &m = form().MarkImages[i];
            if (m.visible && m.hint.contains(u'{' + name + u'}')) return i;
        }
        return -1;
    }
    int columnOf(int ms) { return BookmarkNavigator::TimelineColumn(ms, 0, 59999, 770); }
    QStringList names()
    {
        QStringList n;
        for (int r = 1; r < grid().rowCount(); ++r) n << grid().cell(BookmarkTable::Name, r);
        return n;
    }
};

} // namespace

TEST_F(BookmarkWindowTest, DeletingInTheMiddleKeepsEveryMarkOnItsBookmark)
{
    for (int ms : {10000, 20000, 30000}) addAt(ms);
    clickCell(BookmarkTable::Comment, 2);
    window().BitBtn1->click();
    EXPECT_EQ(names(), QStringList({"z1", "z3"}));
    EXPECT_EQ(grid().cell(BookmarkTable::Number, 2), "2");
    EXPECT_EQ(markOf("z2"), -1);
    ASSERT_EQ(markOf("z3"), columnOf(30000));
    EXPECT_EQ(form().MarkImages[markOf("z3")].tag, 2);
    EXPECT_EQ(form().MarkImages[markOf("z1")].tag, 1);
    EXPECT_EQ(view().rowCount(), 2);

    // The last bookmark gone, one empty row stays.
    window().BitBtn1->click();
    window().BitBtn1->click();
    EXPECT_EQ(grid().rowCount(), 2);
    for (int c = 0; c < BookmarkTable::ColumnCount; ++c) EXPECT_TRUE(grid().cell(c, 1).isEmpty());
}

// A time typed by hand: Enter moves only the mark; the refresh sorts the rows, and each mark
// goes with its bookmark.
TEST_F(BookmarkWindowTest, RefreshAfterAHandEditedTimeSortsRowsAndMarksTogether)
{
    for (int ms : {10000, 20000, 30000}) addAt(ms);
    typeInto(BookmarkTable::Time, 1, QStringLiteral(" 00:00:40.000 "));
    EXPECT_EQ(names(), QStringList({"z1", "z2", "z3"}));
    EXPECT_EQ(markOf("z1"), columnOf(40000));

    window().BitBtn5->click();
    EXPECT_EQ(names(), QStringList({"z2", "z3", "z1"}));
    EXPECT_EQ(grid().cell(BookmarkTable::Time, 3), "00:00:40.000"); // trimmed
    EXPECT_EQ(grid().cell(BookmarkTable::Number, 3), "3");
    for (int row = 1; row <= 3; ++row) {
        const int mark = markOf(grid().cell(BookmarkTable::Name, row));
        ASSERT_GE(mark, 0) << row;
        EXPECT_EQ(form().MarkImages[mark].tag, row) << row;
    }
    EXPECT_EQ(view().item(2, BookmarkTable::Name)->text(), "z1");
}

TEST_F(BookmarkWindowTest, DeleteAllAsksFirst)
{
    for (int ms : {10000, 20000}) addAt(ms);
    messages.answers = {false};
    window().BitBtn3->click();
    EXPECT_EQ(messages.questions, QStringList({"Внимание!|Удалить ВСЕ? (номера закладок будут с 1)"}));
    EXPECT_EQ(names(), QStringList({"z1", "z2"}));
    EXPECT_EQ(window().EditNZ->text(), "3");

    messages.answers = {true};
    window().BitBtn3->click();
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_TRUE(grid().cell(BookmarkTable::Time, 1).isEmpty());
    EXPECT_EQ(window().EditNZ->text(), "1");
    EXPECT_EQ(markOf("z1"), -1);
    EXPECT_EQ(markOf("z2"), -1);
}

// What is typed into the grid is the table's: a comment starting with "#" marks the bookmark
// as one the loop skips (the blue mark) once Enter places it.
TEST_F(BookmarkWindowTest, ACommentTypedInTheGridIsTheBookmarksComment)
{
    addAt(10000);
    typeInto(BookmarkTable::Comment, 1, QStringLiteral("# шум, пропустить"));
    EXPECT_EQ(grid().cell(BookmarkTable::Comment, 1), QStringLiteral("# шум, пропустить"));
    const MarkSlot &mark = form().MarkImages[markOf("z1")];
    EXPECT_TRUE(mark.blue);
    EXPECT_EQ(mark.hint, QStringLiteral("00:00:10.000 {z1} # шум, пропустить"));
}

TEST_F(BookmarkWindowTest, ClicksOnTheGrid)
{
    for (int ms : {10000, 20000}) addAt(ms);
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(500);
    clickCell(BookmarkTable::Comment, 2); // only selects
    EXPECT_EQ(form().TrackBar1->value(), 500);
    EXPECT_EQ(grid().row(), 2);
    clickCell(BookmarkTable::Number, 2); // jumps
    EXPECT_EQ(form().TrackBar1->value(), 20000);
    clickCell(BookmarkTable::Name, 1, Qt::RightButton); // plays or pauses, anywhere
    EXPECT_TRUE(program->player().IsPlaying());
    clickCell(BookmarkTable::Comment, 2, Qt::RightButton);
    EXPECT_FALSE(program->player().IsPlaying());
    EXPECT_EQ(grid().row(), 2);
    window().BitBtn2->click(); // "Перейти к закладке"
    EXPECT_EQ(form().TrackBar1->value(), 20000);
}

TEST_F(BookmarkWindowTest, FontSizeFitsTheColumnsAndNextNameTakesDigitsOnly)
{
    const int comment = view().columnWidth(BookmarkTable::Comment);
    window().UpDownSr->setPosition(6);
    const int smallTime = view().columnWidth(BookmarkTable::Time);
    window().UpDownSr->setPosition(100);
    EXPECT_EQ(window().UpDownSr->position(), 72);
    EXPECT_EQ(view().font().pointSize(), 72);
    EXPECT_GT(view().columnWidth(BookmarkTable::Time), 4 * smallTime);
    EXPECT_EQ(view().columnWidth(BookmarkTable::Comment), comment);

    window().EditNZ->clear();
    QTest::keyClicks(window().EditNZ, QStringLiteral("1a2b"));
    EXPECT_EQ(window().EditNZ->text(), "12");
}
