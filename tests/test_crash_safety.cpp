// The real program, started as a user starts it, ended in every way a session ends: killed
// while the user types, adds bookmarks and moves between recordings; ended by SIGTERM and
// SIGHUP; its display lost; closed again and again on a loaded machine.
#include "app/TextDocuments.h"
#include "document/DocumentContainer.h"
#include "persist/IniFile.h"
#include "persist/MediaKey.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <vector>

#include "QtPrinters.h"

namespace {

void Pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) Pause(20);
    return done();
}

QString Xdotool(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The program through the desktop's media-player interface.
QString Playerctl(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("playerctl"), QStringList{QStringLiteral("-p"), QStringLiteral("stenova")} + args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// A visible window of the process whose name begins with the text; empty when none. The names
// are compared here: xdotool's own patterns see Cyrillic names in their X11 encoding.
QString WindowOf(qint64 pid, const QString &name,
                 const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    const QString windows = Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                     QString::number(pid), QStringLiteral("--name"), QStringLiteral(".")},
                                    env);
    for (const QString &window : windows.split(u'\n', Qt::SkipEmptyParts))
        if (Xdotool({QStringLiteral("getwindowname"), window}, env).startsWith(name)) return window;
    return {};
}

QString TextOf(const QString &path)
{
    DocumentContainer reader;
    reader.LoadFromFile(path);
    return reader.toPlainText();
}

QString Work(const QString &home, const QString &name) { return home + QStringLiteral("/AvtoSave/") + name; }

// A long recording made once for the tests here, so that playback never reaches its end.
QString LongRecording(const QString &dir)
{
    const QString path = dir + QStringLiteral("/long.wav");
    QProcess::execute(QStringLiteral("ffmpeg"),
                      {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                       "sine=frequency=440:sample_rate=8000:duration=1200", "-ac", "1", path});
    return path;
}

const QString MainCaption = QStringLiteral("Программа для набора текста");

// The program on the virtual X server, its folder the test's own.
class RealProcess {
public:
    RealProcess(const QString &home, const QStringList &args, QProcessEnvironment env = {})
    {
        if (env.isEmpty()) env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("STENOVA_HOME"), home);
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0")); // killed, not ended
        m_env = env;
        process.setProcessEnvironment(env);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(QStringLiteral(STENOVA_PROGRAM), args);
        process.waitForStarted(10000);
    }
    ~RealProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(10000);
        }
    }
    qint64 pid() const { return process.processId(); }
    QString window(const QString &pattern) const { return WindowOf(pid(), pattern, m_env); }
    void signal(int sig) const { ::kill(static_cast<pid_t>(pid()), sig); }
    bool ended(int ms)
    {
        return WaitUntil([&] { return process.state() == QProcess::NotRunning; }, ms);
    }

    // Waits for the text window to show the recording's caption, answering the offer of a
    // recovered text with its default button, OK, which takes it. True when it was offered.
    // The caption may show before the offer does: while the recording's recovery copy is there
    // (taken, the copy goes; the same as the document, it goes unasked), the offer may come.
    bool openedTakingRecovery(const QString &caption, const QString &recovery, bool *offered = nullptr)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30000) {
            const QString question = window(QStringLiteral("Восстановление текста"));
            if (!question.isEmpty()) {
                if (offered) *offered = true;
                Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), question}, m_env);
                Xdotool({QStringLiteral("key"), QStringLiteral("--window"), question, QStringLiteral("Return")}, m_env);
                // Once: a busy program takes a while to close it, and a second Return would
                // reach the main window's button that opens the open dialog.
                WaitUntil([&] { return window(QStringLiteral("Восстановление текста")).isEmpty(); }, 10000);
                continue;
            }
            // The main window is shown last, and takes the focus when it is.
            if (!window(caption).isEmpty() && !QFile::exists(recovery) && !window(MainCaption).isEmpty()) return true;
            Pause(100);
        }
        return false;
    }
    // The text window in front, the caret in it.
    void clickIntoText(const QString &caption)
    {
        const QString text = window(caption);
        QElapsedTimer activating;
        activating.start();
        do {
            Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), text}, m_env);
            Pause(150);
        } while (Xdotool({QStringLiteral("getactivewindow")}, m_env) != text && activating.elapsed() < 10000);
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), text, QStringLiteral("100"),
                 QStringLiteral("100"), QStringLiteral("click"), QStringLiteral("1")},
                m_env);
    }
    QProcess process;

