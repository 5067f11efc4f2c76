// setting.ini and the media settings files through the whole program on test doubles: what a
// run leaves is what the next run finds.
#include "ProgramFixture.h"

#include "app/MediaSettingsFile.h"
#include "app/SettingsFile.h"
#include "base/MediaTime.h"
#include "document/TFormOle.h"
#include "marks/TForm2.h"
#include "marks/IntervalList.h"
#include "persist/IniFile.h"
#include "playback/PlayerFacade.h"
#include "playback/TFormWMP.h"
#include "widgets/Controls.h"
#include "windows/Speakers.h"
#include "windows/TForm3.h"
#include "windows/TForm5.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

class SettingsTest : public ProgramTest {
protected:
    void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
    }
    QString settingsPath() { return home.filePath(QStringLiteral("setting.ini")); }
    IniFile read(const QString &path)
    {
        IniFile ini;
        EXPECT_TRUE(ini.load(path));
        return ini;
    }
    // A media file the test players open, 10 minutes long.
    QString media(const QString &name)
    {
        const QString path = mediaFile(name);
        mci.lengths[path] = wmp.lengths[path] = 600000;
        return path;
    }
    // The user closes the program and starts it again.
    void restart()
    {
        form().close();
        program.reset();
        start();
    }
    BookmarkTable &table() { return program->Form2()->StringGrid1; }
};

QString Comment(int i)
{
    switch (i % 4) {
    case 0: return QStringLiteral("Реплика №%1: «важно»").arg(i);
    case 1: return QStringLiteral("# пропустить %1").arg(i);
    case 2: return QStringLiteral("строка %1\nвторая строка\r\n[MAIN]").arg(i);
    default: return QString();
    }
}

} // namespace

