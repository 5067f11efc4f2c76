#include "ProgramFixture.h"

#include "marks/ABInterval.h"
#include "marks/ABIntervalList.h"
#include "marks/IntervalSyntax.h"
#include "playback/PlayerFacade.h"
#include "widgets/Controls.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

// An item read as "A … B", or "none" when it is no interval.
QString Applied(const QString &item)
{
    const auto bounds = ReadIntervalItem(item);
    return bounds ? bounds->a + " … " + bounds->b : QStringLiteral("none");
}

} // namespace

TEST(IntervalSyntax, ItemsInEveryTimeForm)
{
    EXPECT_EQ(Applied("0.0-10.0"), "00:00:00.000 … 00:00:10.000");
    EXPECT_EQ(Applied("20.0-30.5"), "00:00:20.000 … 00:00:30.500");
    EXPECT_EQ(Applied("00:00:10.000 - 00:00:20.000"), "00:00:10.000 … 00:00:20.000");
    EXPECT_EQ(Applied(IntervalItemText("00:01:02.003", "01:02:03.004")), "00:01:02.003 … 01:02:03.004");
    EXPECT_EQ(Applied("0.0-1:30.0"), "00:00:00.000 … 00:01:30.000");
    EXPECT_EQ(Applied("0.0-90.0"), "00:00:00.000 … 00:00:00.000");    // seconds past 59 need minutes
    EXPECT_EQ(Applied(" 10 -\t2.5 "), "10:00:00.000 … 00:00:02.500"); // without a point: hours
    EXPECT_EQ(Applied("1.0-2.0-3.0"), "00:00:01.000 … 00:00:00.000"); // cut at the first "-"
    EXPECT_EQ(Applied("abc-"), "00:00:00.000 … 00:00:00.000");
    EXPECT_EQ(Applied(" - 5.0"), "00:00:00.000 … 00:00:05.000"); // the "-" is not the first character
}

TEST(IntervalSyntax, ItemsThatAreNoInterval)
{
    for (const char *item : {"-10.0", "10.0", "", "-", "00:00:10.000 ~ 00:00:20.000"})
        EXPECT_EQ(Applied(QString::fromUtf8(item)), "none") << item;
}

TEST(IntervalSyntax, ListTexts)
{
    EXPECT_EQ(CutIntervalList("0.0-10.0;20.0-30.5"), QStringList({"0.0-10.0", "20.0-30.5"}));
    // A comma anywhere makes the comma the separator, and the semicolons stay in the items.
    EXPECT_EQ(CutIntervalList("00:00:10.000 - 00:00:20.000, 00:01:00.000 - 00:01:30.000"),
              QStringList({"00:00:10.000 - 00:00:20.000", "00:01:00.000 - 00:01:30.000"}));
    EXPECT_EQ(CutIntervalList("1.0-2.0;3.0-4.0,5.0-6.0"), QStringList({"1.0-2.0;3.0-4.0", "5.0-6.0"}));
    // A separator at the end, or two together, leave empty items.
    EXPECT_EQ(CutIntervalList("1.0-2.0;3.0-4.0;"), QStringList({"1.0-2.0", "3.0-4.0", ""}));
    EXPECT_EQ(CutIntervalList(",,"), QStringList({"", "", ""}));
    EXPECT_EQ(CutIntervalList("\t1.0-2.0\r\n;\x01 3.0-4.0 \n"), QStringList({"1.0-2.0", "3.0-4.0"}));
    // An empty text, or nothing after the link's key, is no item at all.
    EXPECT_TRUE(CutIntervalList("").isEmpty());
    EXPECT_TRUE(CutIntervalList("https://host/watch?v=1&ti=&x=2").isEmpty());
    EXPECT_EQ(CutIntervalList(" "), QStringList({""}));
}

