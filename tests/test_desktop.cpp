// The program against the real desktop: the virtual X server and window manager that the
// test script starts, real keys from XTest, a second real program (the test editor) with the
// focus, and the in-process audio player on libmpv.
#include "app/MediaOpener.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordingMpcTransport.h"
#include "app/Program.h"
#include "forms/TForm1.h"
#include "automation/GlobalHotKey.h"
#include "automation/TextInjection.h"
#include "marks/BookmarkNavigator.h"
#include "marks/TForm2.h"
#include "doubles/FakeDesktop.h"
#include "platform/QtClock.h"
#include "platform/SoundPlayer.h"
#include "platform/UserMessages.h"
#include "platform/X11Desktop.h"
#include "platform/X11ScrollLock.h"
#include "doubles/FakeEngines.h"
#include "playback/LibmpvEngines.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"
#include "windows/Speakers.h"
#include "windows/TForm5.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "QtPrinters.h"
#include "TestEditor.h"
#include "TestMedia.h"
#include "TestWait.h"

namespace {

const MpvOptions Silent{{"ao", "null"}};

_XDisplay *QtDisplay()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// The clipboard as another program reads and sets it.
QString ClipboardSeenByXclip()
{
    QProcess p;
    p.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
    // Our own process may be the owner: keep answering it while xclip asks.
    WaitFor([&] { return p.state() == QProcess::NotRunning; }, 3000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class LiveDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(QtDisplay(), nullptr) << "run with QT_QPA_PLATFORM=xcb on an X server";
        ASSERT_TRUE(desktop.observing());
        qputenv("STENOVA_HOME", home.path().toUtf8());
        recording = MakeTestRecording(home.path(), QStringLiteral("talk.wav"), 20);
        ASSERT_FALSE(recording.isEmpty());
        program = std::make_unique<Program>(
            Platform{clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
            QStringList{QStringLiteral("stenova")});
        form().show();
        program->session().PendingMediaPath = recording;
        program->opener().OpenMediaFile();
        ASSERT_EQ(player().PlayState(), 1);
        form().CheckBox3->setChecked(true);
        form().CheckBox4->setChecked(true); // the ESC stop steps back
    }
    void TearDown() override
    {
        program.reset();
        qunsetenv("STENOVA_HOME");
    }

    TForm1 &form() { return *program->Form1(); }
    PlayerFacade &player() { return program->player(); }

    // Starts the editor and waits until it has the focus.
    void startEditor(const QString &text = {}, int selectFrom = -1, int selectLength = 0)
    {
        editorWindow = editor.start(home.path(), text, selectFrom, selectLength);
        ASSERT_NE(editorWindow, 0u);
        ASSERT_TRUE(WaitFor([&] { return desktop.foreground() == editorWindow; }, 5000));
    }
    QString editorText() { return editor.text(); }
    int escapesSeen() { return editor.escapesSeen(); }

    void key(int vk, bool down)
    {
        desktop.sendKey({vk, 0, false, !down});
        WaitFor([] { return false; }, 20);
    }
    // A press held for 60 ms, as a typist's.
    void tap(int vk)
    {
        key(vk, true);
        WaitFor([] { return false; }, 40);
        key(vk, false);
    }
    void combo(std::initializer_list<int> modifiers, int vk)
    {
        for (int m : modifiers) key(m, true);
        tap(vk);
        for (int m : modifiers) key(m, false);
    }
    bool playingWithin(int ms)
    {
        return WaitFor([&] { return player().PlayState() == 3; }, ms);
    }
    void lockOutPasses()
    {
        WaitFor([] { return false; }, 450);
    }

    QTemporaryDir home;
    QtClock clock;
    X11Desktop desktop;
    X11ScrollLock scrollLock{QtDisplay()};
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    LibmpvMci mci{clock, Silent};
    FakeWmp wmp{clock};
    RecordedSounds sound;
    FakeVolume mixer, masterVolume;
    std::unique_ptr<Program> program;
    QString recording;
    TestEditor editor;
    WindowId editorWindow = 0;
};

} // namespace

TEST_F(LiveDesktop, EscInTheEditorStartsAndStopsAndTheEditorStillGetsIt)
{
    startEditor(QStringLiteral("Текст"));
    tap(VK::Esc);
    ASSERT_TRUE(playingWithin(2000));
    EXPECT_EQ(program->injection().TextWindow, editorWindow);
    EXPECT_NE(program->injection().TextFocusWindow, 0u);
    EXPECT_TRUE(WaitFor([&] { return escapesSeen() == 1; }));
    EXPECT_EQ(desktop.foreground(), editorWindow);

    WaitFor([] { return false; }, 1500);
    const int before = player().PositionMs();
    tap(VK::Esc);
    ASSERT_TRUE(WaitFor([&] { return player().PlayState() == 2; }, 2000));
    // Stopped, then one second back from where it stopped.
    EXPECT_NEAR(player().PositionMs(), before - 1000, 250);
    EXPECT_TRUE(WaitFor([&] { return escapesSeen() == 2; }));
    EXPECT_EQ(editorText(), "Текст"); // the selection read at the start changed nothing
}

TEST_F(LiveDesktop, ModifiersSecondPressesAndSpace)
{
    startEditor();
    combo({VK::Shift}, VK::Esc);
    combo({VK::Ctrl}, VK::Esc);
    EXPECT_FALSE(playingWithin(400));

    tap(VK::Esc);
    tap(VK::Esc); // within the lock-out
    ASSERT_TRUE(playingWithin(2000));
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(player().PlayState(), 3);

    lockOutPasses();
    tap(VK::Space); // "и cтоп по пробелу" is off
    lockOutPasses();
    EXPECT_EQ(player().PlayState(), 3);
    form().CheckBox12->setChecked(true);
    tap(VK::Space);
    EXPECT_TRUE(WaitFor([&] { return player().PlayState() == 2; }, 2000));
    lockOutPasses();
    tap(VK::Space); // never starts
    EXPECT_FALSE(playingWithin(400));
}

TEST_F(LiveDesktop, ScrollLockTogglesTheLoopAndTheLight)
{
    startEditor();
    const bool before = form().CheckBox8->isChecked();
    tap(VK::ScrollLock);
    ASSERT_TRUE(WaitFor([&] { return form().CheckBox8->isChecked() != before; }, 2000));
    EXPECT_EQ(scrollLock.isOn(), !before);
    lockOutPasses();
    tap(VK::ScrollLock);
    ASSERT_TRUE(WaitFor([&] { return form().CheckBox8->isChecked() == before; }, 2000));
    EXPECT_EQ(scrollLock.isOn(), before);
}

TEST_F(LiveDesktop, HotKeysAddABookmarkAndTypeASpeakerAtTheCaret)
{
    startEditor(QStringLiteral("Начало. "));
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    EXPECT_TRUE(WaitFor([&] { return program->Form2()->StringGrid1.cell(BookmarkTable::Name, 1) == "z1"; }));

    // The text window is taken by an ESC start, then the speaker goes in at the caret.
    tap(VK::Esc);
    ASSERT_TRUE(playingWithin(2000));
    program->speakers().SpeakerNames[1] = QStringLiteral("Борис"); // kept with "ОК"
    program->speakers().SpeakerSuffix = QStringLiteral(": ");
    QProcess owner; // another program owns the clipboard, as a user's copy leaves it
    owner.start(QStringLiteral("xclip"),
                {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
    owner.write("abc");
    owner.closeWriteChannel();
    ASSERT_TRUE(WaitFor([] { return ClipboardSeenByXclip() == "abc"; }));
    combo({VK::Ctrl, VK::Shift}, '2');
    EXPECT_TRUE(WaitFor([&] { return editorText() == "Начало. Борис: "; }, 3000)) << editorText().toStdString();
    EXPECT_EQ(ClipboardSeenByXclip(), "abc");
    EXPECT_EQ(desktop.foreground(), editorWindow);
    owner.kill();
    owner.waitForFinished();
}

TEST_F(LiveDesktop, SelectedMarkerInTheEditorStartsFromItsBookmark)
{
    for (int ms : {3000, 6000, 12000}) {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
        WaitFor([] { return false; }, 150); // the position display follows
        program->bookmarks().BitBtn1Click();
    }
    ASSERT_EQ(program->Form2()->StringGrid1.cell(BookmarkTable::Name, 3), "z3");
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(0);
    startEditor(QStringLiteral("Здесь {z3} и дальше"), 6, 4);
    tap(VK::Esc);
    ASSERT_TRUE(playingWithin(3000));
    EXPECT_NEAR(player().PositionMs(), 12000, 400);
    EXPECT_EQ(editorText(), "Здесь {z3} и дальше"); // the copy changed nothing
}

namespace {

// Runs a command of another program to its end.
void RunToEnd(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    WaitFor([&] { return p.state() == QProcess::NotRunning; }, 5000);
}

// A click of the user into a window, at a point inside it.
void ClickInto(WindowId w, int x, int y)
{
    RunToEnd(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(w), QString::number(x),
              QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
    WaitFor([] { return false; }, 300);
}

WindowId ClipboardOwner()
{
    Display *d = QtDisplay();
    return XGetSelectionOwner(d, XInternAtom(d, "CLIPBOARD", False));
}

} // namespace

// PRIMARY tells the selection only where it is exact: in a GTK window, whose text control owns
// PRIMARY exactly while it has a selection. A Qt program keeps PRIMARY after its selection is
// cleared; there the selection is copied.
TEST_F(LiveDesktop, PrimaryIsReadOnlyWhereItIsTheSelection)
{
    TestEditor gtk(TestEditor::Gtk());
    const WindowId gtkWindow = gtk.start(home.path(), QStringLiteral("Здесь {z3} и дальше"), 6, 4);
    ASSERT_NE(gtkWindow, 0u);
    ASSERT_TRUE(WaitFor([&] { return desktop.foreground() == gtkWindow; }, 5000));
    EXPECT_EQ(desktop.selectedText(gtkWindow), QStringLiteral("{z3}"));
    ClickInto(gtkWindow, 200, 100); // the user clears the selection: GTK gives PRIMARY up
    EXPECT_EQ(desktop.selectedText(gtkWindow), QString());
    program->injection().TextWindow = gtkWindow;
    program->injection().TextFocusWindow = desktop.focusWindow();
    EXPECT_EQ(program->injection().SelectedText(), QString());
    EXPECT_EQ(program->injection().CopySelection(), QString()); // what the copy gives agrees

    // Selected again, then another program takes PRIMARY: GTK lets its selection go.
    gtk.kill();
    const WindowId again = gtk.start(home.path(), QStringLiteral("Здесь {z3} и дальше"), 6, 4);
    ASSERT_TRUE(WaitFor([&] { return desktop.foreground() == again; }, 5000));
    EXPECT_EQ(desktop.selectedText(again), QStringLiteral("{z3}"));
    QProcess other;
    other.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("primary"), QStringLiteral("-i")});
    other.write("чужой текст");
    other.closeWriteChannel();
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(desktop.selectedText(again), QString());
    program->injection().TextWindow = again;
    program->injection().TextFocusWindow = desktop.focusWindow();
    EXPECT_EQ(program->injection().CopySelection(), QString());
    gtk.kill();

    // A Qt editor whose selection the user made with the mouse and then cleared.
    startEditor(QStringLiteral("Qt editor text to select"));
    RunToEnd(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(editorWindow),
              QStringLiteral("8"), QStringLiteral("12"), QStringLiteral("mousedown"), QStringLiteral("1"),
              QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(editorWindow),
              QStringLiteral("90"), QStringLiteral("12"), QStringLiteral("mouseup"), QStringLiteral("1")});
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(desktop.selectedText(editorWindow), std::nullopt);
    ClickInto(editorWindow, 200, 100);
    EXPECT_EQ(desktop.selectedText(editorWindow), std::nullopt); // Qt still holds the old text
    other.kill();
    other.waitForFinished();
}

// In a GTK editor the selected marker is read from PRIMARY: the clipboard, which another
// program holds, is not touched at all.
TEST_F(LiveDesktop, SelectedMarkerInAGtkEditorLeavesTheClipboardAlone)
{
    for (int ms : {3000, 6000, 12000}) {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
        WaitFor([] { return false; }, 150);
        program->bookmarks().BitBtn1Click();
    }
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(0);
    const WindowId before = ClipboardOwner();
    QProcess holder;
    holder.start(QStringLiteral("xclip"),
                 {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    holder.write("abc");
    holder.closeWriteChannel();
    ASSERT_TRUE(WaitFor([&] { return ClipboardOwner() != before && ClipboardOwner() != 0; }, 3000));
    const WindowId owner = ClipboardOwner();

    TestEditor gtk(TestEditor::Gtk());
    const WindowId gtkWindow = gtk.start(home.path(), QStringLiteral("Здесь {z3} и дальше"), 6, 4);
    ASSERT_NE(gtkWindow, 0u);
    ASSERT_TRUE(WaitFor([&] { return desktop.foreground() == gtkWindow; }, 5000));
    tap(VK::Esc);
    ASSERT_TRUE(playingWithin(3000));
    EXPECT_NEAR(player().PositionMs(), 12000, 400);
    EXPECT_EQ(ClipboardOwner(), owner); // nobody took the clipboard over
    EXPECT_EQ(ClipboardSeenByXclip(), "abc");
    EXPECT_EQ(gtk.text(), "Здесь {z3} и дальше");
    holder.kill();
    holder.waitForFinished();
}

TEST_F(LiveDesktop, MinimisedProgramIgnoresTheKeysButKeepsStepsAndVolume)
{
    startEditor();
    form().showMinimized();
    ASSERT_TRUE(WaitFor([&] { return program->lifecycle().AppMinimized; }, 3000));
    desktop.setForeground(editorWindow);
    ASSERT_TRUE(WaitFor([&] { return desktop.foreground() == editorWindow; }));
    tap(VK::Esc);
    combo({VK::Ctrl, VK::Shift}, VK::F9);
    EXPECT_FALSE(playingWithin(500));
    EXPECT_EQ(program->Form2()->StringGrid1.cell(BookmarkTable::Time, 1), "");
    form().TrackBarVolume->setValue(50);
    combo({VK::Ctrl, VK::Alt}, VK::Up);
    EXPECT_TRUE(WaitFor([&] { return form().TrackBarVolume->value() == 60; }));
    lockOutPasses();
    combo({VK::Ctrl, VK::Alt}, VK::Right);
    EXPECT_TRUE(WaitFor([&] { return player().PositionMs() == 1000; }));
}

// The services on their own.

TEST(X11DesktopServices, KeysAreObservedAndHotKeysReportedWithAnyLockState)
{
    X11Desktop desktop;
    ASSERT_TRUE(desktop.observing());
    QStringList seen;
    desktop.onKey = [&](int vk, bool down) { seen << QStringLiteral("%1%2").arg(down ? '+' : '-').arg(vk); };
    std::vector<std::pair<unsigned, int>> reported;
    desktop.onHotKey = [&](unsigned m, int vk) { reported.emplace_back(m, vk); };
    ASSERT_TRUE(desktop.registerHotKey(ModCtrl | ModAlt, VK::Up));
    ASSERT_TRUE(desktop.registerHotKey(ModCtrl | ModShift, VK::OpenBracket));
    const auto send = [&](std::initializer_list<int> keys) {
        for (int k : keys) desktop.sendKey({k, 0, false, false});
        for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) desktop.sendKey({*it, 0, false, true});
        WaitFor([] { return false; }, 100);
    };
    send({VK::Esc});
    EXPECT_EQ(seen, QStringList({"+27", "-27"}));
    send({VK::Ctrl, VK::Alt, VK::Up});
    send({144}); // Num Lock on: the combination still counts
    send({VK::Ctrl, VK::Shift, VK::OpenBracket});
    send({144});
    send({VK::Ctrl, VK::Up}); // not registered
    EXPECT_EQ(reported, (std::vector<std::pair<unsigned, int>>{{ModCtrl | ModAlt, VK::Up},
                                                               {ModCtrl | ModShift, VK::OpenBracket}}));
    EXPECT_TRUE(seen.contains("+164")); // the left Alt as the observer sees it
    desktop.unregisterHotKey(ModCtrl | ModAlt, VK::Up);
    send({VK::Ctrl, VK::Alt, VK::Up});
    EXPECT_EQ(reported.size(), 2u);
}

TEST(X11DesktopServices, AGrabAnotherProgramHoldsIsRefused)
{
    X11Desktop other, desktop;
    ASSERT_TRUE(other.registerHotKey(ModCtrl | ModShift, VK::F11));
    EXPECT_FALSE(desktop.registerHotKey(ModCtrl | ModShift, VK::F11));
    other.unregisterHotKey(ModCtrl | ModShift, VK::F11);
    EXPECT_TRUE(desktop.registerHotKey(ModCtrl | ModShift, VK::F11));
}

TEST(X11DesktopServices, WindowsOfAnotherProgram)
{
    QTemporaryDir dir;
    TestEditor editor;
    const WindowId w = editor.start(dir.path());
    ASSERT_NE(w, 0u);
    X11Desktop desktop;
    ASSERT_TRUE(WaitFor([&] { return desktop.foreground() == w; }, 5000));
    EXPECT_EQ(desktop.focusWindow(), w);
    EXPECT_EQ(desktop.windowOfProcess(editor.processId()), w);
    EXPECT_EQ(desktop.windowOfProcess(QCoreApplication::applicationPid()), 0u); // no window shown

    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), QString::number(w)});
    EXPECT_TRUE(WaitFor([&] { return desktop.isMinimized(w); }));
    desktop.setForeground(w); // activation restores it
    EXPECT_TRUE(WaitFor([&] { return !desktop.isMinimized(w) && desktop.foreground() == w; }));

    const auto states = [&] {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"),
                    {QStringLiteral("-id"), QString::number(w), QStringLiteral("_NET_WM_STATE")});
        xprop.waitForFinished();
        return QString::fromUtf8(xprop.readAllStandardOutput());
    };
    desktop.setTopmost(w, true);
    EXPECT_TRUE(WaitFor([&] { return states().contains("_NET_WM_STATE_ABOVE"); }));
    desktop.setTopmost(w, false);
    EXPECT_TRUE(WaitFor([&] { return !states().contains("_NET_WM_STATE_ABOVE"); }));

    // A window that is gone: every operation does nothing, and nothing ends the program.
    editor.kill();
    desktop.setForeground(w);
    desktop.setFocus(w);
    desktop.setTopmost(w, true);
    EXPECT_FALSE(desktop.isMinimized(w));

    desktop.setText(QStringLiteral("текст"));
    EXPECT_EQ(ClipboardSeenByXclip(), "текст");
}
