#include "ProgramFixture.h"

#include "app/MediaOpener.h"
#include "persist/MediaKey.h"
#include "document/TFormOle.h"
#include "marks/BookmarkNavigator.h"
#include "marks/BookmarkTable.h"
#include "marks/TForm2.h"
#include "playback/MediaButtonBar.h"
#include "playback/PlayerFacade.h"
#include "playback/TFormWMP.h"
#include "app/MediaSettingsFile.h"
#include "persist/IniFile.h"

#include <QAction>
#include <QFileInfo>
#include <QStatusBar>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

class OpenerTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        messages.dialogs.clear(); // the first start's open dialog, cancelled
    }
    MediaOpener &opener() { return program->opener(); }
    void openPending(const QString &path)
    {
        program->session().PendingMediaPath = path;
        opener().OpenMediaFile();
    }
    QStringList recent()
    {
        QStringList captions;
        for (QAction *a : form().NH) captions << a->text();
        return captions;
    }
};

} // namespace

TEST(MediaOpenerRules, EngineChoice)
{
    const auto choose = MediaOpener::ChooseEngine;
    const int videoFilter = MediaOpener::AllInVideoFilter;
    EXPECT_EQ(choose(true, 0, std::nullopt, ".wav"), Engine::Mpc);
    EXPECT_EQ(choose(false, videoFilter, false, ".wav"), Engine::Wmp);
    EXPECT_EQ(choose(false, 2, false, ".mp3"), Engine::Mci); // settings say audio: an MP3 in the audio player
    EXPECT_EQ(choose(false, 2, true, ".wav"), Engine::Wmp);
    EXPECT_EQ(choose(false, 2, std::nullopt, ".wav"), Engine::Mci);
    EXPECT_EQ(choose(false, 2, std::nullopt, ".WAV"), Engine::Wmp); // only the exact lower case
    EXPECT_EQ(choose(false, 2, std::nullopt, ""), Engine::Wmp);
}

TEST(MediaOpenerRules, GroupCaptionIsCutToFit)
{
    const QString shortPath = QStringLiteral("/home/ann/a.wav");
    EXPECT_EQ(MediaOpener::GroupCaption(shortPath), " Файл: /home/ann/a.wav ");
    QString path = QStringLiteral("/");
    while (path.size() < 120) path += QStringLiteral("abcdefghi/");
    path = path.left(116) + QStringLiteral(".wav");
    ASSERT_EQ(path.size(), 120);
    const QString caption = MediaOpener::GroupCaption(path);
    EXPECT_EQ(caption, " Файл: " + path.left(25) + " ... " + path.right(71) + " ");
    EXPECT_EQ(caption.size(), 32 + 5 + 72);
}

TEST_F(OpenerTest, OpensIntoTheChosenEngineAndShowsTheLength)
{
    const QString wav = mediaFile(QStringLiteral("talk.wav"));
    mci.lengths[wav] = 83456;
    openPending(wav);
    EXPECT_EQ(program->session().CurrentMediaPath, wav);
    EXPECT_FALSE(program->session().VideoFlag);
    EXPECT_TRUE(form().MediaPlayer1->isVisibleTo(&form()));
    EXPECT_FALSE(form().MediaPlayer2->isVisibleTo(&form()));
    EXPECT_EQ(form().Label5->text(), "00:01:23.456");
    EXPECT_EQ(form().TrackBar1->maximum(), 83455);
    EXPECT_EQ(form().TrackBar1->value(), 0);
    EXPECT_EQ(form().GroupBox2->title(), " Файл: " + wav + " ");
    EXPECT_EQ(program->FormWMP()->windowTitle(), MakeMediaKey(wav));
    EXPECT_TRUE(program->FormOle()->windowTitle().endsWith(QStringLiteral("talk.ole")));

    const QString upper = mediaFile(QStringLiteral("Loud.WAV"));
    program->FormWMP()->show();
    openPending(upper);
    EXPECT_TRUE(program->session().VideoFlag);
    EXPECT_TRUE(form().MediaPlayer2->isVisibleTo(&form()));
    EXPECT_EQ(form().Label5->text(), "00:01:00.000");
    EXPECT_TRUE(program->FormWMP()->isVisible());

    openPending(wav); // back to the audio player: the video window goes away
    EXPECT_FALSE(program->FormWMP()->isVisible());
}

