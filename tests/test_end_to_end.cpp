// The real program as a user meets it, on the virtual desktop: real players, real timers,
// keys from XTest, a second program as the text window, the media-player interface.
#include "RunningProgram.h"
#include "WindowTexts.h"

#include "document/TFormOle.h"
#include "marks/BookmarkNavigator.h"
#include "persist/IniFile.h"
#include "persist/MediaKey.h"
#include "windows/Speakers.h"
#include "automation/TextInjection.h"
#include "marks/TForm2.h"
#include "playback/TFormWMP.h"
#include "windows/InfoWindows.h"
#include "windows/TForm3.h"
#include "playback/MediaButtonBar.h"
#include "platform/FootPedal.h"
#include "forms/PedalWindow.h"
#include "marks/BookmarkTable.h"
#include "windows/TForm5.h"
#include "widgets/SpeedBox.h"

#include <QAction>
#include <QCheckBox>
#include <QDBusConnection>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QToolButton>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The Seeked signal as another program on the session bus receives it.
class SeekedSignals : public QObject {
    Q_OBJECT
public:
    SeekedSignals()
    {
        QDBusConnection::sessionBus().connect(QString(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                              QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Seeked"),
                                              this, SLOT(seeked(qlonglong)));
    }
    QList<qlonglong> positionsUs;

public slots:
    void seeked(qlonglong us) { positionsUs << us; }
};

// The libmpv players running in this process: each has one core thread.
int MpvCores()
{
    int cores = 0;
    for (const QString &task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "mpv/mpv core") ++cores;
    }
    return cores;
}

std::string PlayerName(const ::testing::TestParamInfo<Engine> &info)
{
    return info.param == Engine::Mci   ? "AudioPlayer"
           : info.param == Engine::Wmp ? "VideoWindowPlayer"
                                       : "ExternalPlayer";
}

class EndToEnd : public RunningProgram {
protected:
    // Opens a recording through the open dialog on the engine a user gets for it.
    void openOn(Engine engine, const QString &path)
    {
        if (engine == Engine::Mpc && !form().NMPC->isChecked()) form().NMPC->trigger();
        openThroughDialog(path);
        ASSERT_EQ(player().ActiveEngine(), engine);
        ASSERT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    }
    QString recordingFor(Engine engine, const QString &base, double seconds)
    {
        return recording(base + (engine == Engine::Wmp ? QStringLiteral(".mp3") : QStringLiteral(".wav")), seconds);
    }
    MediaButtonBar *buttonBar()
    {
        return player().ActiveEngine() == Engine::Mci ? form().MediaPlayer1 : form().MediaPlayer2;
    }
    void press(MediaButtonBar::Button b)
    {
        MediaButtonBar *bar = buttonBar();
        click(bar->widgetForAction(bar->action(b)));
    }
    // ESC control on and the ESC stop stepping back, set as a user sets them.
    void escWithStepBack()
    {
        for (QCheckBox *box : {form().CheckBox3, form().CheckBox4})
            if (!box->isChecked()) click(box);
        ASSERT_TRUE(form().CheckBox3->isChecked() && form().CheckBox4->isChecked());
    }
    bool playingWithin(int ms)
    {
        return waitUntil([&] { return player().PlayState() == 3; }, ms);
    }
};

} // namespace

TEST_F(EndToEnd, EscInTheEditorStartsPlaybackAndStopsItOneSecondBack)
{
    startProgram({recording(QStringLiteral("talk.wav"), 20)});
    escWithStepBack(); // "Стоп и cтарт по [ESC] )"
    startEditor(QStringLiteral("Текст"));

    tap(VK::Esc);
    ASSERT_TRUE(playingWithin(3000));
    EXPECT_EQ(program().injection().TextWindow, editorWindow);
    pause(1500);
    const int before = player().PositionMs();
    tap(VK::Esc);
    ASSERT_TRUE(waitUntil([&] { return player().PlayState() != 3; }, 3000));
    EXPECT_NEAR(player().PositionMs(), before - 1000, 300);
    EXPECT_TRUE(waitUntil([&] { return std::abs(shownMs() - player().PositionMs()) <= 1; }, 1000));
    EXPECT_EQ(keys.foreground(), editorWindow);
}