// Everything a user sets for a recording comes back at the next start, which reopens it.
TEST_F(SettingsTest, EveryControlAndListSurvivesAShutdownAndTheNextStart)
{
    start();
    const QString talk = media(QStringLiteral("talk.wav"));
    messages.filesToOpen << talk;
    form().Button1->click();
    ASSERT_EQ(program->session().CurrentMediaPath, talk);

    TForm1 &f = form();
    f.UpDown1->setPosition(3);
    f.CheckBox1->setChecked(true);
    f.UpDown2->setPosition(12);
    f.UpDown3->setPosition(5);
    f.UpDown4->setPosition(2);
    f.CheckBox2->setChecked(false);
    f.CheckBox3->setChecked(true);
    f.CheckBox4->setChecked(true);
    f.UpDown5->setPosition(4);
    f.CheckBox5->setChecked(true);
    f.CheckBox12->setChecked(true);
    f.RadioButton1->setChecked(true);
    f.N20->setChecked(false);
    f.N15->setChecked(false);
    f.CheckBox11->setChecked(true);
    f.CheckBox9->setChecked(true);
    f.MaskEdit1->setText(QStringLiteral("00:01:02.345"));
    f.MaskEdit2->setText(QStringLiteral("00:02:03.456"));
    f.CheckBox6->setChecked(true);
    f.CheckBox13->setChecked(true);
    f.UpDown6->setPosition(3);
    f.CheckBox8->setChecked(true);
    f.CheckBox10->setChecked(true);
    f.UpDown7->setPosition(2);
    f.CheckBox7->setChecked(true);
    f.CheckBox15->setChecked(true);
    f.UpDown8->setPosition(4);
    f.CheckBox14->setChecked(true); // the AB interval by N bookmarks, not from the list
    for (const char *item : {"00:00:01.000-00:00:02.000", "0.5-1.5", "не интервал"}) f.ListBoxAB->addItem(item);
    f.ListBoxAB->setCurrentRow(1);
    Speakers &speakers = program->speakers();
    speakers.SpeakerNames[0] = QStringLiteral("  Иванов ");
    speakers.SpeakerNames[8] = QStringLiteral("Петров");
    speakers.SpeakerPrefix = QStringLiteral("\n— ");
    speakers.SpeakerSuffix = QStringLiteral(": ");
    program->Form3()->ComboBoxG->addItems({"00:05:00.000", "1:00", "90"});
    table().setRowCount(1001);
    for (int i = 1; i <= 1000; ++i) {
        table().setCell(BookmarkTable::Number, i, QString::number(i));
        table().setCell(BookmarkTable::Name, i, QStringLiteral("z%1").arg(i));
        table().setCell(BookmarkTable::Time, i, MsToTimeText(i * 500));
        table().setCell(BookmarkTable::Comment, i, Comment(i));
    }
    program->Form2()->EditNZ->setText(QStringLiteral("1001"));
    f.TrackBar1->tag = SeekUser;
    f.TrackBar1->setValue(123456);
    program->FormWMP()->hide();
    program->Form5()->show();
    restart();
    TForm1 &g = form();
    EXPECT_EQ(program->session().CurrentMediaPath, talk) << "the last file is opened again";
    EXPECT_EQ(g.UpDown1->position(), 3);
    EXPECT_TRUE(g.CheckBox1->isChecked());
    EXPECT_EQ(g.Edit2->text(), "12");
    EXPECT_EQ(g.Edit3->text(), "5");
    EXPECT_EQ(g.Edit4->text(), "2");
    EXPECT_FALSE(g.CheckBox2->isChecked());
    EXPECT_TRUE(g.CheckBox3->isChecked());
    EXPECT_TRUE(g.CheckBox4->isChecked());
    EXPECT_EQ(g.Edit5->text(), "4");
    EXPECT_TRUE(g.CheckBox5->isChecked());
    EXPECT_TRUE(g.CheckBox12->isChecked());
    EXPECT_TRUE(g.RadioButton1->isChecked());
    EXPECT_FALSE(g.RadioButton2->isChecked());
    EXPECT_FALSE(g.N20->isChecked());
    EXPECT_FALSE(g.N15->isChecked());
    EXPECT_TRUE(g.CheckBox11->isChecked());
    EXPECT_TRUE(g.CheckBox9->isChecked());
    EXPECT_EQ(g.MaskEdit1->text(), "00:01:02.345");
    EXPECT_EQ(g.MaskEdit2->text(), "00:02:03.456");
    for (QCheckBox *box :
         {g.CheckBox6, g.CheckBox13, g.CheckBox8, g.CheckBox10, g.CheckBox7, g.CheckBox15, g.CheckBox14})
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_FALSE(g.CheckBox16->isChecked());
    EXPECT_EQ(g.UpDown6->position(), 3);
    EXPECT_EQ(g.UpDown7->position(), 2);
    EXPECT_EQ(g.UpDown8->position(), 4);
    ASSERT_EQ(g.ListBoxAB->count(), 3);
    EXPECT_EQ(g.ListBoxAB->item(2)->text(), "не интервал");
    EXPECT_EQ(g.ListBoxAB->currentRow(), 1);
    EXPECT_EQ(program->speakers().SpeakerNames[0], "  Иванов ") << "blanks kept by the pilcrows";
    EXPECT_EQ(program->speakers().SpeakerNames[8], "Петров");
    EXPECT_EQ(program->speakers().SpeakerPrefix, "\n— ");
    EXPECT_EQ(program->speakers().SpeakerSuffix, ": ");
    EXPECT_EQ(program->Form5()->Edit11->text(), ": ");
    EXPECT_EQ(g.N23x[0]->text(), "&1.   Иванов ");
    EXPECT_EQ(g.N23x[1]->text(), "Участник&2: ");
    QStringList history;
    for (int i = 0; i < program->Form3()->ComboBoxG->count(); ++i) history << program->Form3()->ComboBoxG->itemText(i);
    EXPECT_EQ(history, QStringList({"00:05:00.000", "1:00", "90"}));
    ASSERT_EQ(table().rowCount(), 1001);
    for (int i : {1, 2, 3, 4, 999, 1000}) {
        EXPECT_EQ(table().cell(BookmarkTable::Name, i), QStringLiteral("z%1").arg(i));
        EXPECT_EQ(table().cell(BookmarkTable::Time, i), MsToTimeText(i * 500));
        EXPECT_EQ(table().cell(BookmarkTable::Comment, i), Comment(i)) << i;
    }
    EXPECT_EQ(program->Form2()->EditNZ->text(), "1001");
    // Rows on one pixel column share its mark; the later row has it.
    EXPECT_TRUE(g.MarkImages[table().slot(1000)].visible);
    EXPECT_EQ(g.MarkImages[table().slot(1000)].tag, 1000);
    EXPECT_EQ(g.TrackBar1->value(), 123456);
    EXPECT_EQ(program->player().PositionMs(), 123456);
    EXPECT_FALSE(program->FormWMP()->isVisible());
    EXPECT_TRUE(program->Form5()->isVisible());
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(u'\n').toStdString();
}

