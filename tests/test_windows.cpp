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
