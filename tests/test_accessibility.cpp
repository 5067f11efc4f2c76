// The bookmarks window on the real program, read and set through the accessibility bus as a
// screen reader does: a bookmark set from another program shows in the grid, a comment typed
// into the grid is kept with the recording and comes back after a restart.
#include "RunningProgram.h"

#include "base/KeyCodes.h"
#include "marks/BookmarkTable.h"
#include "marks/TForm2.h"
#include "windows/TForm3.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

namespace {

class Accessibility : public RunningProgram {
protected:
    // Runs the accessibility client; the program keeps answering it meanwhile.
    QString probe(const QStringList &args, int *exitCode = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"),
                QStringList{QStringLiteral(STENOVA_ATSPI_PROBE), QApplication::applicationName()} + args);
        waitUntil([&] { return p.state() == QProcess::NotRunning; }, 30000);
        if (exitCode) *exitCode = p.exitCode();
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    QString gridRows() { return probe({QStringLiteral("cells"), QStringLiteral("Закладки")}); }
    void xdotool(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral("xdotool"), args);
        ASSERT_TRUE(waitUntil([&] { return p.state() == QProcess::NotRunning; }, 20000));
    }
};

} // namespace

TEST_F(Accessibility, BookmarkFromAnotherProgramReadAndCommentedThroughTheGridAndKeptAfterARestart)
{
    const QString media = recording(QStringLiteral("talk.wav"), 20);
    startProgram({media});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == media; }));
    seekBar(4000);
    startEditor(QStringLiteral("Текст"));
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    ASSERT_TRUE(waitUntil([&] { return program().Form2()->StringGrid1.cell(BookmarkTable::Name, 1) == "z1"; }));

    click(form().SpeedButton2); // "≡"
    TForm2 &window = *program().Form2();
    ASSERT_TRUE(waitUntil([&] { return window.isVisible(); }));
    EXPECT_EQ(gridRows(), QStringLiteral("1\tz1\t00:00:04.000")); // no comment yet

    // Set through the bus: the next name, and the selected row.
    probe({QStringLiteral("settext"), QStringLiteral("Следующее имя закладки"), QStringLiteral("7")});
    EXPECT_TRUE(waitUntil([&] { return window.EditNZ->text() == "7"; }));
    probe({QStringLiteral("select"), QStringLiteral("Закладки"), QStringLiteral("0")});
    EXPECT_TRUE(waitUntil([&] { return window.StringGridView->selectionModel()->isRowSelected(0, {}); }));

    // A comment typed into its cell with XTest, as a user types.
    QTableWidget &grid = *window.StringGridView;
    window.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return keys.foreground() == window.winId(); }));
    const QRect cell = grid.visualRect(grid.model()->index(0, BookmarkTable::Comment));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(&grid, Qt::Key_F2); // the cell's editor
    typeWithXTest(QStringLiteral("# tiho, shum 12"), [&grid] {
        const auto *editor = grid.viewport()->findChild<QLineEdit *>();
        return editor ? editor->text() : QString();
    });
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_TRUE(waitUntil([&] {
        return window.StringGrid1.cell(BookmarkTable::Comment, 1) == QStringLiteral("# tiho, shum 12");
    })) << window.StringGrid1.cell(BookmarkTable::Comment, 1).toStdString();

    // Ended by the window manager and started again: the comment comes back with the file.
    endWithAltF4();
    startProgram();
    ASSERT_EQ(program().session().CurrentMediaPath, media);
    click(form().SpeedButton2);
    ASSERT_TRUE(waitUntil([&] { return program().Form2()->isVisible(); }));
    EXPECT_EQ(gridRows(), QStringLiteral("1\tz1\t00:00:04.000\t# tiho, shum 12"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

// Ctrl+Alt+G from another program opens the go-to dialog; its time field is filled and OK
// pressed through the accessibility bus, and playback moves there. The interval list's items
// are read and one is chosen the same way.
TEST_F(Accessibility, GoToDialogFromAnotherProgramAndTheIntervalListThroughTheBus)
{
    const QString media = recording(QStringLiteral("talk.wav"), 20);
    startProgram({media, QStringLiteral("/ab"), QStringLiteral("1.0-2.0;3.0-4.5")});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == media; }));
    EXPECT_EQ(probe({QStringLiteral("items"), QStringLiteral("Список интервалов AB")}),
              QStringLiteral("1.0-2.0\n3.0-4.5"));
    probe({QStringLiteral("choose"), QStringLiteral("Список интервалов AB"), QStringLiteral("1")});
    EXPECT_TRUE(waitUntil([&] { return form().ListBoxAB->item(1)->isSelected(); }));

    startEditor(QStringLiteral("Текст"));
    // The dialog is modal: the client fills it while the program waits in it.
    QProcess client;
    client.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(STENOVA_ATSPI_PROBE), QApplication::applicationName(), QStringLiteral("fill"),
                  QStringLiteral("Перейти к позиции"), QStringLiteral("00:00:07.000"), QStringLiteral("OK")});
    // Should the client fail, the dialog is cancelled rather than left waiting for ever.
    QTimer::singleShot(30000, &form(), [this] {
        if (program().Form3()->isVisible()) program().Form3()->reject();
    });
    combo({VK::Ctrl, VK::Alt}, VK::G);
    ASSERT_TRUE(waitUntil([&] { return client.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(client.exitCode(), 0) << client.readAllStandardError().toStdString();
    EXPECT_TRUE(waitUntil([&] { return form().TrackBar1->value() == 7000; })) << form().TrackBar1->value();
    EXPECT_NEAR(player().PositionMs(), 7000, 50);
}
