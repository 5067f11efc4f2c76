#include "ProgramFixture.h"

#include "base/SeekKind.h"
#include "marks/BookmarkNavigator.h"
#include "marks/ClipboardComments.h"
#include "marks/CommentScanner.h"
#include "marks/TForm2.h"
#include "widgets/Controls.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

namespace {

// The scan as name=comment pairs, in order.
QStringList Scan(const QString &text)
{
    QStringList pairs;
    for (const ScannedComment &c : ScanBookmarkComments(text)) pairs << c.name + u'=' + c.comment;
    return pairs;
}

const QChar NoBreak(0x00A0);

} // namespace

TEST(CommentScanner, EachMarkerTakesTheTextUpToTheNext)
{
    EXPECT_EQ(Scan(QStringLiteral("x {z1} first part {z2} second part")),
              QStringList({"z1=first part", "z2=second part"}));
    EXPECT_EQ(Scan(QStringLiteral("{z12}один\n{z3}два")), QStringList({"z12=один", "z3=два"}));
    // Line breaks and tabs inside a comment become blanks; the comment's ends are trimmed.
    EXPECT_EQ(Scan(QStringLiteral("{z1}\r\n  a\r\nb\tc  \r\n{z2}")), QStringList({"z1=a  b c", "z2="}));
    // A marker at the very end, and markers side by side, give empty comments.
    EXPECT_EQ(Scan(QStringLiteral("{z1}{z2}")), QStringList({"z1=", "z2="}));
    EXPECT_EQ(Scan(QStringLiteral("text {z5}")), QStringList({"z5="}));
    // A comment beginning with "#" marks a bookmark to skip.
    EXPECT_EQ(Scan(QStringLiteral("{z3} # не набирать")), QStringList({"z3=# не набирать"}));
    // The same name twice is found twice.
    EXPECT_EQ(Scan(QStringLiteral("{z1} a {z1} b")), QStringList({"z1=a", "z1=b"}));
    // The last character of the text is kept.
    EXPECT_EQ(Scan(QStringLiteral("{z1}x")), QStringList({"z1=x"}));
}

TEST(CommentScanner, TextOutsideCompleteMarkersChangesNothing)
{
    for (const char *text :
         {"", "   \r\n", "no markers at all", "{z1 never closed", "z1} a", "{ z1} a", "{Z1} a", "{y1} a", "{z1"}) {
        EXPECT_TRUE(Scan(QString::fromUtf8(text)).isEmpty()) << text;
    }
    // An unclosed marker gives way to the next one.
    EXPECT_EQ(Scan(QStringLiteral("{z1 {z2} two")), QStringList({"z2=two"}));
    // A "}" inside a comment is text; a "{" ends the comment, with or without a marker after it.
    EXPECT_EQ(Scan(QStringLiteral("{z1} a} b {x} ignored {z2} c")), QStringList({"z1=a} b", "z2=c"}));
    // A marker's name is everything between "{z" and "}".
    EXPECT_EQ(Scan(QStringLiteral("{z1{x} a")), QStringList({"z1{x=a"}));
}

TEST(CommentScanner, NoBreakSpacesAroundMarkersStay)
{
    // As a bookmark marker is typed into the text: a no-break space on each side.
    const QString text = QStringLiteral("начало") + NoBreak + QStringLiteral("{z1}") + NoBreak +
                         QStringLiteral("слово ") + NoBreak + QStringLiteral("{z2}") + NoBreak +
                         QStringLiteral("конец");
    EXPECT_EQ(Scan(text), QStringList({QStringLiteral("z1=") + NoBreak + QStringLiteral("слово ") + NoBreak,
                                       QStringLiteral("z2=") + NoBreak + QStringLiteral("конец")}));
}

