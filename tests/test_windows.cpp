// Every window of the program as a user and assistive technology meet it: whole captions at
// the default size and font, a real top-level window with its title and role.
#include "ProgramFixture.h"
#include "WindowTexts.h"

#include "document/TFormOle.h"
#include "marks/TForm2.h"
#include "playback/TFormWMP.h"
#include "windows/InfoWindows.h"
#include "windows/TForm3.h"
#include "windows/TForm5.h"
#include "widgets/PinButton.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QScreen>

namespace {

class WindowsTest : public ProgramTest {
protected:
    std::vector<QWidget *> windows()
    {
        Program &p = *program;
        return {p.Form1(), p.FormWMP(),  p.FormOle(),   p.Form2(), p.Form3(),
                p.Form4(), p.FormHelp(), p.FormAbout(), p.Form5()};
    }
};

} // namespace

TEST_F(WindowsTest, EveryCaptionLabelAndButtonTextIsWholeAtTheDefaultSize)
{
    start();
    openMedia(); // the captions of an open file
    EXPECT_LE(form().width(), 1280);
    for (QWidget *w : windows()) {
        w->show();
        QApplication::processEvents();
        EXPECT_EQ(CutTexts(w), QStringList()) << w->objectName().toStdString();
        w->hide();
    }
}

TEST_F(WindowsTest, EveryWindowIsATopLevelWindowWithItsTitleAndRole)
{
    start();
    openMedia(); // the video and text windows take their titles from the open file
    for (QWidget *w : windows()) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_TRUE(w->isWindow());
        EXPECT_FALSE(w->windowTitle().isEmpty());
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->role() == QAccessible::Window || a->role() == QAccessible::Dialog) << a->role();
        EXPECT_EQ(a->text(QAccessible::Name), w->windowTitle());
    }
}

TEST_F(WindowsTest, SpeakersWindowOpensCentredOnTheScreen)
{
    start();
    form().N23->trigger();
    QApplication::processEvents();
    TForm5 *speakers = program->Form5();
    ASSERT_TRUE(speakers->isVisible());
    const QPoint offset = speakers->frameGeometry().center() - speakers->screen()->geometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

// Each window's pin button; the main window's, released, releases the others that are shown.
TEST_F(ProgramTest, PinButtonsPinTheirWindowAndTheMainOneReleasesTheShownOthers)
{
    start();
    TForm5 &speakers = *program->Form5();
    TForm2 &bookmarks = *program->Form2();
    speakers.show();
    speakers.setGeometry(40, 50, 300, 400);
    const QRect place = speakers.geometry();
    EXPECT_EQ(speakers.JvCaptionButton1->toolTip(), "Закрепить окно поверх всех");
    speakers.JvCaptionButton1->click();
    EXPECT_TRUE(speakers.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(speakers.JvCaptionButton1->toolTip(), "Открепить окно");
    EXPECT_EQ(speakers.geometry(), place);
    EXPECT_TRUE(speakers.isVisible());
    EXPECT_TRUE(speakers.JvCaptionButton1->geometry().right() <= speakers.width()) << "inside the window";

    // A pinned window that is hidden keeps its pin; pinning does not show it.
    bookmarks.hide();
    bookmarks.JvCaptionButton1->click();
    EXPECT_FALSE(bookmarks.isVisible());

    form().JvCaptionButton1->click();
    EXPECT_TRUE(form().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form().JvCaptionButton1->click(); // released
    EXPECT_FALSE(form().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(speakers.JvCaptionButton1->isChecked());
    EXPECT_FALSE(speakers.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(speakers.JvCaptionButton1->toolTip(), "Закрепить окно поверх всех");
    EXPECT_TRUE(bookmarks.JvCaptionButton1->isChecked());
    EXPECT_TRUE(bookmarks.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}