// In a GTK editor the selected marker is read from PRIMARY: ESC starts from its bookmark at
// once, and the clipboard, which another program holds, is left alone.
TEST_F(EndToEnd, EscInAGtkEditorStartsFromTheSelectedMarkerAndLeavesTheClipboardAlone)
{
    startProgram({recording(QStringLiteral("talk.wav"), 20)});
    escWithStepBack();
    for (int ms : {3000, 6000, 12000}) {
        seekBar(ms);
        combo({VK::Ctrl, VK::Shift}, VK::F9);
    }
    ASSERT_EQ(program().Form2()->StringGrid1.cell(BookmarkTable::Name, 3), "z3");
    seekBar(1000);
    QProcess holder;
    holder.start(QStringLiteral("xclip"),
                 {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    holder.write("abc");
    holder.closeWriteChannel();
    pause(300);

    editor.setCommand(TestEditor::Gtk());
    startEditor(QStringLiteral("Здесь {z3} и дальше"), 6, 4);
    tap(VK::Esc);
    ASSERT_TRUE(playingWithin(3000));
    EXPECT_NEAR(player().PositionMs(), 12000, 400);
    EXPECT_EQ(editor.text(), "Здесь {z3} и дальше");
    QProcess reader;
    reader.start(QStringLiteral("xclip"),
                 {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
    ASSERT_TRUE(waitUntil([&] { return reader.state() == QProcess::NotRunning; }, 3000));
    EXPECT_EQ(reader.readAllStandardOutput(), "abc");
    holder.kill();
    holder.waitForFinished();
}

// A player starts when it is first used, so a transcriber of sound files never pays for the
// video window's player or for GL: an audio file starts the audio player alone, the video
// window's player starts with its first file, the picture's view when the window is shown.
TEST_F(EndToEnd, PlayersAndTheVideoViewStartWhenFirstNeeded)
{
    startProgram();
    EXPECT_EQ(MpvCores(), 0);
    openOn(Engine::Mci, recording(QStringLiteral("talk.wav"), 2));
    EXPECT_EQ(MpvCores(), 1);
    program().FormWMP()->hide(); // closed by the user
    openOn(Engine::Wmp, recording(QStringLiteral("talk.mp3"), 2));
    EXPECT_EQ(MpvCores(), 2);
    // The picture's view replaces a plain black placeholder.
    const auto view = [&] { return QByteArray(program().FormWMP()->WindowsMediaPlayer1->metaObject()->className()); };
    EXPECT_EQ(view(), "QWidget");
    form().N24->trigger();
    ASSERT_TRUE(program().FormWMP()->isVisible()) << messages.join(u'\n').toStdString();
    EXPECT_TRUE(view() == "VideoView" || view() == "SoftwareVideoView") << view().toStdString();
    EXPECT_EQ(program().FormWMP()->WindowsMediaPlayer1->objectName(), QStringLiteral("WindowsMediaPlayer1"));
}

// The first start asks for a file before the main window shows; closing the program by the
// window manager keeps everything, and the next start without arguments brings it back.
TEST_F(EndToEnd, ClosedByTheWindowManagerAndStartedAgainEverythingComesBack)
{
    startProgram();
    EXPECT_EQ(cancelledFileDialogs, 1) << "the first start asks for a file";
    EXPECT_FALSE(mainShownAtDialog);
    const QString first = recording(QStringLiteral("first.wav"), 20);
    const QString second = recording(QStringLiteral("second.wav"), 10);
    openThroughDialog(first);
    for (int ms : {2000, 6000}) {
        seekBar(ms);
        program().bookmarks().BitBtn1Click();
    }
    BookmarkTable &table = program().Form2()->StringGrid1;
    table.setCell(BookmarkTable::Comment, 1, QStringLiteral("# тихо, шум"));
    form().MaskEdit1->setText(QStringLiteral("00:00:01.000"));
    form().MaskEdit2->setText(QStringLiteral("00:00:03.000"));
    form().CheckBox6->setChecked(true);
    form().CheckBox4->setChecked(true);
    form().UpDown5->setPosition(2);
    program().speakers().SpeakerNames[0] = QStringLiteral("Анна");
    program().FormWMP()->hide();
    program().Form5()->show();
    form().move(60, 40);
    seekBar(4500);
    ASSERT_TRUE(waitUntil([&] { return shownMs() == 4500; }));
    const QRect mainAt = form().geometry();
    const QRect speakersAt = program().Form5()->geometry();

    // Alt+F4 to the window manager with the main window in front; then main() returns.
    endWithAltF4();
    IniFile settings;
    ASSERT_TRUE(settings.load(home.filePath(QStringLiteral("setting.ini"))));
    EXPECT_EQ(settings.value("MAIN", "Файл:"), first);
    const QString firstSettings = home.filePath(QStringLiteral("AvtoSave/") + MakeMediaKey(first) + ".ini");
    ASSERT_TRUE(QFileInfo::exists(firstSettings));

    cancelledFileDialogs = 0;
    startProgram();
    EXPECT_EQ(cancelledFileDialogs, 0);
    EXPECT_EQ(program().session().CurrentMediaPath, first);
    EXPECT_TRUE(waitUntil([&] { return shownMs() == 4500; })) << shownMs();
    BookmarkTable &again = program().Form2()->StringGrid1;
    EXPECT_EQ(again.cell(BookmarkTable::Time, 1), "00:00:02.000");
    EXPECT_EQ(again.cell(BookmarkTable::Time, 2), "00:00:06.000");
    EXPECT_EQ(again.cell(BookmarkTable::Comment, 1), "# тихо, шум");
    EXPECT_EQ(form().MaskEdit1->text(), "00:00:01.000");
    EXPECT_EQ(form().MaskEdit2->text(), "00:00:03.000");
    EXPECT_TRUE(form().CheckBox6->isChecked());
    EXPECT_TRUE(form().CheckBox4->isChecked());
    EXPECT_EQ(form().Edit5->text(), "2");
    EXPECT_EQ(program().speakers().SpeakerNames[0], "Анна");
    EXPECT_FALSE(program().FormWMP()->isVisible());
    EXPECT_TRUE(program().Form5()->isVisible());
    // Where the window manager has framed them, as they were.
    EXPECT_TRUE(waitUntil([&] { return form().geometry() == mainAt; }, 2000));
    EXPECT_TRUE(waitUntil([&] { return program().Form5()->geometry() == speakersAt; }, 2000))
        << program().Form5()->x() << ',' << program().Form5()->y() << " for " << speakersAt.x() << ','
        << speakersAt.y();

    // Another file and back: the first file's state comes with it.
    form().CheckBox6->setChecked(false);
    openThroughDialog(second);
    EXPECT_TRUE(again.cell(BookmarkTable::Time, 1).isEmpty());
    program().speakers().SpeakerNames[0] = QStringLiteral("Борис");
    openThroughDialog(first);
    EXPECT_EQ(again.cell(BookmarkTable::Time, 2), "00:00:06.000");
    EXPECT_FALSE(form().CheckBox6->isChecked()) << "saved when the first file was left";
    EXPECT_EQ(program().speakers().SpeakerNames[0], "Анна");
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

TEST_F(EndToEnd, BookmarksByHotKeyBelongToTheirFileAndASecondFileComesThroughTheOpenDialog)
{
    const QString first = recording(QStringLiteral("first.wav"), 20);
    const QString second = recording(QStringLiteral("second.wav"), 15);
    startProgram({first});
    BookmarkTable &grid = program().Form2()->StringGrid1;
    const auto visibleMarks = [&] {
        int n = 0;
        for (int i = 0; i < form().MarkImages.size(); ++i) n += form().MarkImages[i].visible;
        return n;
    };

    seekBar(3000);
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    seekBar(8000);
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    ASSERT_EQ(grid.cell(BookmarkTable::Name, 2), "z2");
    seekBar(10000);
    combo({VK::Ctrl, VK::Shift}, VK::F10); // back to the bookmark
    EXPECT_TRUE(waitUntil([&] { return shownMs() == 8000; }, 2000)) << shownMs();
    EXPECT_EQ(player().PositionMs(), 8000);
    EXPECT_EQ(visibleMarks(), 2);

    openThroughDialog(second);
    EXPECT_EQ(form().Label5->text(), "00:00:15.000");
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_TRUE(grid.cell(BookmarkTable::Time, 1).isEmpty());
    EXPECT_EQ(program().Form2()->EditNZ->text(), "1");
    EXPECT_EQ(visibleMarks(), 0);

    seekBar(2000);
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    EXPECT_EQ(grid.cell(BookmarkTable::Name, 1), "z1");
    seekBar(6000);
    combo({VK::Ctrl, VK::Shift}, VK::F10); // the first file's bookmarks are gone
    EXPECT_TRUE(waitUntil([&] { return player().PositionMs() == 2000; }, 2000)) << player().PositionMs();
    seekBar(1000);
    combo({VK::Ctrl, VK::Shift}, VK::F11);
    EXPECT_TRUE(waitUntil([&] { return player().PositionMs() == 2000; }, 2000)) << player().PositionMs();
    click(form().CheckBox8); // the segment around the position: from z1 to the end
    EXPECT_EQ(form().MaskEdit3->text(), "00:00:02.000");
    EXPECT_EQ(form().MaskEdit4->text(), "00:00:15.000");
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

TEST_F(EndToEnd, ExternalPlayerOpensFileAfterFileWithTheNewLength)
{
    const QString a = recording(QStringLiteral("a.wav"), 6);
    const QString b = recording(QStringLiteral("b.wav"), 9);
    // A name that reads like one of the player's options is still a file name.
    const QString optionLike = recording(QStringLiteral("--start=3.wav"), 4);
    startProgram();
    openOn(Engine::Mpc, a);
    EXPECT_EQ(form().Label5->text(), "00:00:06.000");
    openOn(Engine::Mpc, b);
    EXPECT_EQ(form().Label5->text(), "00:00:09.000");
    for (int i = 0; i < 8; ++i) {
        form().NH[1]->trigger(); // the recent-files menu: the other file
        const bool onA = program().session().CurrentMediaPath == a;
        ASSERT_EQ(form().Label5->text(), onA ? "00:00:06.000" : "00:00:09.000") << "open " << i + 3;
        ASSERT_EQ(form().TrackBar1->maximum(), onA ? 5999 : 8999);
        ASSERT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    }
    openOn(Engine::Mpc, optionLike);
    EXPECT_EQ(form().Label5->text(), "00:00:04.000");
    EXPECT_LT(player().PositionMs(), 500); // not from 3 s on
}

// Loops counted on each player, in real time: count 1, 2 and 3 give exactly that many plays
// of the AB interval and of the segment between two bookmarks.
class LoopCounts : public EndToEnd, public ::testing::WithParamInterface<Engine> {
protected:
    // Plays from startMs and counts the plays of fromMs … toMs until playback runs on past it.
    int playsOf(int startMs, int fromMs, int toMs)
    {
        seekBar(startMs);
        press(MediaButtonBar::Play);
        int plays = 1, last = shownMs();
        QStringList strayJumps;
        waitUntil(
            [&] {
                const int p = shownMs();
                if (p + 300 < last) {
                    if (std::abs(p - fromMs) < 150) ++plays;
                    else strayJumps << QStringLiteral("%1 → %2").arg(last).arg(p);
                }
                last = p;
                return p > toMs + 700;
            },
            15000);
        press(MediaButtonBar::Pause);
        EXPECT_TRUE(strayJumps.isEmpty()) << strayJumps.join(u' ').toStdString();
        EXPECT_GT(last, toMs + 700) << "playback never ran on";
        return plays;
    }
};

TEST_P(LoopCounts, EachCountPlaysThatManyTimes)
{
    const Engine engine = GetParam();
    startProgram();
    openOn(engine, recordingFor(engine, QStringLiteral("loops"), 12));
    const auto type = [](QLineEdit *e, const QString &text) { e->setText(text); };

    type(form().MaskEdit1, QStringLiteral("00:00:02.000"));
    type(form().MaskEdit2, QStringLiteral("00:00:02.800"));
    click(form().CheckBox7);
    for (int count : {1, 2, 3}) {
        type(form().Edit7, QString::number(count));
        EXPECT_EQ(playsOf(1600, 2000, 2800), count) << "AB interval, count " << count;
    }
    click(form().CheckBox7);

    // Bookmarks at 6.0, 6.8 and 10 s: the segment 6.0 … 6.8.
    for (int ms : {6000, 6800, 10000}) {
        seekBar(ms);
        click(form().SpeedButton1); // "+"
    }
    click(form().CheckBox8);
    for (int count : {1, 2, 3}) {
        type(form().Edit6, QString::number(count));
        EXPECT_EQ(playsOf(6000, 6000, 6800), count) << "between bookmarks, count " << count;
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

// At half and double speed the loop still counts media time, and ESC's stop still steps one
// media second back. Double speed is set through the media-player interface's Rate.
class SpeedOnRealPlayers : public LoopCounts {};

TEST_P(SpeedOnRealPlayers, CountTwoPlaysTwiceAndEscStepsBackOneSecondAtHalfAndDoubleSpeed)
{
    const Engine engine = GetParam();
    startProgram();
    // The external player gets an MP3 here, as its loops at normal speed play a WAV.
    openOn(engine, recording(engine == Engine::Mci ? QStringLiteral("speed.wav") : QStringLiteral("speed.mp3"), 12));
    escWithStepBack();
    form().MaskEdit1->setText(QStringLiteral("00:00:02.000"));
    form().MaskEdit2->setText(QStringLiteral("00:00:02.800"));
    form().Edit7->setText(QStringLiteral("2"));
    click(form().CheckBox7);
    startEditor(QStringLiteral("Текст"));
    for (double speed : {0.5, 2.0}) {
        SCOPED_TRACE(speed);
        if (speed == 0.5) {
            form().SpinSpeed->setValue(0.5);
        } else {
            QProcess bus;
            bus.start(QStringLiteral("dbus-send"),
                      {"--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.stenova", "/org/mpris/MediaPlayer2",
                       "org.freedesktop.DBus.Properties.Set", "string:org.mpris.MediaPlayer2.Player", "string:Rate",
                       "variant:double:2.0"});
            ASSERT_TRUE(waitUntil([&] { return bus.state() == QProcess::NotRunning; }, 5000));
            ASSERT_EQ(form().SpinSpeed->text(), QStringLiteral("2.0×"));
        }
        EXPECT_EQ(playsOf(1600, 2000, 2800), 2);

        keys.setForeground(editorWindow);
        ASSERT_TRUE(waitUntil([&] { return keys.foreground() == editorWindow; }, 3000));
        seekBar(6000);
        ASSERT_NE(player().PlayState(), 3) << "a seek right after the pause set it playing again";
        // At another speed the time-stretching filter may report a few ms beside the seek.
        ASSERT_TRUE(waitUntil([&] { return std::abs(player().PositionMs() - 6000) < 50; }, 3000))
            << player().PositionMs();
        tap(VK::Esc);
        ASSERT_TRUE(playingWithin(3000));
        pause(1000);
        const int before = player().PositionMs();
        tap(VK::Esc);
        ASSERT_TRUE(waitUntil([&] { return player().PlayState() != 3; }, 3000));
        EXPECT_NEAR(player().PositionMs(), before - 1000, 300);
        EXPECT_GT(before, 6000 + 700 * speed) << "played at the speed";
        EXPECT_LT(before, 6000 + 1500 * speed) << "played at the speed";
        pause(400); // past ESC's lock-out
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(OnEachPlayer, SpeedOnRealPlayers, ::testing::Values(Engine::Mci, Engine::Wmp, Engine::Mpc),
                         PlayerName);
INSTANTIATE_TEST_SUITE_P(OnEachPlayer, LoopCounts, ::testing::Values(Engine::Mci, Engine::Wmp, Engine::Mpc),
                         PlayerName);

// The media-player interface says what the window shows, whatever moved the position.
class MediaInterface : public EndToEnd, public ::testing::WithParamInterface<Engine> {
protected:
    double busPosition() { return playerctl({QStringLiteral("position")}).toDouble(); }
    QString busStatus() { return playerctl({QStringLiteral("status")}); }
};

TEST_P(MediaInterface, PositionStatusAndSeekedAgreeWithTheWindow)
{
    const Engine engine = GetParam();
    const QString path = recordingFor(engine, QStringLiteral("talk"), 30);
    // The command line opens a WAV in the audio player and starts it at 7 s a second later.
    startProgram({recording(QStringLiteral("start.wav"), 10), QStringLiteral("/t"), QStringLiteral("7")});
    ASSERT_TRUE(waitUntil([&] { return shownMs() == 7000; }, 3000)) << "the /t start";
    EXPECT_NEAR(busPosition(), 7, 0.01);
    EXPECT_EQ(busStatus(), "Paused");
    openOn(engine, path);
    SeekedSignals seeked;

    for (int seconds : {5, 12, 21, 3}) {
        playerctl({QStringLiteral("position"), QString::number(seconds)});
        ASSERT_TRUE(waitUntil([&] { return shownMs() == seconds * 1000; }, 2000)) << shownMs();
        EXPECT_NEAR(busPosition(), seconds, 0.01);
        EXPECT_EQ(busStatus(), "Paused");
    }
    // The position bar, clicked by the mouse.
    QTest::mouseClick(form().TrackBar1, Qt::LeftButton, {}, QPoint(form().TrackBar1->width() / 2, 5));
    ASSERT_TRUE(waitUntil(
        [&] { return !seeked.positionsUs.isEmpty() && seeked.positionsUs.last() / 1000 == shownMs(); }, 2000));
    EXPECT_NEAR(busPosition() * 1000, shownMs(), 10);
    EXPECT_GE(seeked.positionsUs.size(), 5);

    playerctl({QStringLiteral("play")});
    ASSERT_TRUE(waitUntil([&] { return busStatus() == "Playing"; }, 3000));
    playerctl({QStringLiteral("pause")});
    ASSERT_TRUE(waitUntil([&] { return busStatus() == "Paused"; }, 3000));
    playerctl({QStringLiteral("position"), QStringLiteral("9")});
    EXPECT_TRUE(waitUntil([&] { return shownMs() == 9000; }, 2000)) << shownMs();
    EXPECT_NEAR(busPosition(), 9, 0.01);
    playerctl({QStringLiteral("stop")});
    EXPECT_TRUE(waitUntil([&] { return busStatus() == "Stopped" && shownMs() == 0; }, 3000));
    EXPECT_NEAR(busPosition(), 0, 0.01);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(OnEachPlayer, MediaInterface, ::testing::Values(Engine::Mci, Engine::Wmp, Engine::Mpc),
                         PlayerName);

TEST_F(EndToEnd, ExternalPlayersWindowComesForwardStaysOnTopAndIsNeverTheTextWindow)
{
    startProgram({}, {{{"ao", "null"}}, {QStringLiteral("--ao=null"), QStringLiteral("--vo=x11")}});
    openOn(Engine::Mpc, recording(QStringLiteral("clip.mp4"), 20));
    const WindowId playerWindow = keys.windowOfProcess(form().MPCHC->PlayerWindow);
    ASSERT_NE(playerWindow, 0u) << "the external player shows no window";
    escWithStepBack();
    startEditor(QStringLiteral("Текст"));

    click(form().SpeedButton8); // "V"
    EXPECT_TRUE(waitUntil([&] { return keys.foreground() == playerWindow; }, 3000));
    click(form().CheckBox11); // "Видео поверх текста"
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(playerWindow), QStringLiteral("_NET_WM_STATE")});
    waitUntil([&] { return xprop.state() == QProcess::NotRunning; });
    EXPECT_TRUE(xprop.readAllStandardOutput().contains("_NET_WM_STATE_ABOVE"));

    for (int round = 0; round < 3; ++round) {
        keys.setForeground(editorWindow);
        ASSERT_TRUE(waitUntil([&] { return keys.foreground() == editorWindow; }, 3000));
        tap(VK::Esc);
        ASSERT_TRUE(playingWithin(3000)) << "round " << round;
        pause(500);
        tap(VK::Esc);
        ASSERT_TRUE(waitUntil([&] { return player().PlayState() != 3; }, 3000)) << "round " << round;
        pause(400);
        EXPECT_EQ(program().injection().TextWindow, editorWindow) << "round " << round;
    }
}

// A foot pedal held from the editor plays on the real player and stops with ESC's step back when
// let go; the report reaches the program through the same reader a hidraw device does (a pipe
// here). Prints the time from the report to the player playing.
TEST_F(EndToEnd, FootPedalOnTheRealPlayerPlaysWhileHeldStepsBackWhenLetGoAndIsSetInItsWindowByKeys)
{
    startProgram({recording(QStringLiteral("talk.wav"), 20)});
    escWithStepBack();
    startEditor(QStringLiteral("Текст"));
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pedal")));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    ASSERT_TRUE(program().pedal().open(QFile::decodeName(fifo), FootPedal::Kind::HidReports, nullptr));
    const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const auto report = [writer](unsigned char bits) {
        const unsigned char bytes[2] = {bits, 0};
        return ::write(writer, bytes, 2) == 2;
    };
    std::vector<double> latencies;
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        seekBar(4000);
        pause(400); // past ESC's lock-out
        QElapsedTimer t;
        t.start();
        ASSERT_TRUE(report(2));
        ASSERT_TRUE(waitUntil([&] { return player().PlayState() == 3; }, 3000));
        latencies.push_back(t.nsecsElapsed() / 1e6);
        pause(1000);
        const int before = player().PositionMs();
        ASSERT_TRUE(report(0));
        ASSERT_TRUE(waitUntil([&] { return player().PlayState() != 3; }, 3000));
        EXPECT_NEAR(player().PositionMs(), before - 1000, 300);
        EXPECT_EQ(program().injection().TextWindow, editorWindow);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("pedal report to playing (audio player): median %.1f ms, max %.1f ms\n", latencies[2], latencies[4]);

    // "Настройки → Педали...", driven by keys: Tab to the right pedal's action, one down from
    // "Вперед" to "Закладка", Tab and Enter on "Закрыть" (Esc would also start playback, as in
    // any program). The right pedal then sets a bookmark.
    form().NPedals->trigger();
    QWidget &pedals = *program().pedalWindow();
    ASSERT_TRUE(waitUntil([&] { return keys.foreground() == pedals.winId(); }, 3000));
    for (int i = 0; i < 4; ++i) tap(9); // the keyboard pedal, its button, the left and middle actions
    tap(VK::Down);
    tap(9);
    tap(13);
    ASSERT_TRUE(waitUntil([&] { return !pedals.isVisible(); }));
    EXPECT_EQ(program().pedals().actions[2], PedalAction::Bookmark);
    seekBar(6000);
    pause(400); // past ESC's lock-out
    ASSERT_TRUE(report(4));
    ASSERT_TRUE(report(0));
    EXPECT_TRUE(waitUntil([&] {
        return program().Form2()->StringGrid1.cell(BookmarkTable::Time, 1) == "00:00:06.000";
    })) << program().Form2()->StringGrid1.cell(BookmarkTable::Time, 1).toStdString();
    ::close(writer);
}

// The window manager's stacking, bottom to top.
static QList<WindowId> stacking()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    xprop.waitForFinished(5000);
    QList<WindowId> order;
    static const QRegularExpression id(QStringLiteral("0x[0-9a-f]+"));
    for (const auto &m : id.globalMatch(QString::fromLatin1(xprop.readAllStandardOutput())))
        order << m.captured().toULong(nullptr, 16);
    return order;
}

TEST_F(EndToEnd, BookmarksWindowStaysAboveTheMainWindowButNotAboveOtherPrograms)
{
    startProgram();
    click(form().SpeedButton2); // "≡"
    QWidget &bookmarks = *program().Form2();
    ASSERT_TRUE(waitUntil([&] { return bookmarks.isVisible(); }));
    const auto above = [&](WindowId upper, WindowId lower) {
        const QList<WindowId> order = stacking();
        return order.contains(upper) && order.indexOf(upper) > order.indexOf(lower);
    };
    form().activateWindow();
    form().raise();
    ASSERT_TRUE(waitUntil([&] { return keys.foreground() == form().winId(); }, 3000));
    EXPECT_TRUE(waitUntil([&] { return above(bookmarks.winId(), form().winId()); }, 1000));
    startEditor();
    EXPECT_TRUE(waitUntil([&] { return above(editorWindow, bookmarks.winId()); }, 2000));
}

TEST_F(EndToEnd, SpeakersWindowOpensCentredAndComesForwardFromAnyProgram)
{
    startProgram();
    startEditor();
    TForm5 *speakers = program().Form5();
    combo({VK::Ctrl, VK::Shift}, VK::Digit0);
    ASSERT_TRUE(waitUntil([&] { return speakers->isVisible() && keys.foreground() == speakers->winId(); }, 3000));
    const QPoint offset = speakers->frameGeometry().center() - speakers->screen()->geometry().center();
    EXPECT_LE(offset.manhattanLength(), 30) << offset.x() << "," << offset.y();

    keys.setForeground(editorWindow);
    ASSERT_TRUE(waitUntil([&] { return keys.foreground() == editorWindow; }, 3000));
    combo({VK::Ctrl, VK::Shift}, VK::Digit0); // already open: it comes forward
    EXPECT_TRUE(waitUntil([&] { return keys.foreground() == speakers->winId(); }, 3000));
}

TEST_F(EndToEnd, EveryTextOfEveryWindowIsWholeOnTheDesktop)
{
    startProgram({recording(QStringLiteral("talk.mp3"), 5)});
    Program &p = program();
    for (QWidget *w : std::initializer_list<QWidget *>{p.Form1(), p.FormWMP(), p.FormOle(), p.Form2(), p.Form3(),
                                                       p.Form4(), p.FormHelp(), p.FormAbout(), p.Form5()}) {
        w->show();
        waitUntil([&] { return w->windowHandle() && w->windowHandle()->isExposed(); }, 3000);
        EXPECT_EQ(CutTexts(w), QStringList()) << w->objectName().toStdString();
        if (w != p.Form1()) w->hide();
    }
}

#include "test_end_to_end.moc"