TEST(IntervalSyntax, ListInALink)
{
    const QStringList expected{"5.0-9.0", "12.0-15.0"};
    EXPECT_EQ(CutIntervalList("see https://host/v?id=7&ti=5.0-9.0;12.0-15.0&x=1"), expected);
    EXPECT_EQ(CutIntervalList("see https://host/v?id=7,8&ti=5.0-9.0;12.0-15.0"), expected); // the rest is kept
    EXPECT_EQ(CutIntervalList("&ti=5.0-9.0;12.0-15.0&ti=1.0-2.0"), expected);
    EXPECT_EQ(CutIntervalList("&ti=5.0-9.0;12.0-15.0&x=1,2"), expected);
}

namespace {

class IntervalListTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        openMedia();
        form().show();
    }
    ABIntervalList &intervals() { return program->intervals(); }
    ListBox &list() { return *form().ListBoxAB; }
    void set(const char *a, const char *b)
    {
        form().MaskEdit1->setText(QLatin1String(a));
        form().MaskEdit2->setText(QLatin1String(b));
    }
    QString interval() { return form().MaskEdit1->text() + " … " + form().MaskEdit2->text(); }
    QStringList items()
    {
        QStringList texts;
        for (int i = 0; i < list().count(); ++i) texts << list().item(i)->text();
        return texts;
    }
    void fill(const QStringList &texts)
    {
        list().clear();
        list().addItems(texts);
    }
    void click(int row, bool twice = false)
    {
        const QPoint p = list().visualItemRect(list().item(row)).center();
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, p);
        if (twice) QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, p);
    }
    // Plays from a position and samples the position every tick for a while.
    QList<int> playFrom(int ms, int forMs)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
        program->player().Play();
        QList<int> positions;
        for (int t = 0; t < forMs; t += 10) {
            clock.advance(10);
            positions << mci.Position();
        }
        return positions;
    }
    void playInOrder(int abCount)
    {
        form().UpDown7->setPosition(abCount);
        form().CheckBox7->setChecked(true);
        form().CheckBox15->setChecked(true);
        form().CheckBox16->setChecked(true);
    }
};

} // namespace

TEST_F(IntervalListTest, ButtonsFollowTheListModeAndTheMenuWorksInBoth)
{
    set("00:00:10.000", "00:00:20.000");
    EXPECT_TRUE(form().SpeedButton13->isEnabled());
    EXPECT_FALSE(form().SpeedButton12->isEnabled());
    form().SpeedButton13->click();
    form().AB1->trigger();
    EXPECT_EQ(items(), QStringList(2, "00:00:10.000 - 00:00:20.000"));
    EXPECT_EQ(list().currentRow(), -1); // appending selects nothing

    form().CheckBox14->setChecked(true); // the by-N mode gives way to the list mode
    form().CheckBox16->setChecked(true);
    EXPECT_FALSE(form().CheckBox14->isChecked());
    EXPECT_FALSE(form().SpeedButton13->isEnabled());
    EXPECT_TRUE(form().SpeedButton12->isEnabled());
    EXPECT_EQ(list().currentRow(), 0); // the first item is taken when none was selected
    set("00:00:30.000", "00:00:40.000");
    form().AB1->trigger();
    EXPECT_EQ(items().last(), "00:00:30.000 - 00:00:40.000");
    EXPECT_EQ(interval(), "00:00:30.000 … 00:00:40.000"); // appending applies nothing
    form().SpeedButton12->click();
    EXPECT_EQ(items().size(), 2);

    form().CheckBox16->setChecked(false);
    EXPECT_TRUE(form().SpeedButton13->isEnabled());
    EXPECT_FALSE(form().SpeedButton12->isEnabled());
}