private:
    QProcessEnvironment m_env;
};

QString CaptionOf(const QString &media) { return QFileInfo(MakeMediaKey(media)).completeBaseName() + ".ole"; }

// The text a restart brings back for a recording: its recovery copy, taken when offered, else
// its own document.
QString RecoveryOf(const QString &home, const QString &media)
{
    qputenv("STENOVA_HOME", home.toUtf8());
    const QString recovery = TextDocuments::RecoveryFile(media);
    qunsetenv("STENOVA_HOME");
    return recovery;
}

QString KeptText(const QString &home, const QString &media)
{
    const QString recovery = RecoveryOf(home, media);
    const QString own = Work(home, MediaFileKey(media, home + QStringLiteral("/AvtoSave")) + QStringLiteral(".ole"));
    if (QFile::exists(recovery)) return TextOf(recovery);
    return QFile::exists(own) ? TextOf(own) : QString();
}

int KeptBookmarks(const QString &home, const QString &media)
{
    IniFile ini;
    ini.load(Work(home, MediaFileKey(media, home + QStringLiteral("/AvtoSave")) + QStringLiteral(".ini")));
    return std::max(0, ini.value(QStringLiteral("BOOKMARKS"), QStringLiteral("RowCount")).toInt() - 1);
}

int Rounds(const char *variable, int fallback)
{
    const int n = qEnvironmentVariableIntValue(variable);
    return n > 0 ? n : fallback;
}

// Keys typed by xdotool on a busy machine may be held long enough to repeat: the tests' X
// server repeats none.
class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override { QProcess::execute(QStringLiteral("xset"), {QStringLiteral("r"), QStringLiteral("off")}); }
    void TearDown() override { QProcess::execute(QStringLiteral("xset"), {QStringLiteral("r"), QStringLiteral("on")}); }
};

} // namespace

