#include "ProgramFixture.h"

#include "widgets/Controls.h"
#include "app/MediaOpener.h"
#include "marks/ABInterval.h"
#include "marks/BookmarkNavigator.h"
#include "marks/TForm2.h"
#include "playback/PlayerFacade.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

namespace {

class ABTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        openMedia();
    }
    ABInterval &ab() { return program->abInterval(); }
    void set(const char *a, const char *b)
    {
        form().MaskEdit1->setText(QLatin1String(a));
        form().MaskEdit2->setText(QLatin1String(b));
    }
    QString interval() { return form().MaskEdit1->text() + " … " + form().MaskEdit2->text(); }
    void at(int ms)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
    }
};

} // namespace

TEST_F(ABTest, PlainShifts)
{
    set("00:00:10.000", "00:00:20.000");
    ab().SpeedButton11Click();
    EXPECT_EQ(interval(), "00:00:20.000 … 00:00:30.000");
    EXPECT_TRUE(form().TimerInt->isActive());
    EXPECT_TRUE(form().TimerZk->isActive());
    set("00:00:10.000", "00:00:20.000");
    ab().SpeedButton10Click();
    EXPECT_EQ(interval(), "00:00:00.000 … 00:00:10.000");
    ab().SpeedButton10Click(); // A at the start: nothing
    EXPECT_EQ(interval(), "00:00:00.000 … 00:00:10.000");

    set("00:00:05.000", "00:00:20.000");
    ab().SpeedButton10Click(); // A is cut at zero, B moves by the whole length
    EXPECT_EQ(interval(), "00:00:00.000 … 00:00:05.000");

    set("00:00:45.000", "00:00:55.000");
    ab().SpeedButton11Click(); // both ends stop at the length
    EXPECT_EQ(interval(), "00:00:55.000 … 00:01:00.000");
    ab().SpeedButton11Click(); // B is the length: nothing
    EXPECT_EQ(interval(), "00:00:55.000 … 00:01:00.000");
}

TEST_F(ABTest, ByNBookmarks)
{
    for (int ms : {10000, 20000, 30000, 40000}) {
        at(ms);
        program->bookmarks().BitBtn1Click();
    }
    form().UpDown8->setPosition(2);
    set("00:00:25.000", "00:00:26.000");
    form().CheckBox14->setChecked(true);
    EXPECT_EQ(interval(), "00:00:20.000 … 00:00:40.000");
    EXPECT_FALSE(form().SpeedButton5->isEnabled());
    ab().SpeedButton11Click(); // B is the last bookmark: nothing
    EXPECT_EQ(interval(), "00:00:20.000 … 00:00:40.000");
    ab().SpeedButton10Click(); // A on row 2, 2 - N < 1: row 1
    EXPECT_EQ(interval(), "00:00:10.000 … 00:00:20.000");
    ab().SpeedButton11Click();
    EXPECT_EQ(interval(), "00:00:20.000 … 00:00:40.000");

    set("00:00:45.000", "00:00:50.000"); // at or after the last bookmark
    form().CheckBox14->setChecked(false);
    form().CheckBox14->setChecked(true);
    EXPECT_EQ(interval(), "00:00:30.000 … 00:00:40.000");

    set("00:00:12.500", "00:00:33.000"); // typed by hand between bookmarks
    ab().SpeedButton11Click();           // B is no bookmark: only re-bound
    EXPECT_EQ(interval(), "00:00:10.000 … 00:00:30.000");

    form().CheckBox16->setChecked(true); // the list mode leaves the by-N mode
    EXPECT_FALSE(form().CheckBox14->isChecked());
    EXPECT_TRUE(form().SpeedButton5->isEnabled());
}

TEST_F(ABTest, ByNWithASingleBookmark)
{
    at(30000);
    program->bookmarks().BitBtn1Click();
    set("00:00:40.000", "00:00:50.000");
    form().CheckBox14->setChecked(true);
    EXPECT_EQ(interval(), "00:00:00.000 … 00:00:30.000");
}

TEST_F(ABTest, ListModeAtTheLastItem)
{
    form().ListBoxAB->addItems({"1.0-2.0", "3.0-4.0", "5.0-6.0"});
    form().CheckBox16->setChecked(true);
    form().ListBoxAB->setCurrentRow(2);
    EXPECT_EQ(interval(), "00:00:01.000 … 00:00:02.000"); // selected from code: not applied
    ab().SpeedButton11Click();
    EXPECT_EQ(form().ListBoxAB->currentRow(), 2);
    EXPECT_EQ(interval(), "00:00:05.000 … 00:00:06.000");
    form().CheckBox6->setChecked(true);
    ab().SpeedButton11Click();
    EXPECT_EQ(form().ListBoxAB->currentRow(), 0);
    EXPECT_EQ(interval(), "00:00:01.000 … 00:00:02.000");
    set("00:00:30.000", "00:00:40.000");
    ab().SpeedButton10Click(); // the first item has nothing above; it is applied again
    EXPECT_EQ(form().ListBoxAB->currentRow(), 0);
    EXPECT_EQ(interval(), "00:00:01.000 … 00:00:02.000");
}

TEST_F(ABTest, SettingGoingAndTheLoopSwitch)
{
    form().NMPC->setChecked(true); // A keeps the milliseconds shown, unlike a bookmark
    form().Label1->setText(QStringLiteral("00:01:02"));
    form().Label11->setText(QStringLiteral("987"));
    form().SpeedButton5->click();
    EXPECT_EQ(form().MaskEdit1->text(), "00:01:02.987");
    EXPECT_EQ(form().LabelA->toolTip(), "00:01:02.987");
    form().NMPC->setChecked(false);

    set("00:00:12.345", "00:00:20.000");
    ab().LabelAMouseDown(Qt::LeftButton);
    EXPECT_EQ(program->player().PositionMs(), 12345);
    ab().LabelBMouseDown(Qt::LeftButton);
    EXPECT_EQ(program->player().PositionMs(), 20000);
    ab().LabelBMouseDown(Qt::RightButton);
    EXPECT_EQ(program->player().PlayState(), 3);

    form().UpDown7->setPosition(4);
    program->loop().ABRepeatsLeft = -1;
    form().CheckBox7->setChecked(true);
    EXPECT_TRUE(form().CheckBox15->isEnabled());
    EXPECT_EQ(program->loop().ABRepeatsLeft, 4);
    EXPECT_TRUE(form().LabelA->isVisibleTo(&form()));
    EXPECT_LT(form().LabelA->x(), form().LabelB->x());
    form().CheckBox7->setChecked(false);
    EXPECT_FALSE(form().CheckBox15->isEnabled());
}