TEST_F(IntervalListTest, InsertBeforeTheSelectedItemAndSelectIt)
{
    fill({"1.0-2.0", "3.0-4.0"});
    set("00:00:10.000", "00:00:20.000");
    form().AB2->trigger(); // nothing selected: at the top
    EXPECT_EQ(items(), QStringList({"00:00:10.000 - 00:00:20.000", "1.0-2.0", "3.0-4.0"}));
    EXPECT_EQ(list().currentRow(), 0);
    list().setCurrentRow(2);
    set("00:00:30.000", "00:00:40.000");
    form().AB2->trigger();
    EXPECT_EQ(items()[2], "00:00:30.000 - 00:00:40.000");
    EXPECT_EQ(items()[3], "3.0-4.0");
    EXPECT_EQ(list().currentRow(), 2);

    form().CheckBox16->setChecked(true); // in list mode the inserted item is selected, not applied
    set("00:00:50.000", "00:00:55.000");
    form().AB2->trigger();
    EXPECT_EQ(interval(), "00:00:50.000 … 00:00:55.000");
}

TEST_F(IntervalListTest, PasteAndCopyThroughTheClipboard)
{
    fill({"1.0-2.0"});
    desktop.clipboard = "see https://host/v?id=7&ti=5.0-9.0;12.0-15.0&x=1";
    form().N34->trigger();
    EXPECT_EQ(items(), QStringList({"1.0-2.0", "5.0-9.0", "12.0-15.0"}));
    EXPECT_EQ(list().currentRow(), -1);
    desktop.clipboard = "1.0-2.0;3.0-4.0;";
    form().N34->trigger();
    EXPECT_EQ(items().size(), 6);
    EXPECT_EQ(items().last(), "");
    desktop.clipboard.clear(); // nothing to paste: nothing added
    form().N34->trigger();
    EXPECT_EQ(items().size(), 6);

    form().N36->trigger(); // nothing selected: the clipboard stays
    EXPECT_EQ(desktop.clipboard, "");
    list().setCurrentRow(2);
    form().N36->trigger();
    EXPECT_EQ(desktop.clipboard, "12.0-15.0");
}

TEST_F(IntervalListTest, MoveAndDelete)
{
    fill({"a", "b", "c"});
    list().setCurrentRow(0);
    form().N29->trigger(); // the first cannot go up
    EXPECT_EQ(items(), QStringList({"a", "b", "c"}));
    form().N30->trigger();
    EXPECT_EQ(items(), QStringList({"b", "a", "c"}));
    EXPECT_EQ(list().currentRow(), 1);
    form().N30->trigger();
    EXPECT_EQ(items(), QStringList({"b", "c", "a"}));
    form().N30->trigger(); // the last cannot go down
    EXPECT_EQ(items(), QStringList({"b", "c", "a"}));
    EXPECT_EQ(list().currentRow(), 2);
    form().N29->trigger();
    EXPECT_EQ(items(), QStringList({"b", "a", "c"}));
    EXPECT_EQ(list().currentRow(), 1);

    form().N32->trigger(); // the next item takes the selection
    EXPECT_EQ(items(), QStringList({"b", "c"}));
    EXPECT_EQ(list().currentRow(), 1);
    form().N32->trigger(); // after the last, nothing is selected
    EXPECT_EQ(items(), QStringList({"b"}));
    EXPECT_EQ(list().currentRow(), -1);
    EXPECT_TRUE(list().selectedItems().isEmpty());
    form().N32->trigger();
    EXPECT_EQ(items(), QStringList({"b"}));
    form().N29->trigger();
    form().N30->trigger();
    EXPECT_EQ(items(), QStringList({"b"}));

    // Nothing selected in list mode: "AB->" leaves A and B alone.
    fill({"1.0-2.0", "3.0-4.0"});
    form().CheckBox16->setChecked(true);
    list().setCurrentRow(1);
    form().N32->trigger();
    set("00:00:30.000", "00:00:40.000");
    program->abInterval().SpeedButton11Click();
    EXPECT_EQ(interval(), "00:00:30.000 … 00:00:40.000");
}