// Killed with SIGKILL at random moments while the user types into the text window, adds
// bookmarks and goes on to another recording, on three recordings of one name in three
// folders. After each kill: every word and bookmark older than two seconds (at the kill, or at
// the switch that saved it) is in what the next start brings back (the recovery offered, and
// taken), no document file is damaged, and no recording holds a word typed for another.
// CRASH_ROUNDS sets the number of kills (scripts/crash-harness.sh).
TEST_F(CrashSafety, KilledAtRandomMomentsNoWordOrBookmarkOlderThanTwoSecondsIsLost)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    const QString source = LongRecording(dir.path());
    ASSERT_TRUE(QFile::exists(source));
    QStringList recordings;
    for (const char *course : {"курс1", "курс2", "курс3"}) {
        const QString folder = dir.filePath(QString::fromUtf8(course) + QStringLiteral("/лекция"));
        QDir().mkpath(folder);
        recordings << folder + QStringLiteral("/01.wav");
        ASSERT_TRUE(QFile::link(source, recordings.last()));
    }
    const quint32 seed = QRandomGenerator::global()->generate();
    std::printf("random seed %u\n", seed);
    QRandomGenerator random(seed);
    const int rounds = Rounds("CRASH_ROUNDS", 20);

    std::map<int, QStringList> mustHave; // per recording, words older than 2 s at a kill
    std::map<int, int> bookmarksKept;
    double worstLossS = 0;
    int garbled = 0;
    int offers = 0;
    int switches = 0;
    // What was typed for one recording until its end: the kill, or a switch to another one,
    // which saves it.
    struct Typing {
        int r;
        std::vector<std::pair<qint64, QString>> words; // when each word was all typed
        std::vector<qint64> marks;                     // when each bookmark key was let go
        qint64 endedAt = 0;
    };
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        const QString media = recordings[round % 3];
        RealProcess program(home, {media});
        bool offered = false;
        ASSERT_TRUE(program.openedTakingRecovery(CaptionOf(media), RecoveryOf(home, media), &offered))
            << "the recording did not open";
        offers += offered;
        const auto intoText = [&] {
            program.clickIntoText(CaptionOf(media));                      // the three captions are alike
            Pause(300);                                                   // the click's focus settles first
            Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+End")}); // typing goes on at the end
        };
        intoText();
        // Playing, so that the bookmarks fall apart.
        Playerctl({QStringLiteral("play")});

        QElapsedTimer clock;
        clock.start();
        const int killAt = 1500 + static_cast<int>(random.bounded(4500));
        // Every other round the user goes on to the next recording (through the media-player
        // interface) at a random moment, the kill perhaps in the middle of the open.
        const int switchAt = round % 2 ? static_cast<int>(random.bounded(killAt)) : killAt;
        std::vector<Typing> typing{{round % 3, {}, {}, 0}};
        for (int w = 0; clock.elapsed() < killAt; ++w) {
            Typing &now = typing.back();
            if (typing.size() == 1 && clock.elapsed() >= switchAt) {
                Pause(500); // the last keys are in before the open is asked for
                const QString next = recordings[(now.r + 1) % 3];
                Playerctl({QStringLiteral("open"), QUrl::fromLocalFile(next).toString()});
                now.endedAt = clock.elapsed();
                const auto opened = [&] {
                    return QUrl(Playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:url")})).toLocalFile() ==
                           next;
                };
                while (!opened() && clock.elapsed() < killAt) Pause(50);
                if (clock.elapsed() >= killAt) break;
                ++switches;
                typing.push_back({(now.r + 1) % 3, {}, {}, 0});
                intoText();
                continue;
            }
            const QString word = QStringLiteral("k%1r%2w%3 ").arg(now.r).arg(round).arg(w);
            QProcess typist;
            typist.start(QStringLiteral("xdotool"),
                         {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), word});
            // Killed in the middle of a word as likely as between two.
            while (typist.state() != QProcess::NotRunning && clock.elapsed() < killAt) Pause(5);
            if (typist.state() != QProcess::NotRunning) break;
            now.words.emplace_back(clock.elapsed(), word.trimmed());
            if (w % 3 == 2) {
                Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+F9")});
                now.marks.push_back(clock.elapsed());
            }
            // Paragraphs, as a transcript has them: the spelling of a paragraph is checked
            // again at each key typed into it, and one of thousands of words would slow
            // the typing down more than any user's.
            if (w % 10 == 9) Xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        }
        const qint64 killedAt = clock.elapsed();
        // A switch asked for but not yet done when killed: its words are checked at the kill.
        typing.back().endedAt = killedAt;
        // What the program showed at the kill, said when a word is found lost.
        QStringList shown;
        for (const QString &w :
             Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                      QString::number(program.pid()), QStringLiteral("--name"), QStringLiteral(".")})
                 .split(u'\n', Qt::SkipEmptyParts))
            shown << Xdotool({QStringLiteral("getwindowname"), w});
        const QString activeAtKill = Xdotool({QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")});
        program.signal(SIGKILL);
        ASSERT_TRUE(program.ended(10000));
        Pause(100); // a key still going out lands on whatever has the focus now

        // Every document file reads whole.
        for (const QString &name :
             QDir(home + QStringLiteral("/AvtoSave")).entryList({QStringLiteral("*.ole")}, QDir::Files)) {
            try {
                TextOf(Work(home, name));
            } catch (const DocumentError &e) {
                ADD_FAILURE() << e.message.toStdString();
            }
        }
        for (const Typing &t : typing) {
            const int r = t.r;
            for (qint64 at : t.marks)
                if (t.endedAt - at > 2000) ++bookmarksKept[r];
            const QString kept = KeptText(home, recordings[r]);
            // What was kept before stays kept.
            for (const QString &word : mustHave[r])
                EXPECT_TRUE(kept.contains(word)) << word.toStdString() << " in " << kept.toStdString();
            for (int other = 0; other < 3; ++other)
                if (other != r) {
                    EXPECT_FALSE(kept.contains(QStringLiteral("k%1r").arg(other))) << kept.toStdString();
                }
            EXPECT_GE(KeptBookmarks(home, recordings[r]), bookmarksKept[r]);
            // A kill loses the end of the typing: the words after the last one kept. A word
            // missing before a kept one is one the typist garbled (xdotool on a busy machine),
            // not a loss.
            qsizetype last = -1;
            for (qsizetype i = 0; i < qsizetype(t.words.size()); ++i)
                if (kept.contains(t.words[i].second)) last = i;
            for (qsizetype i = 0; i < qsizetype(t.words.size()); ++i) {
                const auto &[at, word] = t.words[i];
                if (i <= last) {
                    if (kept.contains(word)) mustHave[r] << word;
                    else ++garbled;
                    continue;
                }
                worstLossS = std::max(worstLossS, (t.endedAt - at) / 1000.0);
                EXPECT_LE(t.endedAt - at, 2000)
                    << word.toStdString() << " lost, typed " << t.endedAt - at << " ms before "
                    << (&t == &typing.back() ? "the kill" : "the switch")
                    << "; windows shown: " << shown.join(QStringLiteral(" | ")).toStdString()
                    << "; active: " << activeAtKill.toStdString()
                    << "; the text ends: " << kept.right(80).toStdString();
                break;
            }
        }
    }
    int words = 0;
    for (const auto &[r, list] : mustHave) words += list.size();
    std::printf("%d kills, %d switches of recording, %d words kept and %d bookmarks older than 2 s checked (%d words "
                "garbled by the typist), %d recoveries offered and taken, worst loss %.2f s\n",
                rounds, switches, words, bookmarksKept[0] + bookmarksKept[1] + bookmarksKept[2], garbled, offers,
                worstLossS);
    EXPECT_GT(words, rounds) << "the typing reached the program";
}