TEST_F(SettingsTest, KeysWrittenForTheUserAreWrittenAndUnknownKeysStay)
{
    writeFile(settingsPath(), "[MAIN]\r\nЧужой ключ=оставить\r\n[Своё]\r\nx=1\r\n");
    start();
    program->Form2()->EditNZ->setText(QStringLiteral("7"));
    restart();
    const IniFile ini = read(settingsPath());
    EXPECT_EQ(ini.value("MAIN", "Чужой ключ"), "оставить");
    EXPECT_EQ(ini.value("Своё", "x"), "1");
    EXPECT_EQ(ini.value("MAIN", "Следующее имя закладки"), "7");
    for (const char *key : {"Размер шрифта закладок", "Ширина комментария закладки",
                            "Отслеживать проигрываемую закладку", "Position", "Файл:", "и cтоп по пробелу"})
        EXPECT_TRUE(ini.contains("MAIN", key)) << key;
    // Captions are written as they stand at the end of a run (the load's write-back trims them).
    EXPECT_EQ(form().NH[0]->text(), "0. ");
    program.reset();
    QFile raw(settingsPath());
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.contains("History0=0. \r\n") && bytes.contains("History9=9. \r\n")) << bytes.toStdString();
    EXPECT_FALSE(ini.contains("GOTOTIME", "RowCount")) << "setting.ini keeps no go-to history";
    EXPECT_TRUE(ini.contains("BOOKMARKS", "RowCount"));
}

// A setting.ini as the program wrote it on Windows, edited by hand.
TEST_F(SettingsTest, AHandWrittenSettingsFileLoadsAsWritten)
{
    writeFile(settingsPath(), "\xEF\xBB\xBF[MAIN]\r\n"
                              "Шаг=2\r\nПериод=15\r\nПауза=6\r\nШаг назад=3\r\n"
                              "Переключатель пауза=0\r\nПереключатель ожидание=0\r\n"
                              "Флаг шаг назад ESC=2\r\n"
                              "Интервал A=00:00:10\r\nИнтервал B=00:00:20.\r\n"
                              "Участник1=¶¶Анна¶\r\nУчастникПосле=¶: ¶\r\n"
                              "Файл:=D:\\Записи\\день1.mp3\r\n"
                              "[History]\r\nHistory0=&0. D:\\Записи\\день1.mp3\r\nHistory1=1. \r\n");
    start();
    TForm1 &f = form();
    EXPECT_EQ(f.UpDown1->position(), 2);
    EXPECT_EQ(f.Edit2->text(), "15");
    EXPECT_EQ(f.Edit3->text(), "6");
    EXPECT_EQ(f.Edit4->text(), "3");
    EXPECT_FALSE(f.RadioButton1->isChecked());
    EXPECT_FALSE(f.RadioButton2->isChecked()) << "both stored as 0: neither is selected";
    EXPECT_FALSE(f.CheckBox4->isChecked()) << "a flag stored as 2 is off";
    EXPECT_EQ(f.MaskEdit1->text(), "00:00:10.000");
    EXPECT_EQ(f.MaskEdit2->text(), "00:00:20.000");
    EXPECT_EQ(program->speakers().SpeakerNames[0], "Анна");
    EXPECT_EQ(program->Form5()->Edit11->text(), ": ");
    EXPECT_EQ(f.NH[0]->text(), "&0. D:\\Записи\\день1.mp3");
    EXPECT_EQ(f.NH[1]->text(), "1. ");
    EXPECT_EQ(f.NH[2]->text(), "2. ");
    // The stored file is not there: reported, nothing opened, and not stored again.
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0], "Ошибка существования файла!|Файл: D:\\Записи\\день1.mp3");
    EXPECT_TRUE(program->session().CurrentMediaPath.isEmpty());
    EXPECT_TRUE(messages.dialogs.isEmpty());
    restart();
    EXPECT_EQ(read(settingsPath()).value("MAIN", "Файл:"), "");
}

