// The text window on the real program: typed into with XTest, ESC, the speakers and the
// bookmark markers working with it as with another program's editor, and its document kept per
// recording across a restart.
#include "RunningProgram.h"

#include "automation/TextInjection.h"
#include "base/KeyCodes.h"
#include "document/DocumentContainer.h"
#include "document/TFormOle.h"
#include "marks/BookmarkTable.h"
#include "marks/TForm2.h"
#include "persist/IniFile.h"
#include "persist/MediaKey.h"
#include "windows/TForm5.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QDir>
#include <QStatusBar>
#include <QTableWidget>
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
    static QString CaptionOf(const QString &media)
    {
        return QFileInfo(MakeMediaKey(media)).completeBaseName() + QStringLiteral(".ole");
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
    form().N23->trigger(); // the speakers window: a name, kept with "ОК"
    program().Form5()->Edits[0]->setText(QStringLiteral("Анна"));
    click(program().Form5()->Button1);

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
    QString typed = text();

    // Alt+F4 to the main window ends the program; the next start shows the same text, and the
    // speaker key types the kept name, the speakers window not shown since.
    endWithAltF4();
    startProgram();
    ASSERT_EQ(program().session().CurrentMediaPath, first);
    EXPECT_EQ(text(), typed);
    showAndClickIntoText();
    combo({VK::Ctrl, VK::Shift}, VK::Digit0 + 1);
    ASSERT_TRUE(waitUntil([&] { return text().count(QStringLiteral("Анна")) == 2; }, 3000)) << text().toStdString();
    typed = text();

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

namespace {

// Two recordings of one folder and file name in two places, and one whose names are longer
// than a file name may be. What is typed is Latin: the virtual keyboard has spare keys for only
// so many Cyrillic letters, and the tests before these have taken many.
class KeptPerRecording : public TextWindow {
protected:
    QString inFolder(const QString &folder, const QString &name, double seconds)
    {
        QDir().mkpath(home.filePath(folder));
        const QString path = home.filePath(folder + u'/' + name);
        EXPECT_TRUE(QFile::copy(recording(QStringLiteral("source.wav"), seconds), path));
        QFile::remove(home.filePath(QStringLiteral("source.wav")));
        return path;
    }
    // The open dialog answered with a file that may not open.
    void chooseInDialog(const QString &path)
    {
        fileToChoose = path;
        click(form().Button1);
        ASSERT_TRUE(fileToChoose.isEmpty()) << "no open dialog came";
    }
    BookmarkTable &table() { return program().Form2()->StringGrid1; }
    QString work(const QString &name) { return home.filePath(QStringLiteral("AvtoSave/") + name); }
};

} // namespace

// Each recording shows its own text and bookmarks, however it is opened (the open dialog, the
// command line while setting.ini names another) and however it is named: two recordings of one
// name in two folders, and one with names too long for a file.
TEST_F(KeptPerRecording, EachRecordingShowsItsOwnTextHoweverItIsOpenedAndNamed)
{
    const QString a = inFolder(QStringLiteral("курс1/лекция"), QStringLiteral("01.wav"), 10);
    const QString b = inFolder(QStringLiteral("курс2/лекция"), QStringLiteral("01.wav"), 10);
    const QString c = inFolder(QString(90, QChar(u'д')), QString(80, QChar(u'ф')) + QStringLiteral(".wav"), 10);
    ASSERT_GT((MakeMediaKey(c) + QStringLiteral(".ole")).toUtf8().size(), 255);
    startProgram({a});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == a; }));
    showAndClickIntoText();
    type(QStringLiteral("text A"));
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    ASSERT_TRUE(waitUntil([&] { return !table().cell(BookmarkTable::Time, 1).isEmpty(); }));

    openThroughDialog(b);
    EXPECT_TRUE(text().isEmpty()) << text().toStdString();
    EXPECT_TRUE(table().cell(BookmarkTable::Time, 1).isEmpty());
    showAndClickIntoText();
    type(QStringLiteral("text B"));
    openThroughDialog(c);
    EXPECT_TRUE(text().isEmpty()) << text().toStdString();
    showAndClickIntoText();
    type(QStringLiteral("text C"));
    openThroughDialog(a);
    EXPECT_EQ(text(), QStringLiteral("text A"));
    EXPECT_FALSE(table().cell(BookmarkTable::Time, 1).isEmpty());
    openThroughDialog(c);
    EXPECT_EQ(text(), QStringLiteral("text C"));
    endWithAltF4();

    // setting.ini names the long one; the command line names b: b's own text shows, and the
    // end saves it as b's, never the other way round.
    startProgram({b});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == b; }));
    EXPECT_EQ(text(), QStringLiteral("text B"));
    EXPECT_EQ(window().windowTitle(), CaptionOf(b));
    showAndClickIntoText();
    type(QStringLiteral(", added"));
    endWithAltF4();
    startProgram({a});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == a; }));
    EXPECT_EQ(text(), QStringLiteral("text A"));
    openThroughDialog(b);
    EXPECT_EQ(text(), QStringLiteral("text B, added"));
    openThroughDialog(c);
    EXPECT_EQ(text(), QStringLiteral("text C"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

// A recording the player cannot open leaves no recording open and nothing of the one before it
// to be saved under its name; a settings file with a value that cannot be read loses nothing.
TEST_F(KeptPerRecording, ABrokenRecordingOrABadValueLosesNothing)
{
    const QString a = inFolder(QStringLiteral("курс"), QStringLiteral("a.wav"), 20);
    startProgram({a});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == a; }));
    for (int ms : {2000, 6000}) {
        seekBar(ms);
        combo({VK::Ctrl, VK::Shift}, VK::F9);
    }
    ASSERT_TRUE(waitUntil([&] { return table().cell(BookmarkTable::Time, 2) == "00:00:06.000"; }));
    const QString broken = home.filePath(QStringLiteral("курс/broken.wav"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a recording");
    file.close();
    chooseInDialog(broken);
    ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }));
    EXPECT_TRUE(messages.last().startsWith("Не удалось открыть файл: " + broken)) << messages.last().toStdString();
    EXPECT_TRUE(program().session().CurrentMediaPath.isEmpty());
    EXPECT_TRUE(table().cell(BookmarkTable::Time, 1).isEmpty());
    endWithAltF4();
    EXPECT_FALSE(QFile::exists(work(MakeMediaKey(broken) + ".ini")));
    IniFile kept;
    ASSERT_TRUE(kept.load(work(MakeMediaKey(a) + ".ini")));
    EXPECT_EQ(kept.value("BOOKMARKS", "RowCount"), "3");

    // One value that is no number: the rest loads, and the file keeps it all.
    kept.setValue("MAIN", "Меж закладок N", "x");
    ASSERT_TRUE(kept.save());
    messages.clear();
    startProgram({a});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == a; }));
    EXPECT_EQ(table().cell(BookmarkTable::Time, 2), "00:00:06.000");
    ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }));
    EXPECT_TRUE(messages.join(u'\n').contains("MAIN/Меж закладок N"));
    endWithAltF4();
    ASSERT_TRUE(kept.load(work(MakeMediaKey(a) + ".ini")));
    EXPECT_EQ(kept.value("BOOKMARKS", "RowCount"), "3");
    EXPECT_EQ(kept.value("MAIN", "Меж закладок N"), "x");
}