// SIGTERM and SIGHUP (the session's end, a shutdown, kill) end the program as a close does:
// the text typed, the bookmark and the settings are saved, and the external player goes too.
TEST_F(CrashSafety, TermAndHangUpEndWithTheSavesOfAClose)
{
    for (const int sig : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        QTemporaryDir dir;
        const QString home = dir.path();
        const QString media = home + QStringLiteral("/запись.wav");
        ASSERT_TRUE(QFile::copy(QStringLiteral(STENOVA_SAMPLE), media));
        RealProcess program(home, {media});
        ASSERT_TRUE(program.openedTakingRecovery(CaptionOf(media), RecoveryOf(home, media)));
        program.clickIntoText(CaptionOf(media));
        Pause(300);
        Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"),
                 QStringLiteral("three words typed")});
        Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+F9")});
        Pause(200);
        program.signal(sig);
        ASSERT_TRUE(program.ended(20000));
        EXPECT_EQ(program.process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(TextOf(Work(home, MakeMediaKey(media) + ".ole")), QStringLiteral("three words typed"));
        EXPECT_FALSE(QFile::exists(RecoveryOf(home, media))) << "saved where it belongs, the copy gone";
        EXPECT_EQ(KeptBookmarks(home, media), 1);
        IniFile settings;
        ASSERT_TRUE(settings.load(home + QStringLiteral("/setting.ini")));
        EXPECT_EQ(settings.value(QStringLiteral("MAIN"), QStringLiteral("Файл:")), media);
    }

    // With the external player: its process ends with the program.
    QTemporaryDir dir;
    const QString home = dir.path();
    const QString media = home + QStringLiteral("/запись.wav");
    ASSERT_TRUE(QFile::copy(QStringLiteral(STENOVA_SAMPLE), media));
    IniFile settings;
    settings.load(home + QStringLiteral("/setting.ini"));
    settings.setValue(QStringLiteral("MAIN"), QStringLiteral("Все файлы открывать в MPC-HC проигрывателе"), "1");
    settings.setValue(QStringLiteral("MAIN"), QStringLiteral("Путь к MPC-HC проигрывателю"), "/usr/bin/mpv");
    ASSERT_TRUE(settings.save());
    // The external player plays to no sound device here: its own configuration says so.
    QDir().mkpath(home + QStringLiteral("/mpv"));
    QFile config(home + QStringLiteral("/mpv/mpv.conf"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("ao=null\n");
    config.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MPV_HOME"), home + QStringLiteral("/mpv"));
    RealProcess program(home, {media}, env);
    ASSERT_TRUE(program.openedTakingRecovery(CaptionOf(media), RecoveryOf(home, media)));
    const auto externalPlayers = [&] {
        QProcess pgrep;
        pgrep.start(QStringLiteral("pgrep"), {QStringLiteral("-P"), QString::number(program.pid())});
        pgrep.waitForFinished(5000);
        return QString::fromLatin1(pgrep.readAllStandardOutput()).trimmed();
    };
    ASSERT_TRUE(WaitUntil([&] { return !externalPlayers().isEmpty(); }, 10000)) << "mpv did not start";
    const QString players = externalPlayers();
    program.signal(SIGTERM);
    ASSERT_TRUE(program.ended(20000));
    for (const QString &pid : players.split(u'\n'))
        EXPECT_TRUE(WaitUntil([&] { return ::kill(pid.toInt(), 0) != 0; }, 5000)) << "mpv " << pid.toStdString();
}

// The display lost (the X server ends): Qt ends the process at once, and what was typed since
// the last save is still saved, as at a close.
TEST_F(CrashSafety, ALostDisplayEndsWithTheSaves)
{
    QTemporaryDir dir;
    const QString home = dir.path();
    const QString media = home + QStringLiteral("/запись.wav");
    ASSERT_TRUE(QFile::copy(QStringLiteral(STENOVA_SAMPLE), media));
    // An X server and a window manager of this test's own, which it then ends.
    int n = 150;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
        ++n;
    const QString display = QStringLiteral(":%1").arg(n);
    QProcess xvfb, wm;
    xvfb.start(QStringLiteral("Xvfb"),
               {display, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ASSERT_TRUE(xvfb.waitForStarted(5000));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    ASSERT_TRUE(WaitUntil([&] { return !Xdotool({QStringLiteral("getdisplaygeometry")}, env).isEmpty(); }, 10000));
    wm.setProcessEnvironment(env);
    wm.start(QStringLiteral("openbox"), {});
    Pause(500);
    {
        RealProcess program(home, {media}, env);
        ASSERT_TRUE(program.openedTakingRecovery(CaptionOf(media), RecoveryOf(home, media)));
        program.clickIntoText(CaptionOf(media));
        Xdotool(
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), QStringLiteral("typed before")},
            env);
        Pause(100);
        xvfb.kill();
        ASSERT_TRUE(program.ended(20000));
    }
    wm.kill();
    wm.waitForFinished(5000);
    xvfb.waitForFinished(5000);
    EXPECT_EQ(TextOf(Work(home, MakeMediaKey(media) + ".ole")), QStringLiteral("typed before"));
}

// A close request always ends the program, also on a machine whose two cores are busy: the
// main window closed with Alt+F4 or the window manager's close after a bookmark and a
// speaker's name typed in the speakers window. CLOSE_ROUNDS sets the number of closes
// (scripts/crash-harness.sh).
TEST_F(CrashSafety, EveryCloseOnABusyMachineEndsTheProgram)
{
    QTemporaryDir dir;
    const QString home = dir.path();
    const QString media = home + QStringLiteral("/запись.wav");
    ASSERT_TRUE(QFile::copy(QStringLiteral(STENOVA_SAMPLE), media));
    std::vector<std::unique_ptr<QProcess>> load;
    for (int i = 0; i < 2; ++i) {
        load.push_back(std::make_unique<QProcess>());
        load.back()->start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
    }
    const int rounds = Rounds("CLOSE_ROUNDS", 5);
    int slowest = 0, stuck = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        // The speakers window shows at the start, as it was left by the last end.
        ASSERT_TRUE(IniFile::Update(home + QStringLiteral("/setting.ini"), QStringLiteral("Form5"),
                                    {{QStringLiteral("Видимость окна участников"), QStringLiteral("1")}}));
        RealProcess program(home, {media});
        ASSERT_TRUE(program.openedTakingRecovery(CaptionOf(media), RecoveryOf(home, media)));
        Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+F9")});
        QString speakers;
        ASSERT_TRUE(WaitUntil(
            [&] { return !(speakers = program.window(QStringLiteral("Список участников"))).isEmpty(); }, 5000));
        Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), speakers});
        Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), QStringLiteral("Anna")});
        // "ОК", left of "Отмена" in the window's bottom right corner.
        const QStringList size = Xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), speakers})
                                     .split(u'\n')
                                     .filter(QRegularExpression(QStringLiteral("^(WIDTH|HEIGHT)=")));
        ASSERT_EQ(size.size(), 2);
        const int width = size[0].section(u'=', 1).toInt(), height = size[1].section(u'=', 1).toInt();
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), speakers, QString::number(width - 140),
                 QString::number(height - 22), QStringLiteral("click"), QStringLiteral("1")});
        EXPECT_TRUE(WaitUntil([&] { return program.window(QStringLiteral("Список участников")).isEmpty(); }, 3000))
            << "ОК did not close the speakers window";
        const QString main = program.window(QStringLiteral("Программа для набора текста"));
        // Alt+F4 and the window manager's close (_NET_CLOSE_WINDOW), in turn.
        if (round % 2 == 0) {
            Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), main});
            Xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});
        } else {
            QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), main});
        }
        QElapsedTimer closing;
        closing.start();
        if (!program.ended(10000)) ++stuck;
        slowest = std::max(slowest, int(closing.elapsed()));
    }
    for (auto &p : load) p->kill();
    std::printf("%d closes on a busy machine, %d left running after 10 s, slowest end %d ms\n", rounds, stuck, slowest);
    EXPECT_EQ(stuck, 0);
}
