#include "ProgramFixture.h"

#include "app/MediaSettingsFile.h"
#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "persist/IniFile.h"
#include "playback/PlayerFacade.h"
#include "widgets/Controls.h"
#include "windows/GoToPosition.h"
#include "windows/TForm3.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <functional>

namespace {

using Mode = QRadioButton *TForm3::*;
constexpr Mode FromZero = &TForm3::RadioButton1;
constexpr Mode Back = &TForm3::RadioButton2;
constexpr Mode Forward = &TForm3::RadioButton3;

class GoToTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        openMedia(QStringLiteral("talk.wav"), 90000);
        answerDialog();
    }
    // The modal run of the dialog does what `user` does, as the user would while it is open.
    void answerDialog()
    {
        dialog().runModal = [this] {
            ++openings;
            if (user) user();
        };
    }
    TForm3 &dialog() { return *program->Form3(); }
    int position() { return program->player().PositionMs(); }
    void at(int ms)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
    }
    // Opens the dialog with "G", picks the mode, types the time and presses OK.
    void goTo(Mode mode, const QString &time)
    {
        user = [&] {
            (dialog().*mode)->setChecked(true);
            dialog().MaskEdit1->setText(time);
            dialog().BitBtn1->click();
        };
        form().SpeedButton9->click();
        user = nullptr;
    }
    QStringList history()
    {
        QStringList items;
        for (int i = 0; i < dialog().ComboBoxG->count(); ++i) items << dialog().ComboBoxG->itemText(i);
        return items;
    }
    QString shownPosition() { return form().Label1->text() + u'.' + form().Label11->text(); }

    std::function<void()> user;
    int openings = 0;
};

} // namespace

TEST_F(GoToTest, EachModeCountsFromItsOwnPlace)
{
    goTo(FromZero, QStringLiteral("00:00:25.000"));
    EXPECT_EQ(position(), 25000);
    EXPECT_EQ(shownPosition(), "00:00:25.000");
    goTo(Back, QStringLiteral("00:00:05.000"));
    EXPECT_EQ(position(), 20000);
    goTo(Forward, QStringLiteral("00:00:10.500"));
    EXPECT_EQ(position(), 30500);
    // The first hour digit may be left blank; the time is still read hours first.
    goTo(FromZero, QStringLiteral("_0:01:02.003"));
    EXPECT_EQ(position(), 62003);

    // While playing, a shift counts from the position shown, and playing goes on.
    at(10000);
    program->player().Play();
    clock.advance(1000);
    const int shown = form().TrackBar1->value();
    ASSERT_GT(shown, 10000);
    goTo(Forward, QStringLiteral("00:00:20.000"));
    EXPECT_EQ(position(), shown + 20000);
    EXPECT_TRUE(program->player().IsPlaying());
}

TEST_F(GoToTest, TargetsStayWithinTheFile)
{
    at(3000);
    goTo(Back, QStringLiteral("00:00:05.000"));
    EXPECT_EQ(position(), 0);

    at(80000);
    goTo(Forward, QStringLiteral("00:00:30.000"));
    EXPECT_EQ(position(), form().TrackBar1->maximum()); // the end: the bar spans 0 … length − 1
    EXPECT_EQ(position(), 89999);
    at(1000);
    goTo(FromZero, QStringLiteral("01:00:00.000"));
    EXPECT_EQ(position(), 89999);

    // A time that cannot be read counts as 0: to the start, or no move at all.
    goTo(FromZero, QStringLiteral("99:99:99.999"));
    EXPECT_EQ(position(), 0);
    at(40000);
    goTo(Forward, QStringLiteral("99:99:99.999"));
    EXPECT_EQ(position(), 40000);
    EXPECT_TRUE(messages.errors.isEmpty());
}

// Every seek goes through the position bar, so a bar that spans only the AB interval (the
// zoom) takes a target outside it to its nearer end.
TEST_F(GoToTest, AZoomedBarTakesTheTargetToItsNearerEnd)
{
    form().TrackBar1->setRange(20000, 40000);
    goTo(FromZero, QStringLiteral("00:00:10.000"));
    EXPECT_EQ(position(), 20000);
    goTo(FromZero, QStringLiteral("00:00:50.000"));
    EXPECT_EQ(position(), 40000);
    goTo(Back, QStringLiteral("00:00:05.000"));
    EXPECT_EQ(position(), 35000);
}