TEST_F(OpenerTest, MediaSettingsDecideTheEngineAndAreSavedAndLoaded)
{
    // audio.mp3 has a settings file that says it plays as audio; other files have none.
    const QString audio = mediaFile(QStringLiteral("audio.mp3"));
    const QString settings = MediaSettingsFile::PathFor(audio);
    {
        QFile f(settings);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[MAIN]\r\nVideo=0\r\nИнтервал A=00:00:05\r\n");
    }
    // A bookmark of the previous file, which every open clears.
    BookmarkTable &table = program->Form2()->StringGrid1;
    table.setCell(BookmarkTable::Number, 1, QStringLiteral("1"));
    table.setCell(BookmarkTable::Time, 1, QStringLiteral("00:00:01.000"));

    openPending(audio);
    EXPECT_FALSE(program->session().VideoFlag); // Video=0 in its settings: the audio player
    EXPECT_EQ(program->player().ActiveEngine(), Engine::Mci);
    EXPECT_EQ(form().MaskEdit1->text(), "00:00:05.000") << "its settings were loaded";
    EXPECT_TRUE(table.cell(BookmarkTable::Time, 1).isEmpty());
    // The start-up's skip flag was consumed: leaving audio.mp3 saves its settings.
    form().MaskEdit1->setText(QStringLiteral("00:00:07.000"));
    const QString video = mediaFile(QStringLiteral("video.mp3"));
    openPending(video);
    EXPECT_TRUE(program->session().VideoFlag);
    EXPECT_FALSE(QFileInfo::exists(MediaSettingsFile::PathFor(video))) << "nothing is written on opening";
    IniFile saved;
    ASSERT_TRUE(saved.load(settings));
    EXPECT_EQ(saved.value("MAIN", "Интервал A"), "00:00:07.000") << saved.toBytes().toStdString();

    // Without "per file" nothing is saved or loaded, but the probe still decides the engine.
    // The file left only claims its name, for the document kept under it.
    form().NZkl->setChecked(false);
    form().MaskEdit1->setText(QStringLiteral("00:00:09.000"));
    openPending(audio);
    EXPECT_EQ(program->player().ActiveEngine(), Engine::Mci);
    EXPECT_EQ(form().MaskEdit1->text(), "00:00:09.000");
    IniFile claimed;
    ASSERT_TRUE(claimed.load(MediaSettingsFile::PathFor(video)));
    EXPECT_EQ(claimed.value("MAIN", "Файл:"), video);
    EXPECT_EQ(claimed.value("MAIN", "Video"), "1");
    EXPECT_FALSE(claimed.contains("MAIN", "Интервал A"));
}

TEST_F(OpenerTest, DialogFilterForVideoStaysForLaterOpens)
{
    const QString wav = mediaFile(QStringLiteral("x.wav"));
    messages.filesToOpen << wav;
    form().OpenDialog1.filterIndex = MediaOpener::AllInVideoFilter; // as if the user picked it
    opener().OpenMediaFile();
    EXPECT_EQ(messages.dialogs.size(), 1);
    EXPECT_TRUE(program->session().VideoFlag);
    form().NH[0]->trigger(); // the recent-files menu, no dialog
    EXPECT_EQ(messages.dialogs.size(), 1);
    EXPECT_TRUE(program->session().VideoFlag);

    // A cancelled dialog changes nothing.
    opener().OpenMediaFile();
    EXPECT_EQ(messages.dialogs.size(), 2);
    EXPECT_EQ(program->session().CurrentMediaPath, wav);
}

