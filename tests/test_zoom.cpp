#include "ProgramFixture.h"

#include "marks/ABInterval.h"
#include "marks/BookmarkNavigator.h"
#include "marks/BookmarkTable.h"
#include "marks/TForm2.h"
#include "marks/Timeline.h"
#include "playback/PlayerFacade.h"
#include "widgets/Controls.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

namespace {

// The timeline of a one-minute recording in the shown main window.
class ZoomTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        openMedia();
        form().show();
    }
    TrackBar &bar() { return *form().TrackBar1; }
    QString range() { return QStringLiteral("%1 … %2").arg(bar().minimum()).arg(bar().maximum()); }
    void set(const char *a, const char *b)
    {
        form().MaskEdit1->setText(QLatin1String(a));
        form().MaskEdit2->setText(QLatin1String(b));
    }
    void seek(int ms)
    {
        bar().tag = SeekUser;
        bar().setValue(ms);
    }
    void bookmarkAt(int ms)
    {
        seek(ms);
        program->bookmarks().BitBtn1Click();
    }
    // The left of the mark that shows a bookmark row.
    int markLeft(int row)
    {
        const int slot = program->Form2()->StringGrid1.slot(row);
        return slot < 0 ? -9999 : form().MarkImages[slot].left;
    }
    // The strip's column of a time on a bar spanning min … max.
    int columnOf(int ms, int min, int max) { return (ms - min) * (bar().width() - 23) / (max - min); }
    void zoom(bool on) { form().CheckBoxTrack->setChecked(on); }
    QString hintAt(int x)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, bar().height() / 2), bar().mapToGlobal(QPointF(x, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&bar(), &move);
        return bar().toolTip();
    }
};

} // namespace

TEST_F(ZoomTest, ZoomSpansTheIntervalAndMovesTheMarks)
{
    ASSERT_LT(bar().width() - 23, 1000); // the strip has a column for every pixel of the bar
    for (int ms : {5000, 15000, 30000}) bookmarkAt(ms);
    const QList<int> before{markLeft(1), markLeft(2), markLeft(3)};
    ASSERT_EQ(before[1], columnOf(15000, 0, 59999) - 1);
    set("00:00:10.000", "00:00:20.000");

    zoom(true);
    EXPECT_EQ(range(), "10000 … 20000");
    EXPECT_TRUE(form().CheckBoxTrack->font().bold());
    EXPECT_TRUE(form().LabelTrack->font().bold());
    EXPECT_EQ(markLeft(2), (bar().width() - 23) / 2 - 1); // the middle of the strip
    EXPECT_EQ(markLeft(1), Timeline::OutOfView - 1);      // out of sight on both sides
    EXPECT_EQ(markLeft(3), Timeline::OutOfView - 1);
    EXPECT_EQ(form().LabelA->x(), form().Panel3->x());
    EXPECT_EQ(form().LabelB->x(), form().Panel3->x() + bar().width() - 23);

    // Zooming out reads the length again and puts every mark back where it was.
    form().Label5->setText(QStringLiteral("00:00:00.000"));
    zoom(false);
    EXPECT_EQ(range(), "0 … 59999");
    EXPECT_EQ(form().Label5->text(), "00:01:00.000");
    EXPECT_FALSE(form().CheckBoxTrack->font().bold());
    EXPECT_FALSE(form().LabelTrack->font().bold());
    EXPECT_EQ(QList<int>({markLeft(1), markLeft(2), markLeft(3)}), before);
    EXPECT_EQ(form().LabelA->x(), form().Panel3->x() + columnOf(10000, 0, 59999));

    // "трек только" switches the zoom as the box does.
    QTest::mouseClick(form().LabelTrack, Qt::LeftButton);
    EXPECT_TRUE(form().CheckBoxTrack->isChecked());
    EXPECT_EQ(range(), "10000 … 20000");
}

TEST_F(ZoomTest, IntervalsTheZoomCannotSpan)
{
    set("00:00:20.000", "00:00:10.000"); // B before A: the range stays
    zoom(true);
    EXPECT_EQ(range(), "0 … 59999");
    EXPECT_EQ(form().ShapeAB->width(), 20); // the band of a reversed interval
    zoom(false);

    bookmarkAt(10000);
    bookmarkAt(12000);
    set("00:00:10.000", "00:00:10.000"); // no length: the one time at the start, the rest away
    zoom(true);
    EXPECT_EQ(range(), "10000 … 10000");
    EXPECT_EQ(markLeft(1), -1);
    EXPECT_EQ(markLeft(2), Timeline::OutOfView - 1);
    EXPECT_EQ(form().LabelA->x(), form().Panel3->x());
}

TEST_F(ZoomTest, ShiftsAndListChoicesReZoom)
{
    set("00:00:10.000", "00:00:20.000");
    zoom(true);
    program->abInterval().SpeedButton11Click();
    EXPECT_EQ(range(), "20000 … 30000");
    program->abInterval().SpeedButton10Click();
    EXPECT_EQ(range(), "10000 … 20000");

    form().ListBoxAB->addItems({"40.0-50.0", "5.0-8.0"});
    form().CheckBox16->setChecked(true); // the first item, wholly after the interval
    EXPECT_EQ(range(), "40000 … 50000");
    program->abInterval().SpeedButton11Click(); // the next, wholly before it
    EXPECT_EQ(range(), "5000 … 8000");

    // Typing A or B moves its letter on the zoomed bar but leaves the range.
    form().CheckBox16->setChecked(false);
    form().MaskEdit2->setText(QStringLiteral("00:00:06.500"));
    EXPECT_EQ(range(), "5000 … 8000");
    EXPECT_EQ(form().LabelB->x(), form().Panel3->x() + columnOf(6500, 5000, 8000));
    form().MaskEdit2->setText(QStringLiteral("00:00:09.000")); // off the zoomed bar: at its start
    EXPECT_EQ(form().LabelB->x(), form().Panel3->x());
    program->abInterval().SpeedButton11Click();
    EXPECT_EQ(range(), "9000 … 13000");
}