TEST_F(GoToTest, TheHistoryKeepsTwentyTimesNewestFirstEachOnce)
{
    for (const char *t : {"00:00:01.000", "00:00:02.000", "00:00:03.000"}) goTo(FromZero, QString::fromLatin1(t));
    EXPECT_EQ(history(), QStringList({"00:00:03.000", "00:00:02.000", "00:00:01.000"}));
    goTo(Forward, QStringLiteral("00:00:01.000")); // third: moved to the top, whatever the mode
    EXPECT_EQ(history(), QStringList({"00:00:01.000", "00:00:03.000", "00:00:02.000"}));
    goTo(FromZero, QStringLiteral("00:00:01.000")); // first already
    EXPECT_EQ(history(), QStringList({"00:00:01.000", "00:00:03.000", "00:00:02.000"}));

    // Cancel neither seeks nor keeps the time.
    at(5000);
    user = [this] {
        dialog().MaskEdit1->setText(QStringLiteral("00:00:09.000"));
        dialog().BitBtn2->click();
    };
    form().SpeedButton9->click();
    EXPECT_EQ(position(), 5000);
    EXPECT_EQ(history().size(), 3);
    EXPECT_EQ(dialog().result(), QDialog::Rejected);

    for (int i = 4; i <= 20; ++i) goTo(FromZero, QStringLiteral("00:01:%1.000").arg(i, 2, 10, QChar(u'0')));
    ASSERT_EQ(history().size(), 20);
    EXPECT_EQ(history().last(), "00:00:02.000");
    goTo(FromZero, QStringLiteral("00:00:21.000")); // the 21st pushes the oldest out
    ASSERT_EQ(history().size(), 20);
    EXPECT_EQ(history().first(), "00:00:21.000");
    EXPECT_EQ(history().last(), "00:00:03.000");
    EXPECT_FALSE(history().contains("00:00:02.000"));
    goTo(FromZero, QStringLiteral("00:00:03.000")); // the last moves up; nothing else goes
    EXPECT_EQ(history().size(), 20);
    EXPECT_EQ(history().first(), "00:00:03.000");
    EXPECT_EQ(history().last(), "00:00:01.000");
}

// The history of a longer list (a settings file written by hand) is cut to twenty by the next
// time entered, even one that is first already.
TEST_F(GoToTest, ALongerHistoryIsCutToTwentyByTheNextTime)
{
    for (int i = 0; i < 25; ++i) dialog().ComboBoxG->addItem(MsToTimeText(i * 1000));
    goTo(FromZero, QStringLiteral("00:00:00.000"));
    ASSERT_EQ(history().size(), 20);
    EXPECT_EQ(history().last(), "00:00:19.000");
}

TEST_F(GoToTest, TheHistoryIsKeptWithEachMediaFile)
{
    const QString talk = program->session().CurrentMediaPath;
    goTo(FromZero, QStringLiteral("00:00:11.000"));
    goTo(FromZero, QStringLiteral("00:00:22.000"));

    const QString other = openMedia(QStringLiteral("other.wav"));
    IniFile saved;
    ASSERT_TRUE(saved.load(MediaSettingsFile::PathFor(talk)));
    EXPECT_EQ(saved.value("GOTOTIME", "RowCount"), "2");
    EXPECT_EQ(saved.value("GOTOTIME", "GT1"), "00:00:22.000");
    EXPECT_EQ(saved.value("GOTOTIME", "GT2"), "00:00:11.000");
    // A file without settings of its own carries the history over.
    EXPECT_EQ(history(), QStringList({"00:00:22.000", "00:00:11.000"}));
    goTo(FromZero, QStringLiteral("00:00:33.000"));

    openMedia(QStringLiteral("talk.wav"));
    EXPECT_EQ(history(), QStringList({"00:00:22.000", "00:00:11.000"}));
    goTo(FromZero, QStringLiteral("00:00:44.000"));

    // The next start opens talk.wav again, with its history as it was left.
    program.reset();
    start();
    ASSERT_EQ(program->session().CurrentMediaPath, talk);
    EXPECT_EQ(history(), QStringList({"00:00:44.000", "00:00:22.000", "00:00:11.000"}));
    openMedia(QStringLiteral("other.wav"));
    EXPECT_EQ(history(), QStringList({"00:00:33.000", "00:00:22.000", "00:00:11.000"}));
    EXPECT_EQ(program->session().CurrentMediaPath, other);
}

TEST_F(GoToTest, OpensFromTheButtonTheMenuThePositionLabelsAndTheHotKey)
{
    form().SpeedButton9->click();
    form().N16->trigger();
    const auto doubleClick = [](QLabel *label, Qt::MouseButton button) {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(2, 2), label->mapToGlobal(QPointF(2, 2)), button, button,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(label, &e);
    };
    for (QLabel *l : {form().Label1, form().Label1t, form().Label11, form().Label5}) doubleClick(l, Qt::LeftButton);
    EXPECT_EQ(openings, 6);
    doubleClick(form().Label1, Qt::RightButton);
    doubleClick(form().Label6, Qt::LeftButton); // the caption "Длина" is no position
    EXPECT_EQ(openings, 6);

    // Ctrl+Alt+G from any program, also while the program is minimised.
    desktop.hotKey(ModCtrl | ModAlt, VK::G);
    EXPECT_EQ(openings, 7);
    program->lifecycle().AppMinimized = true;
    desktop.hotKey(ModCtrl | ModAlt, VK::G);
    EXPECT_EQ(openings, 8);
}