TEST_F(SettingsTest, TheFirstStartAsksForAFileUnlessTheCommandLineNamesOne)
{
    start();
    EXPECT_EQ(messages.dialogs.size(), 1);
    EXPECT_FALSE(form().isVisible()) << "asked before the main window is shown";
    forgetSettings();
    messages.dialogs.clear();
    const QString talk = media(QStringLiteral("talk.wav"));
    start({talk});
    form().show();
    EXPECT_TRUE(messages.dialogs.isEmpty());
    EXPECT_EQ(program->session().CurrentMediaPath, talk);
}

// An external player path that exists but names no player is refused at start-up, and the
// option goes off when no better one is given.
TEST_F(SettingsTest, TheExternalPlayerOptionChecksItsPathAtStartUp)
{
    const QString notAPlayer = mediaFile(QStringLiteral("notes.txt"));
    writeFile(settingsPath(), "[MAIN]\r\nВсе файлы открывать в MPC-HC проигрывателе=1\r\nПуть к MPC-HC проигрывателю=" +
                                  notAPlayer.toUtf8() + "\r\n");
    start();
    ASSERT_GE(messages.errors.size(), 2);
    EXPECT_TRUE(messages.errors[0].startsWith(QStringLiteral("Ошибка!|Не найден файл проигрывателя (mpv)")));
    EXPECT_FALSE(form().NMPC->isChecked());
    EXPECT_TRUE(form().EditNMPC->text().isEmpty()) << "the refused dialog left no path";
}

TEST_F(SettingsTest, AValueThatIsNoNumberIsSkippedSaidAndKept)
{
    writeFile(settingsPath(), "[MAIN]\r\nШаг=4\r\nПериод=много\r\nПауза=9\r\n[History]\r\nHistory0=&0. /a.wav\r\n");
    start();
    EXPECT_EQ(form().UpDown1->position(), 4);
    EXPECT_EQ(form().Edit3->text(), "9") << "the keys after it are read";
    EXPECT_EQ(form().NH[0]->text(), "&0. /a.wav") << "the recent files too";
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].startsWith("Внимание!|Ошибка в блоке кода LoadFromSettingsINI"));
    EXPECT_TRUE(messages.errors[0].contains("MAIN/Период"));
    program.reset();
    EXPECT_EQ(read(settingsPath()).value("MAIN", "Период"), "много") << "what could not be read is kept";
    EXPECT_EQ(read(settingsPath()).value("History", "History0"), "&0. /a.wav");
}