TEST_F(IntervalListTest, ClearingTheListAsksFirst)
{
    fill({"1.0-2.0", "3.0-4.0"});
    messages.answers = {false};
    form().N33->trigger();
    EXPECT_EQ(messages.questions, QStringList({"Вопрос|Удалить ВЕСЬ список?"}));
    EXPECT_EQ(items().size(), 2);
    messages.answers = {true};
    form().N33->trigger();
    EXPECT_EQ(list().count(), 0);
}

TEST_F(IntervalListTest, ChoosingAnItemMakesItTheInterval)
{
    fill({"0.0-10.0", "20.0-30.5", "-10.0", "no interval", "0.0-90.0"});
    set("00:00:40.000", "00:00:50.000");
    click(1); // outside list mode a click applies nothing
    EXPECT_EQ(interval(), "00:00:40.000 … 00:00:50.000");

    form().CheckBox16->setChecked(true); // the selected item applies at once
    EXPECT_EQ(interval(), "00:00:20.000 … 00:00:30.500");
    click(0);
    EXPECT_EQ(interval(), "00:00:00.000 … 00:00:10.000");
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(list().currentRow(), 1);
    EXPECT_EQ(interval(), "00:00:20.000 … 00:00:30.500");
    list().setCurrentRow(0); // selecting from code applies nothing
    EXPECT_EQ(interval(), "00:00:20.000 … 00:00:30.500");

    // An item that is no interval keeps A and B, but the counts are re-armed all the same.
    for (int row : {2, 3}) {
        form().TimerInt->stop();
        click(row);
        EXPECT_EQ(interval(), "00:00:20.000 … 00:00:30.500");
        EXPECT_TRUE(form().TimerInt->isActive());
        EXPECT_TRUE(form().TimerZk->isActive());
    }
    click(4);
    EXPECT_EQ(interval(), "00:00:00.000 … 00:00:00.000");
}

TEST_F(IntervalListTest, DoubleClickGoesToA)
{
    fill({"5.0-10.0", "20.0-30.0"});
    set("00:00:40.000", "00:00:50.000");
    click(1, true); // outside list mode: to the current A, whatever the item
    EXPECT_EQ(mci.Position(), 40000);
    form().CheckBox16->setChecked(true);
    click(1, true); // the click made the item the interval first
    EXPECT_EQ(mci.Position(), 20000);
    EXPECT_EQ(interval(), "00:00:20.000 … 00:00:30.000");
}

