// The text window on the real program: typed into with XTest, ESC, the speakers and the
// bookmark markers working with it as with another program's editor, and its document kept per
// recording across a restart.
#include "RunningProgram.h"

#include "automation/TextInjection.h"
#include "base/KeyCodes.h"
#include "document/DocumentContainer.h"
#include "document/TFormOle.h"
#include "windows/TForm5.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

namespace {

class TextWindow : public RunningProgram {
protected:
    TFormOle &window() { return *program().FormOle(); }
    DocumentContainer &document() { return *window().OleContainer1; }
    QString text() { return document().toPlainText(); }

    // "T" shows the text window; a click puts the caret at the end of the text.
    void showAndClickIntoText()
    {
        click(form().SpeedButton7);
        ASSERT_TRUE(waitUntil([&] { return keys.foreground() == window().winId(); }, 5000));
        QWidget *page = document().viewport();
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(page->width() - 5, page->height() - 5));
        ASSERT_TRUE(waitUntil([&] { return document().hasFocus(); }, 2000));
    }
    void type(const QString &typed)
    {
        typeWithXTest(typed, [this] { return text(); });
    }
};

} // namespace

TEST_F(TextWindow, TypedWithEscAndASpeakerKeptPerRecordingAndAfterARestart)
{
    const QString first = recording(QStringLiteral("first.wav"), 20);
    const QString second = recording(QStringLiteral("second.wav"), 10);
    startProgram({first});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == first; }));
    for (QCheckBox *box : {form().CheckBox3, form().CheckBox4})
        if (!box->isChecked()) click(box);
    program().Form5()->Edits[0]->setText(QStringLiteral("Анна"));

    showAndClickIntoText();
    type(QStringLiteral("1. Привет, мир. "));

    // ESC in the text window starts playback, and takes the text window as the one to type in.
    tap(VK::Esc);
    ASSERT_TRUE(waitUntil([&] { return player().PlayState() == 3; }, 3000));
    EXPECT_EQ(program().injection().TextWindow, window().winId());
    pause(1500);
    const int before = player().PositionMs();
    tap(VK::Esc);
    ASSERT_TRUE(waitUntil([&] { return player().PlayState() != 3; }, 3000));
    EXPECT_NEAR(player().PositionMs(), before - 1000, 300);

    // Ctrl+Shift+1 types the first speaker at the caret.
    combo({VK::Ctrl, VK::Shift}, VK::Digit0 + 1);
    ASSERT_TRUE(waitUntil([&] { return text().startsWith(QStringLiteral("1. Привет, мир. Анна")); }, 3000))
        << text().toStdString();

    // A bookmark by Ctrl+Shift+F9 types its marker here; with the marker selected, ESC starts
    // from that bookmark.
    if (!form().CheckBox9->isChecked()) click(form().CheckBox9);
    seekBar(12000);
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    ASSERT_TRUE(waitUntil([&] { return text().contains(QStringLiteral("{z1}")); }, 3000)) << text().toStdString();
    seekBar(1000);
    QTextCursor marker = document().document()->find(QStringLiteral("{z1}"));
    document().setTextCursor(marker);
    tap(VK::Esc);
    ASSERT_TRUE(waitUntil([&] { return player().PlayState() == 3; }, 3000));
    EXPECT_NEAR(player().PositionMs(), 12000, 400);
    pause(500); // after the lock-out that follows an ESC
    tap(VK::Esc);
    ASSERT_TRUE(waitUntil([&] { return player().PlayState() != 3; }, 3000));
    const QString typed = text();

    // Alt+F4 to the main window ends the program; the next start shows the same text.
    endWithAltF4();
    startProgram();
    ASSERT_EQ(program().session().CurrentMediaPath, first);
    EXPECT_EQ(text(), typed);

    // A second recording gets a document of its own; going back brings the first one back.
    openThroughDialog(second);
    EXPECT_TRUE(text().isEmpty());
    showAndClickIntoText();
    type(QStringLiteral("2. Второй файл"));
    openThroughDialog(first);
    EXPECT_EQ(text(), typed);
    openThroughDialog(second);
    EXPECT_EQ(text(), QStringLiteral("2. Второй файл"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}