TEST_F(ZoomTest, SeeksOutsideTheIntervalLandOnItsNearerEnd)
{
    bookmarkAt(5000);
    bookmarkAt(30000);
    seek(40000);
    set("00:00:10.000", "00:00:20.000");
    zoom(true); // the position moves into the interval, the player with it
    EXPECT_EQ(bar().value(), 20000);
    EXPECT_EQ(mci.Position(), 20000);

    seek(15000);
    clock.advance(20);
    program->bookmarks().BitBtn4Click(); // the bookmark at 30 s
    EXPECT_EQ(mci.Position(), 20000);
    clock.advance(20);
    program->bookmarks().BitBtn3Click(); // the bookmark at 5 s
    EXPECT_EQ(mci.Position(), 10000);

    // Playing on past B, the bar waits at B and the player goes on.
    seek(19000);
    program->player().Play();
    clock.advance(2000);
    EXPECT_GT(mci.Position(), 20500);
    EXPECT_EQ(bar().value(), 20000);
    EXPECT_EQ(form().Label1->text(), "00:00:21");
    // Zooming out shows the player's own place again.
    program->player().Pause();
    const int at = mci.Position();
    zoom(false);
    EXPECT_EQ(bar().value(), at);
    EXPECT_EQ(mci.Position(), at);
}

TEST_F(ZoomTest, HoverHintShowsTimesOfTheZoomedRange)
{
    seek(15000);
    EXPECT_TRUE(hintAt(bar().width() - 9).startsWith(" 00:00:59.")) << hintAt(bar().width() - 9).toStdString();
    set("00:00:10.000", "00:00:20.000");
    zoom(true);
    EXPECT_EQ(hintAt(0), " 00:00:10.000   t-00:00:05.000");
    EXPECT_EQ(hintAt(bar().width() - 1), " 00:00:20.000   t+00:00:05.000");
    const QString middle = hintAt(bar().width() / 2);
    EXPECT_GT(middle, QStringLiteral(" 00:00:14.")) << middle.toStdString();
    EXPECT_LT(middle, QStringLiteral(" 00:00:16.")) << middle.toStdString();
}

TEST_F(ZoomTest, LettersAndBandFollowTheIntervalAndTheLoop)
{
    set("00:00:10.000", "00:00:30.000");
    QLabel *a = form().LabelA, *b = form().LabelB;
    QFrame *band = form().ShapeAB;
    EXPECT_TRUE(a->isVisible());
    EXPECT_TRUE(band->isVisible());
    EXPECT_EQ(a->x(), form().Panel3->x() + columnOf(10000, 0, 59999));
    EXPECT_EQ(b->x(), form().Panel3->x() + columnOf(30000, 0, 59999));
    EXPECT_EQ(band->x(), a->x() - 5);
    EXPECT_EQ(band->width(), b->x() - a->x() + b->width() + 10);
    EXPECT_EQ(band->palette().color(QPalette::Window), QColor(222, 222, 222));
    EXPECT_EQ(a->palette().color(QPalette::WindowText), QColor(128, 128, 128));

    form().CheckBox7->setChecked(true);
    EXPECT_EQ(band->palette().color(QPalette::Window), QColor(234, 255, 255));
    EXPECT_EQ(b->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    form().CheckBox7->setChecked(false);
    EXPECT_EQ(b->palette().color(QPalette::WindowText), QColor(128, 128, 128));

    set("00:00:40.000", "00:00:30.000");
    EXPECT_LT(b->x(), a->x());
    EXPECT_EQ(band->width(), 20);
    set("00:00:10.000", "02:00:00.000"); // beyond the bar: at its start
    EXPECT_EQ(b->x(), form().Panel3->x());
}

// The list played item after item while zoomed: each new item's range takes the player to
// its start, also when the next item lies wholly after the one played.
TEST_F(ZoomTest, TheListPlaysOnWhileZoomed)
{
    form().ListBoxAB->addItems({"1.0-2.0", "5.0-6.0", "3.0-4.0"});
    form().UpDown7->setPosition(1);
    form().CheckBox7->setChecked(true);
    form().CheckBox15->setChecked(true);
    form().CheckBox16->setChecked(true);
    zoom(true);
    EXPECT_EQ(range(), "1000 … 2000");
    seek(1000);
    program->player().Play();
    QList<int> positions;
    for (int t = 0; t < 3000; t += 10) {
        clock.advance(10);
        if (form().ListBoxAB->currentRow() == 2) break;
        positions << mci.Position();
    }
    EXPECT_EQ(range(), "3000 … 4000");
    for (int p : positions) EXPECT_TRUE(p < 2100 || (p >= 5000 && p < 6100)) << p;
    clock.advance(20);
    EXPECT_GE(mci.Position(), 3000);
    EXPECT_LT(mci.Position(), 4000);
}

// On a maximised window the bar has more columns than the strip has marks; the zoomed bar
// still shows B and the bookmarks next to it.
TEST_F(ZoomTest, AWideBarKeepsItsFarEndInView)
{
    form().resize(2400, form().height());
    QCoreApplication::processEvents();
    const int columns = bar().width() - 23;
    ASSERT_GT(columns, 1100);
    bookmarkAt(19000);
    set("00:00:10.000", "00:00:20.000");
    zoom(true);
    EXPECT_EQ(form().LabelB->x(), form().Panel3->x() + columns);
    EXPECT_EQ(markLeft(1), columnOf(19000, 10000, 20000) - 1);
    EXPECT_GT(markLeft(1), 999);
}