TEST(CommentScanner, ACommentTakesAtMost241Characters)
{
    QString long300;
    for (int i = 0; i < 300; ++i) long300 += QChar(u'а' + i % 32);
    const auto found = ScanBookmarkComments(QStringLiteral("{z1}") + long300 + QStringLiteral("{z2}next"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].comment, long300.left(241));
    EXPECT_EQ(found[1].comment, "next"); // the rest of the long text was dropped

    // Blanks after the marker count among the 241, and are trimmed afterwards.
    EXPECT_EQ(ScanBookmarkComments(QStringLiteral("{z1}   ") + long300)[0].comment, long300.left(238));

    // A character outside the basic plane is one character, never cut in two.
    const QString smile = QString::fromUcs4(U"😀");
    const QString text = QStringLiteral("{z1}") + QString(240, u'x') + smile + smile + QStringLiteral("tail");
    const auto cut = ScanBookmarkComments(text);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].comment, QString(240, u'x') + smile);
    EXPECT_TRUE(cut[0].comment.isValidUtf16());
}

namespace {

class ClipboardCommentsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        openMedia();
        for (int ms : {10000, 20000, 30000}) { // z1, z2, z3
            form().TrackBar1->tag = SeekUser;
            form().TrackBar1->setValue(ms);
            program->bookmarks().BitBtn1Click();
        }
        grid().setCell(BookmarkTable::Comment, 3, QStringLiteral("старый"));
    }
    BookmarkTable &grid() { return program->Form2()->StringGrid1; }
    QStringList comments()
    {
        QStringList cells;
        for (int r = 1; r < grid().rowCount(); ++r) cells << grid().cell(BookmarkTable::Comment, r);
        return cells;
    }
    // The user clicks the link label.
    void clickLabel14()
    {
        QLabel *label = form().Label14;
        const QPointF at(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, at, label->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(label, &press);
        QCoreApplication::sendEvent(label, &release);
    }
};

} // namespace

TEST_F(ClipboardCommentsTest, AClickWritesTheCommentsOfTheNamedBookmarksAndEmptiesTheClipboard)
{
    ASSERT_EQ(grid().cell(BookmarkTable::Name, 2), "z2");
    desktop.clipboard = QStringLiteral("x {z1} first part {z2} second part {z9} no such bookmark");
    clickLabel14();
    EXPECT_EQ(comments(), QStringList({"first part", "second part", "старый"}));
    EXPECT_EQ(messages.notices, QStringList({"Внимание!|Записано комментариев: 2"}));
    EXPECT_TRUE(desktop.clipboard.isEmpty());
    EXPECT_TRUE(messages.errors.isEmpty());

    // A name met twice writes its row twice: both count, the later comment stays. An empty
    // comment is written too.
    messages.notices.clear();
    desktop.clipboard = QStringLiteral("{z3} раз {z3} два {z1}");
    clickLabel14();
    EXPECT_EQ(comments(), QStringList({"", "second part", "два"}));
    EXPECT_EQ(messages.notices, QStringList({"Внимание!|Записано комментариев: 3"}));
}

TEST_F(ClipboardCommentsTest, NamesAreMatchedExactly)
{
    grid().setCell(BookmarkTable::Name, 2, QStringLiteral("z1")); // two rows named z1: the first takes it
    grid().setCell(BookmarkTable::Comment, 2, QStringLiteral("второй"));
    desktop.clipboard = QStringLiteral("{Z3} upper {z3 } blank {z1} first");
    clickLabel14();
    EXPECT_EQ(comments(), QStringList({"first", "второй", "старый"}));
    EXPECT_EQ(messages.notices, QStringList({"Внимание!|Записано комментариев: 1"}));
}

TEST_F(ClipboardCommentsTest, AnEmptyClipboardOrOneWithoutMarkersWritesNothing)
{
    for (const QString &copied : {QString(), QStringLiteral("просто текст")}) {
        messages.notices.clear();
        desktop.clipboard = copied;
        clickLabel14();
        EXPECT_EQ(comments(), QStringList({"", "", "старый"}));
        EXPECT_EQ(messages.notices, QStringList({"Внимание!|Записано комментариев: 0"}));
        EXPECT_TRUE(desktop.clipboard.isEmpty());
    }
    // A right click is no click of the link.
    desktop.clipboard = QStringLiteral("{z1} a");
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(form().Label14, &release);
    EXPECT_EQ(desktop.clipboard, "{z1} a");
    EXPECT_EQ(comments(), QStringList({"", "", "старый"}));
}