TEST_F(GoToTest, ARequestWhileTheDialogIsOpenDoesNotOpenItAgain)
{
    user = [this] {
        if (openings > 1) return; // opened inside itself: leave it at once
        desktop.hotKey(ModCtrl | ModAlt, VK::G);
        form().SpeedButton9->click();
        dialog().MaskEdit1->setText(QStringLiteral("00:00:07.000"));
        dialog().BitBtn1->click();
    };
    form().N16->trigger();
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(position(), 7000);
    form().N16->trigger(); // closed: it opens again
    EXPECT_EQ(openings, 2);
}

TEST_F(GoToTest, OpeningAgainShowsTheLastModeTimeAndSign)
{
    user = [this] {
        EXPECT_FALSE(dialog().Label1->isVisibleTo(&dialog())); // "от 0" by default
        dialog().RadioButton3->setChecked(true);
        EXPECT_EQ(dialog().Label1->text(), "t+");
        EXPECT_TRUE(dialog().Label1->isVisibleTo(&dialog()));
        dialog().MaskEdit1->setText(QStringLiteral("00:00:07.000"));
        dialog().Button2->setFocus();
        dialog().BitBtn2->click();
    };
    form().SpeedButton9->click();

    user = [this] {
        EXPECT_TRUE(dialog().RadioButton3->isChecked());
        EXPECT_EQ(dialog().Label1->text(), "t+");
        EXPECT_TRUE(dialog().Label1->isVisibleTo(&dialog()));
        EXPECT_EQ(dialog().MaskEdit1->text(), "00:00:07.000");
        EXPECT_EQ(dialog().focusWidget(), dialog().MaskEdit1); // ready for typing
        // A mode chosen sets the sign and leaves the focus where it is.
        dialog().RadioButton2->setChecked(true);
        EXPECT_EQ(dialog().Label1->text(), "t-");
        EXPECT_EQ(dialog().focusWidget(), dialog().MaskEdit1);
        dialog().RadioButton1->setChecked(true);
        EXPECT_FALSE(dialog().Label1->isVisibleTo(&dialog()));
        dialog().BitBtn2->click();
    };
    form().SpeedButton9->click();
    EXPECT_EQ(openings, 2);
}

TEST_F(GoToTest, TheTimeIsFilledInWithZeroThePositionOrAnEarlierTime)
{
    goTo(FromZero, QStringLiteral("00:00:04.000"));
    goTo(FromZero, QStringLiteral("00:01:05.432"));
    at(12345);
    QStringList filled;
    user = [&] {
        dialog().Button1->click();
        filled << dialog().MaskEdit1->text();
        dialog().Button2->click();
        filled << dialog().MaskEdit1->text();
        emit dialog().ComboBoxG->activated(1); // chosen from the drop-down list
        filled << dialog().MaskEdit1->text();
        dialog().BitBtn1->click();
    };
    form().SpeedButton9->click();
    EXPECT_EQ(filled, QStringList({"00:00:12.345", "00:00:00.000", "00:00:04.000"}));
    EXPECT_EQ(position(), 4000);
    EXPECT_EQ(history(), QStringList({"00:00:04.000", "00:01:05.432"}));
}

TEST_F(GoToTest, TheDialogAsItIsCreated)
{
    TForm3 &d = dialog();
    EXPECT_EQ(d.windowTitle(), "Перейти к позиции");
    EXPECT_EQ(d.size(), QSize(370, 120));
    EXPECT_EQ(d.RadioButton1->text(), "от 0");
    EXPECT_EQ(d.RadioButton2->text(), "до и");
    EXPECT_EQ(d.RadioButton3->text(), "после текущей позиции");
    EXPECT_TRUE(d.RadioButton1->isChecked());
    EXPECT_EQ(d.MaskEdit1->text(), "00:00:00.000");
    EXPECT_EQ(d.MaskEdit1->maxLength(), 12);
    EXPECT_EQ(d.Button2->text(), "0");
    EXPECT_EQ(d.Button1->text(), "текущая позиция");
    EXPECT_TRUE(d.BitBtn1->isDefault());
    EXPECT_LT(d.BitBtn2->geometry().right(), 0); // out of view; Esc cancels
    // Only the combo's drop-down button shows beside the time.
    EXPECT_EQ(d.ComboBoxG->pos(), d.MaskEdit1->pos());
    EXPECT_GT(d.ComboBoxG->width(), d.MaskEdit1->width());
    EXPECT_EQ(d.ComboBoxG->count(), 0);
    // Digits only, in the time's places.
    d.MaskEdit1->setText(QStringLiteral("ab:cd:ef.ghi"));
    EXPECT_EQ(d.MaskEdit1->text(), "::.");
}