// A comment being typed into the bookmark grid is kept when a hot key adds a bookmark, which
// moves the grid's selection.
TEST_F(KeptPerRecording, ACommentBeingTypedIsKeptWhenAHotKeyMovesTheSelection)
{
    const QString a = inFolder(QStringLiteral("курс"), QStringLiteral("a.wav"), 20);
    startProgram({a});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == a; }));
    seekBar(2000);
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    ASSERT_TRUE(waitUntil([&] { return !table().cell(BookmarkTable::Time, 1).isEmpty(); }));
    click(form().SpeedButton2); // the bookmarks window
    TForm2 &bookmarks = *program().Form2();
    ASSERT_TRUE(waitUntil([&] { return keys.foreground() == bookmarks.winId(); }));
    QTableWidget *grid = bookmarks.StringGridView;
    ASSERT_TRUE(waitUntil([&] { return grid->visualRect(grid->model()->index(0, BookmarkTable::Comment)).isValid(); }));
    const QRect cell = grid->visualRect(grid->model()->index(0, BookmarkTable::Comment));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(grid, Qt::Key_F2); // edits the cell
    ASSERT_TRUE(waitUntil([&] { return grid->viewport()->isAncestorOf(QApplication::focusWidget()); }));
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    typeWithXTest(QStringLiteral("loud"), [&] { return editor->text(); });
    seekBar(6000);
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    ASSERT_TRUE(waitUntil([&] { return !table().cell(BookmarkTable::Time, 2).isEmpty(); }));
    EXPECT_EQ(table().cell(BookmarkTable::Comment, 1), QStringLiteral("loud"));
}

// A document that cannot be saved (a folder where its file should be) is said, with its name,
// and the open that would leave it is refused, its text still in the window; once it can be
// saved, the open goes on and the status line says so. A damaged template is set aside.
TEST_F(KeptPerRecording, AFailedSaveIsSaidAndTheTextStaysUntilItIsSaved)
{
    const QString a = inFolder(QStringLiteral("курс"), QStringLiteral("a.wav"), 10);
    const QString b = inFolder(QStringLiteral("курс"), QStringLiteral("b.wav"), 10);
    startProgram({a});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == a; }));
    showAndClickIntoText();
    type(QStringLiteral("text A"));
    const QString own = work(MakeMediaKey(a) + ".ole");
    ASSERT_TRUE(QDir().mkpath(own));
    QFile tmpl(work("TemplateNewFile.ole"));
    ASSERT_TRUE(tmpl.open(QIODevice::WriteOnly));
    tmpl.write("damaged");
    tmpl.close();

    chooseInDialog(b);
    ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }));
    EXPECT_TRUE(messages.last().contains(own)) << messages.last().toStdString();
    EXPECT_EQ(program().session().CurrentMediaPath, a);
    EXPECT_EQ(text(), QStringLiteral("text A"));
    EXPECT_TRUE(form().StatusBar1->currentMessage().startsWith("Другой файл не открыт"));

    QDir(own).removeRecursively();
    messages.clear();
    openThroughDialog(b);
    EXPECT_EQ(form().StatusBar1->currentMessage(), "Файл снова сохранён: " + own);
    ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }));
    EXPECT_TRUE(messages.last().contains(work("TemplateNewFile (повреждён).ole"))) << messages.last().toStdString();
    EXPECT_TRUE(text().isEmpty());
    EXPECT_TRUE(QFile::exists(work("TemplateNewFile (повреждён).ole")));
    endWithAltF4();
    DocumentContainer saved;
    saved.LoadFromFile(own);
    EXPECT_EQ(saved.toPlainText(), QStringLiteral("text A"));
}