TEST_F(OpenerTest, MissingAndBrokenFilesAreReported)
{
    const QString good = mediaFile(QStringLiteral("good.wav"));
    openPending(good);
    openPending(home.filePath(QStringLiteral("gone.wav")));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0], "Ошибка существования файла!|Файл: " + home.filePath("gone.wav"));
    EXPECT_EQ(program->session().CurrentMediaPath, good); // nothing else changed
    EXPECT_TRUE(program->session().PendingMediaPath.isEmpty());

    // A file the engine cannot open leaves no file open and nothing of the one before it.
    program->bookmarks().BitBtn1Click();
    form().ListBoxAB->addItem(QStringLiteral("00:00:01.000 - 00:00:02.000"));
    const QString broken = mediaFile(QStringLiteral("text.wav"));
    mci.broken[broken] = QStringLiteral("unrecognized file format");
    openPending(broken);
    ASSERT_EQ(messages.errors.size(), 2);
    EXPECT_TRUE(messages.errors[1].startsWith(QStringLiteral("Stenova|Не удалось открыть файл: ") + broken));
    EXPECT_TRUE(messages.errors[1].endsWith(QStringLiteral("unrecognized file format")));
    EXPECT_EQ(program->session().CurrentMediaPath, QString());
    EXPECT_EQ(form().GroupBox2->title(), " Звуковой файл ");
    EXPECT_TRUE(program->Form2()->StringGrid1.cell(BookmarkTable::Time, 1).isEmpty());
    EXPECT_EQ(form().ListBoxAB->count(), 0);
    program.reset(); // the end's saves write nothing under the broken file's name
    EXPECT_FALSE(QFileInfo::exists(MediaSettingsFile::PathFor(broken)));
    start();

    const QString brokenVideo = mediaFile(QStringLiteral("bad.mp4"));
    wmp.broken[brokenVideo] = QStringLiteral("loading failed");
    openPending(brokenVideo);
    ASSERT_EQ(messages.errors.size(), 3);
    EXPECT_TRUE(messages.errors[2].endsWith(QStringLiteral("loading failed")));

    // The program goes on: a good file still opens and plays.
    openPending(good);
    program->player().Play();
    clock.advance(500);
    EXPECT_EQ(program->player().PositionMs(), 500);
}

TEST_F(OpenerTest, RecentFilesMenu)
{
    QStringList paths;
    for (int i = 0; i < 11; ++i) paths << mediaFile(QStringLiteral("f%1.wav").arg(i));
    for (int i = 0; i < 4; ++i) opener().AddRecentFile(paths[i]);
    EXPECT_EQ(recent()[0], "&0. " + paths[3]);
    EXPECT_EQ(recent()[3], "&3. " + paths[0]);
    EXPECT_EQ(recent()[4], "4. "); // an item without a path stays shorter than four characters

    opener().AddRecentFile(paths[0]); // at position 3: moves to the top
    EXPECT_EQ(recent().mid(0, 4),
              QStringList({"&0. " + paths[0], "&1. " + paths[3], "&2. " + paths[2], "&3. " + paths[1]}));
    opener().AddRecentFile(paths[2].toUpper()); // letter case alone is the same entry
    EXPECT_EQ(recent()[0], "&0. " + paths[2].toUpper());
    EXPECT_EQ(recent()[4], "4. ");

    for (int i = 4; i < 11; ++i) opener().AddRecentFile(paths[i]);
    EXPECT_EQ(recent()[0], "&0. " + paths[10]);
    EXPECT_EQ(recent()[9], "&9. " + paths[3]); // the eleventh fell off
    EXPECT_FALSE(recent().join('|').contains(paths[1]));

    form().NH[9]->trigger();
    EXPECT_EQ(program->session().CurrentMediaPath, paths[3]);
    EXPECT_EQ(recent()[0], "&0. " + paths[3]);

    // An item without a path opens nothing and asks for nothing.
    form().NH[5]->setText(QStringLiteral("5. "));
    form().NH[5]->trigger();
    EXPECT_TRUE(messages.dialogs.isEmpty());
    EXPECT_EQ(program->session().CurrentMediaPath, paths[3]);
}

// An open asked for while another waits for its player (the user's keys and menus run
// meanwhile) is refused and said in the status line: the two files' state never mixes.
TEST_F(OpenerTest, AnOpenDuringAnOpenIsRefused)
{
    const QString first = mediaFile(QStringLiteral("first.mp3"));
    const QString second = mediaFile(QStringLiteral("second.mp3"));
    form().NMPC->setChecked(true);
    form().MPCHC->PlayerPath = mediaFile(QStringLiteral("mpv"));
    mpc.onStart = [&] {
        mpc.onStart = nullptr;
        program->session().PendingMediaPath = second;
        program->opener().OpenMediaFile();
        EXPECT_EQ(form().StatusBar1->currentMessage(), "Файл ещё открывается: новое открытие не начато.");
    };
    openPending(first);
    EXPECT_EQ(mpc.starts.size(), 1);
    EXPECT_TRUE(mpc.starts[0].contains(first));
    EXPECT_NE(program->session().CurrentMediaPath, second);
    openPending(second); // once the first open is over, the next one goes ahead
    EXPECT_EQ(mpc.starts.size(), 2);
}