TEST_F(IntervalListTest, MenuShortcutsOnTheList)
{
    form().activateWindow();
    list().setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    set("00:00:10.000", "00:00:20.000");
    QTest::keyClick(&list(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(items(), QStringList({"00:00:10.000 - 00:00:20.000"}));
    set("00:00:01.000", "00:00:02.000");
    QTest::keyClick(&list(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(items().first(), "00:00:01.000 - 00:00:02.000");
    EXPECT_EQ(list().currentRow(), 0);
    desktop.clipboard = "3.0-4.0";
    QTest::keyClick(&list(), Qt::Key_V, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(items().last(), "3.0-4.0");
    QTest::keyClick(&list(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(items()[1], "00:00:01.000 - 00:00:02.000");
    QTest::keyClick(&list(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(items()[0], "00:00:01.000 - 00:00:02.000");
    QTest::keyClick(&list(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(desktop.clipboard, "00:00:01.000 - 00:00:02.000");
    QTest::keyClick(&list(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(items(), QStringList({"00:00:10.000 - 00:00:20.000", "3.0-4.0"}));
    messages.answers = {true};
    QTest::keyClick(&list(), Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(messages.questions.size(), 1);
    EXPECT_EQ(list().count(), 0);
}

TEST_F(IntervalListTest, TheMainTickPlaysTheListItemAfterItem)
{
    fill({"1.0-2.0", "5.0-6.0", "10.0-11.0"});
    playInOrder(1);
    EXPECT_EQ(interval(), "00:00:01.000 … 00:00:02.000");
    const QList<int> first = playFrom(1000, 1500);
    EXPECT_EQ(list().currentRow(), 1);
    EXPECT_EQ(interval(), "00:00:05.000 … 00:00:06.000");
    // From the end of one item straight to the start of the next: the gap is never played.
    for (int p : first) EXPECT_TRUE(p < 2100 || p >= 5000) << p;
    EXPECT_GE(first.last(), 5000);

    QList<int> later;
    for (int t = 0; t < 3000; t += 10) {
        clock.advance(10);
        later << mci.Position();
    }
    EXPECT_EQ(list().currentRow(), 2);
    EXPECT_EQ(interval(), "00:00:10.000 … 00:00:11.000");
    for (int p : later) EXPECT_TRUE((p >= 5000 && p < 6100) || (p >= 10000 && p < 11100)) << p;

    // "Автоповтор" takes the list round again from its first item.
    form().CheckBox6->setChecked(true);
    for (int t = 0; t < 1500 && list().currentRow() != 0; t += 10) clock.advance(10);
    EXPECT_EQ(list().currentRow(), 0);
    EXPECT_EQ(interval(), "00:00:01.000 … 00:00:02.000");
    clock.advance(20);
    EXPECT_GE(mci.Position(), 1000);
    EXPECT_LT(mci.Position(), 2000);
}

TEST_F(IntervalListTest, TheCommandLineListIsPlayedInOrder)
{
    const QString media = mediaFile(QStringLiteral("lesson.wav"));
    mci.lengths[media] = 60000;
    forgetSettings();
    start({media, "/r", "1", "/ab", "1.0-2.0;5.0-6.0;bad;10.0-11.0"});
    form().show();
    ASSERT_EQ(program->session().CurrentMediaPath, media);
    EXPECT_EQ(items(), QStringList({"1.0-2.0", "5.0-6.0", "bad", "10.0-11.0"}));
    EXPECT_EQ(list().currentRow(), 0);
    EXPECT_EQ(interval(), "00:00:01.000 … 00:00:02.000");
    EXPECT_TRUE(form().CheckBox7->isChecked());
    EXPECT_TRUE(form().CheckBox15->isChecked());

    playFrom(1000, 1500);
    EXPECT_EQ(interval(), "00:00:05.000 … 00:00:06.000");
    EXPECT_GE(mci.Position(), 5000);
    // The item that is no interval keeps the interval for one more round, then the list goes on.
    for (int t = 0; t < 4000 && list().currentRow() != 3; t += 10) clock.advance(10);
    EXPECT_EQ(list().currentRow(), 3);
    EXPECT_EQ(interval(), "00:00:10.000 … 00:00:11.000");
    clock.advance(20);
    EXPECT_GE(mci.Position(), 10000);
}

// A file whose list mode is on with an empty list keeps its own A and B when it is opened
// after a file whose list has items.
TEST_F(IntervalListTest, OpeningAFileKeepsItsOwnIntervalInAnEmptyListMode)
{
    const QString first = program->session().CurrentMediaPath;
    form().CheckBox16->setChecked(true);
    set("00:00:33.000", "00:00:44.000");
    openMedia(QStringLiteral("second.wav"));
    form().CheckBox16->setChecked(false);
    fill({"1.0-2.0"});
    list().setCurrentRow(0);
    program->session().PendingMediaPath = first;
    program->opener().OpenMediaFile();
    ASSERT_EQ(program->session().CurrentMediaPath, first);
    EXPECT_TRUE(form().CheckBox16->isChecked());
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(interval(), "00:00:33.000 … 00:00:44.000");

    // The list and its selection come back with their file, the selected item as the interval.
    program->session().PendingMediaPath = home.filePath(QStringLiteral("second.wav"));
    program->opener().OpenMediaFile();
    EXPECT_EQ(items(), QStringList({"1.0-2.0"}));
    EXPECT_EQ(list().currentRow(), 0);
    EXPECT_FALSE(form().CheckBox16->isChecked());
}