TEST_F(SettingsTest, MediaSettingsFileCasesOfBookmarksAndCounts)
{
    start();
    const QString talk = media(QStringLiteral("talk.wav"));
    const QString path = MediaSettingsFile::PathFor(talk);
    EXPECT_TRUE(path.endsWith(QStringLiteral("/AvtoSave/") + QFileInfo(home.path()).fileName() +
                              QStringLiteral(" ~ talk.wav.ini")));
    const QString other = media(QStringLiteral("other.wav"));
    // Opening a file saves the settings of the one open before: each case leaves talk.wav for
    // another file, writes its settings file and opens it.
    const auto openWith = [&](const QByteArray &settings) {
        program->session().PendingMediaPath = other;
        program->opener().OpenMediaFile();
        writeFile(path, settings);
        program->session().PendingMediaPath = talk;
        program->opener().OpenMediaFile();
    };
    for (const char *rows : {"0", "1"}) {
        openWith(QByteArray("[BOOKMARKS]\r\nRowCount=") + rows + "\r\nBM1-1=00:00:01\r\n");
        EXPECT_EQ(table().rowCount(), 2) << rows;
        EXPECT_TRUE(table().cell(BookmarkTable::Time, 1).isEmpty()) << rows;
        int visible = 0;
        for (int i = 0; i < form().MarkImages.size(); ++i) visible += form().MarkImages[i].visible;
        EXPECT_EQ(visible, 0) << rows;
    }
    openWith("[MAIN]\r\nVideo=1\r\n[BOOKMARKS]\r\nRowCount=3\r\nBM1-1=00:00:01\r\nBM1-2=#тихо\r\nBM1-3=z1\r\n"
             "BM2-1=00:05:00\r\nBM2-3=z2\r\n[ABLIST]\r\nRowCount=1\r\nAB1=1-2\r\nAB2=осталось\r\n");
    EXPECT_TRUE(program->session().VideoFlag) << "Video=1 plays a WAV in the video window";
    EXPECT_EQ(program->player().ActiveEngine(), Engine::Wmp);
    EXPECT_EQ(table().cell(BookmarkTable::Time, 1), "00:00:01.000");
    EXPECT_EQ(table().cell(BookmarkTable::Time, 2), "00:05:00.000");
    EXPECT_TRUE(form().MarkImages[table().slot(1)].blue);
    EXPECT_FALSE(form().MarkImages[table().slot(2)].blue);
    EXPECT_EQ(form().ListBoxAB->count(), 1);
    // A shorter list leaves the keys of the items beyond it.
    form().ListBoxAB->clear();
    program->Form2()->EditNZ->setText(QStringLiteral("3"));
    program->mediaSettings().SaveToINIVideo(talk);
    const IniFile saved = read(path);
    EXPECT_EQ(saved.value("ABLIST", "RowCount"), "0");
    EXPECT_EQ(saved.value("ABLIST", "AB2"), "осталось");
    EXPECT_EQ(saved.value("ABLIST", "ItemIndex"), "-1");

    // A bad value is skipped and said; the rest loads, and a bad count of bookmarks is taken
    // from the bookmarks there. The next save keeps what could not be read.
    form().CheckBox7->setChecked(false);
    openWith("[MAIN]\r\nавтоповтор файла=1\r\nМеж закладок N=x\r\nинтервал=1\r\n[BOOKMARKS]\r\nRowCount=?\r\n"
             "BM1-1=00:00:01\r\nBM1-3=z1\r\nBM2-1=00:00:02\r\nBM2-3=z2\r\n");
    EXPECT_TRUE(form().CheckBox6->isChecked());
    EXPECT_TRUE(form().CheckBox7->isChecked()) << "the load went on after the count";
    EXPECT_EQ(table().cell(BookmarkTable::Name, 2), "z2");
    EXPECT_TRUE(messages.errors.last().startsWith("Внимание!|Ошибка в блоке кода LoadFromINIMedia"));
    EXPECT_TRUE(messages.errors.last().contains("MAIN/Меж закладок N"));
    ASSERT_TRUE(program->mediaSettings().SaveToINIVideo(talk));
    EXPECT_EQ(read(path).value("MAIN", "Меж закладок N"), "x");
    EXPECT_EQ(read(path).value("BOOKMARKS", "RowCount"), "3");
    // A bookmark without its time keeps none, load after load.
    openWith("[BOOKMARKS]\r\nRowCount=3\r\nBM1-1=00:00:01\r\nBM2-3=z2\r\n");
    EXPECT_TRUE(table().cell(BookmarkTable::Time, 2).isEmpty()) << table().cell(BookmarkTable::Time, 2).toStdString();

    // The probe's own box (the engine is then chosen as for a file without settings), then the
    // full load's, which reads the same key.
    openWith("[MAIN]\r\nVideo=да\r\n");
    EXPECT_EQ(messages.errors[messages.errors.size() - 2], "Внимание!|Ошибка в блоке кода LoadFromINIVideo");
    EXPECT_TRUE(messages.errors.last().startsWith("Внимание!|Ошибка в блоке кода LoadFromINIMedia"));
    EXPECT_EQ(program->player().ActiveEngine(), Engine::Mci);
}

// What a user sets for a recording reaches its settings file within a second, with no open or
// exit in between, so that a crash keeps it; playing alone writes nothing.
TEST_F(SettingsTest, ARecordingsStateReachesItsFileWithinASecond)
{
    start();
    const QString talk = media(QStringLiteral("talk.wav"));
    const QString path = MediaSettingsFile::PathFor(talk);
    writeFile(path, "[BOOKMARKS]\r\nRowCount=2\r\nBM1-1=00:00:01\r\nBM1-3=z1\r\n");
    program->session().PendingMediaPath = talk;
    program->opener().OpenMediaFile();
    ASSERT_EQ(table().cell(BookmarkTable::Name, 1), "z1");
    ASSERT_TRUE(QFile::remove(path));
    program->player().Play();
    clock.advance(3000);
    EXPECT_FALSE(QFile::exists(path)) << "the position is no change";
    table().setCell(BookmarkTable::Comment, 1, QStringLiteral("шум"));
    form().ListBoxAB->addItem(QStringLiteral("00:00:01.000 - 00:00:02.000"));
    clock.advance(1000);
    ASSERT_TRUE(QFile::exists(path));
    const IniFile saved = read(path);
    EXPECT_EQ(saved.value("BOOKMARKS", "BM1-2"), QStringLiteral("шум"));
    EXPECT_EQ(saved.value("ABLIST", "RowCount"), "1");
    EXPECT_EQ(saved.value("MAIN", "Файл:"), talk);
}

TEST_F(SettingsTest, WindowsComeBackWhereTheyWereAndALostMainWindowComesHome)
{
    start();
    program->FormOle()->show();
    program->FormOle()->setGeometry(300, 200, 500, 400);
    const QRect textAt = program->FormOle()->geometry();
    program->FormWMP()->hide();
    form().setGeometry(20, 30, 1000, 500);
    restart();
    EXPECT_EQ(program->FormOle()->geometry(), textAt);
    EXPECT_TRUE(program->FormOle()->isVisible());
    EXPECT_FALSE(program->FormWMP()->isVisible()) << "closed at the end, closed at the start";
    EXPECT_EQ(form().size(), QSize(1000, 500));

    // With the external player on the video window stays hidden whatever the file says.
    form().close();
    program.reset();
    IniFile ini = read(settingsPath());
    ini.setValue("FormWMP", "Видимость окна видео", "1");
    ini.setValue("MAIN", "Все файлы открывать в MPC-HC проигрывателе", "1");
    ini.setValue("MAIN", "Путь к MPC-HC проигрывателю", mediaFile(QStringLiteral("mpv")));
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    ini.setValue("Form1", "Left", QString::number(screenWidth - 50));
    ASSERT_TRUE(ini.save());
    start();
    EXPECT_FALSE(program->FormWMP()->isVisible());
    EXPECT_EQ(form().geometry().x(), screenWidth - 50) << "50 pixels still on the screen: it stays";

    program.reset();
    ini = read(settingsPath());
    ini.setValue("Form1", "Left", QString::number(screenWidth - 49));
    ASSERT_TRUE(ini.save());
    start();
    EXPECT_EQ(form().geometry(), QRect(0, 0, 1280, 600));
}
