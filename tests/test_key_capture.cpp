#include "EngineFixture.h"

#include "automation/GlobalHotKey.h"
#include "automation/HotKeys.h"
#include "automation/KeyCapture.h"
#include "automation/TextInjection.h"
#include "marks/BookmarkNavigator.h"
#include "marks/TForm2.h"
#include "windows/Speakers.h"
#include "windows/TForm5.h"

#include "widgets/Controls.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

constexpr WindowId Editor = 100, EditorText = 101, OtherProgram = 200;

// The program with ESC control on and a text editor (a window with a text control) in front.
class CaptureTest : public EngineTest {
protected:
    void SetUp() override
    {
        forgetSettings();
        start();
        form().CheckBox3->setChecked(true);
        form().CheckBox4->setChecked(true); // the ESC stop steps back
        desktop.addWindow(Editor, EditorText);
        desktop.addWindow(OtherProgram);
        desktop.activate(Editor, EditorText);
    }
    // A press the user holds for 100 ms, then the time for the executor to act.
    void tap(int vk)
    {
        desktop.press(vk);
        clock.advance(100);
        desktop.release(vk);
    }
    void tapWith(int modifier, int vk)
    {
        desktop.press(modifier);
        tap(vk);
        desktop.release(modifier);
    }
    void addBookmarkAt(int ms)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
        program->bookmarks().BitBtn1Click();
    }
    int state() { return player().PlayState(); }
    void pause() { clock.advance(400); } // past the lock-out
};

} // namespace

TEST_F(CaptureTest, EscStartsAndStopsWithAStepBackAndTakesTheTextWindow)
{
    openIn(Engine::Mci);
    tap(VK::Esc);
    EXPECT_EQ(state(), 3);
    EXPECT_EQ(program->injection().TextWindow, Editor);
    EXPECT_EQ(program->injection().TextFocusWindow, EditorText);
    const int startedAt = static_cast<int>(clock.nowMs()); // after reading the editor's selection
    clock.advance(3000);
    tap(VK::Esc);
    EXPECT_EQ(state(), 2);
    // Played for 3 s and 51 ms (the poll and the executor), stopped and went one second back.
    EXPECT_NEAR(player().PositionMs(), 3051 - 1000, 2) << startedAt;
    EXPECT_FALSE(program->keyCapture().EscPending);
}

TEST_F(CaptureTest, OnePressActsOnceAndPressesWithinTheLockOutLapse)
{
    openIn(Engine::Mci);
    desktop.press(VK::Esc);
    clock.advance(1);
    EXPECT_TRUE(program->keyCapture().EscPending);
    EXPECT_EQ(state(), 1); // the executor acts 50 ms later
    clock.advance(60);
    EXPECT_EQ(state(), 3);
    desktop.release(VK::Esc);
    clock.advance(100);
    tap(VK::Esc); // 260 ms after the start: inside the lock-out
    EXPECT_EQ(state(), 3);
    pause();
    tap(VK::Esc);
    EXPECT_EQ(state(), 2);
}

TEST_F(CaptureTest, EscWithAModifierHeldDoesNothing)
{
    openIn(Engine::Mci);
    for (int modifier : {VK::LShift, VK::RCtrl, VK::LWin, VK::LAlt}) {
        tapWith(modifier, VK::Esc);
        pause();
        EXPECT_EQ(state(), 1) << modifier;
    }
    // A hot key ends with the modifier flags cleared, even when the user's release was not seen.
    desktop.press(VK::LCtrl);
    EXPECT_TRUE(program->keyCapture().held.Ctrl);
    desktop.hotKey(ModCtrl | ModShift, VK::Digit0 + 5);
    EXPECT_FALSE(program->keyCapture().held.Ctrl);
}

TEST_F(CaptureTest, HeldEscTogglesAgainEachTimeTheLockOutEnds)
{
    openIn(Engine::Mci);
    form().CheckBox4->setChecked(false);
    int toggles = 0, last = state();
    desktop.press(VK::Esc);
    for (int t = 0; t < 2000; t += 10) {
        clock.advance(10);
        if (state() != last) ++toggles;
        last = state();
    }
    desktop.release(VK::Esc);
    EXPECT_EQ(toggles, 6); // at 51, 432, 813, 1194, 1575, 1956 ms: lock-out + 1 ms poll + 50 ms
}

TEST_F(CaptureTest, SpaceOnlyStopsAndOnlyWhenAskedTo)
{
    openIn(Engine::Mci);
    tap(VK::Space);
    EXPECT_EQ(state(), 1); // stopped: Space never starts
    tap(VK::Esc);
    pause();
    tap(VK::Space);
    EXPECT_EQ(state(), 3); // "и cтоп по пробелу" is off
    form().CheckBox12->setChecked(true);
    tap(VK::Space);
    EXPECT_EQ(state(), 2);
    pause();
    tap(VK::Space);
    EXPECT_EQ(state(), 2);
}

TEST_F(CaptureTest, ScrollLockTogglesTheBookmarkLoopAndItsLight)
{
    openIn(Engine::Mci);
    tap(VK::ScrollLock);
    EXPECT_TRUE(form().CheckBox8->isChecked());
    EXPECT_TRUE(scrollLock.on);
    tap(VK::ScrollLock); // within 330 ms: ignored
    pause();
    EXPECT_TRUE(form().CheckBox8->isChecked());
    tap(VK::ScrollLock);
    EXPECT_FALSE(form().CheckBox8->isChecked());
    EXPECT_FALSE(scrollLock.on);
}

TEST_F(CaptureTest, EscControlOffOrNoFileLeavesPlaybackAlone)
{
    form().CheckBox3->setChecked(false); // its settings follow it
    EXPECT_FALSE(form().Edit5->isEnabled());
    EXPECT_FALSE(form().CheckBox12->isEnabled());
    form().CheckBox3->setChecked(true);
    EXPECT_TRUE(form().CheckBox5->isEnabled());
    EXPECT_TRUE(form().UpDown5->isEnabled());

    tap(VK::Esc); // no file open: the engine is in no state to act on
    EXPECT_EQ(state(), 0);
    EXPECT_EQ(program->injection().TextWindow, 0u);
    openIn(Engine::Mci);
    form().CheckBox3->setChecked(false);
    desktop.press(VK::Esc);
    clock.advance(60);
    EXPECT_TRUE(form().TimerPlayNoRefrN->isActive()); // the loop pause still ends
    desktop.release(VK::Esc);
    clock.advance(60);
    EXPECT_EQ(state(), 1);
    EXPECT_FALSE(program->keyCapture().EscPending);
}

TEST_F(CaptureTest, NothingWhileMinimisedNorWithinTheLockOutAfterRestore)
{
    openIn(Engine::Mci);
    program->lifecycle().ApplicationEvents1Minimize();
    tap(VK::Esc);
    tap(VK::ScrollLock);
    EXPECT_EQ(state(), 1);
    EXPECT_FALSE(form().CheckBox8->isChecked());
    program->lifecycle().ApplicationEvents1Restore();
    tap(VK::Esc);
    EXPECT_EQ(state(), 1);
    pause();
    tap(VK::Esc);
    EXPECT_EQ(state(), 3);
}

TEST_F(CaptureTest, OwnWindowsAreNeverTakenAsTheTextWindow)
{
    openIn(Engine::Mci);
    tap(VK::Esc);
    pause();
    tap(VK::Esc);
    pause();
    desktop.activate(form().winId());
    tap(VK::Esc);
    EXPECT_EQ(state(), 3);
    EXPECT_EQ(program->injection().TextWindow, Editor);
    EXPECT_EQ(program->injection().TextFocusWindow, EditorText);
}

TEST_F(CaptureTest, SelectedMarkerStartsFromItsBookmark)
{
    openIn(Engine::Mci);
    for (int ms : {5000, 10000, 20500}) addBookmarkAt(ms);
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(1000);
    desktop.clipboard = QStringLiteral("earlier");
    QString selection;
    desktop.onCopy = [&](WindowId focus) {
        EXPECT_EQ(focus, EditorText);
        desktop.clipboard = selection;
    };
    const auto startWith = [&](const QString &selected) {
        selection = selected;
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(1000);
        tap(VK::Esc);
        const int at = player().PositionMs();
        pause();
        tap(VK::Esc); // stop again
        pause();
        return at;
    };
    // Read just after the start: the selection read took the whole press.
    EXPECT_EQ(startWith(QStringLiteral("{z3}")), 20500);
    EXPECT_EQ(program->Form2()->StringGrid1.row(), 3);
    EXPECT_EQ(startWith(QStringLiteral("z2")), 10000);
    EXPECT_EQ(startWith(QStringLiteral("{z}")), 1000);
    EXPECT_EQ(startWith(QStringLiteral("za")), 1000);
    EXPECT_EQ(startWith(QStringLiteral("{z9}")), 1000);
    EXPECT_EQ(desktop.clipboard, "earlier"); // the clipboard's text is given back
}

// Where the desktop tells the text window's selection exactly, it is read without a copy:
// no Ctrl+C, the clipboard and the focus untouched, and no wait for the copy.
TEST_F(CaptureTest, SelectionToldByTheDesktopNeedsNoCopy)
{
    openIn(Engine::Mci);
    for (int ms : {5000, 10000, 20500}) addBookmarkAt(ms);
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(1000);
    desktop.clipboard = QStringLiteral("earlier");
    int copies = 0;
    desktop.onCopy = [&](WindowId) { ++copies; };
    desktop.primary[Editor] = QStringLiteral("{z2}");
    desktop.press(VK::Esc);
    clock.advance(60); // the poll and the executor, and no wait for a copy
    EXPECT_EQ(state(), 3);
    EXPECT_NEAR(player().PositionMs(), 10000, 20);
    desktop.release(VK::Esc);
    EXPECT_EQ(copies, 0);
    EXPECT_EQ(desktop.primaryReads, 1);
    EXPECT_EQ(desktop.clipboard, "earlier");
}

TEST_F(CaptureTest, NothingSelectedAsTheDesktopTellsItStartsWhereItIs)
{
    openIn(Engine::Mci);
    addBookmarkAt(10000);
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(1000);
    int copies = 0;
    desktop.onCopy = [&](WindowId) { ++copies; };
    desktop.primary[Editor] = QString();
    tap(VK::Esc);
    EXPECT_EQ(state(), 3);
    EXPECT_LT(player().PositionMs(), 2000);
    EXPECT_EQ(copies, 0);
}

// Copied, a selection that is empty stays empty: the copy changes nothing then, and the
// text the clipboard held before is not taken for a selected marker.
TEST_F(CaptureTest, NothingSelectedIsNotTheClipboardsOldText)
{
    openIn(Engine::Mci);
    for (int ms : {5000, 10000}) addBookmarkAt(ms);
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(1000);
    desktop.clipboard = QStringLiteral("{z2}"); // copied by the user some time ago
    desktop.onCopy = [](WindowId) {};           // nothing is selected: the copy copies nothing
    tap(VK::Esc);
    EXPECT_EQ(state(), 3);
    EXPECT_LT(player().PositionMs(), 2000);
    EXPECT_EQ(desktop.clipboard, "{z2}"); // and the clipboard is given back
}

TEST_F(CaptureTest, StopGoesBackToTheBookmarkOrToA)
{
    openIn(Engine::Mci);
    addBookmarkAt(4000);
    form().CheckBox5->setChecked(true);
    form().CheckBox4->setChecked(false);
    form().TrackBar1->tag = SeekUser;
    form().TrackBar1->setValue(6000);
    tap(VK::Esc);
    clock.advance(1000);
    tap(VK::Esc);
    EXPECT_EQ(state(), 2);
    EXPECT_NEAR(player().PositionMs(), 4000, 10);
}

TEST_F(CaptureTest, StepBackStopsAtTheStartOnEveryEngine)
{
    for (Engine engine : {Engine::Mci, Engine::Wmp, Engine::Mpc}) {
        program.reset();
        SetUp();
        openIn(engine);
        form().Edit5->setText(QStringLiteral("5"));
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(3000);
        clock.advance(100);
        tap(VK::Esc);
        EXPECT_EQ(state(), 3) << int(engine);
        tap(VK::Esc); // lapses: within the lock-out
        pause();
        desktop.press(VK::Esc);
        clock.advance(60);
        desktop.release(VK::Esc);
        EXPECT_EQ(state(), 2) << int(engine);
        EXPECT_EQ(player().PositionMs(), 0) << int(engine);
    }
}

TEST_F(CaptureTest, ExternalPlayersWindowStaysOverTheTextWhilePlaying)
{
    constexpr WindowId Player = 300;
    desktop.addWindow(Player);
    desktop.processWindows[4242] = Player; // the scripted player's process
    openIn(Engine::Mpc);
    form().CheckBox11->setChecked(true);
    desktop.activate(Editor, EditorText);
    tap(VK::Esc);
    EXPECT_EQ(state(), 3);
    EXPECT_TRUE(desktop.topmost.count(Player));
    EXPECT_EQ(desktop.foreground(), Editor); // the text window is in front again
    pause();
    tap(VK::Esc);
    EXPECT_EQ(state(), 2);
    EXPECT_FALSE(desktop.topmost.count(Player));
    EXPECT_EQ(desktop.foreground(), Editor);
    EXPECT_EQ(program->injection().TextWindow, Editor);
}

namespace {
// Warnings the program logs while a test runs, as "category: message".
QStringList *LoggedWarnings = nullptr;
void RecordWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (LoggedWarnings && type == QtWarningMsg)
        *LoggedWarnings << QString::fromLatin1(context.category) + ": " + message;
}
} // namespace

TEST_F(CaptureTest, UnreadableStepPausesAndTheRequestLapses)
{
    QStringList warnings;
    LoggedWarnings = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(RecordWarning);
    openIn(Engine::Mci);
    tap(VK::Esc);
    pause();
    form().Edit5->setText(QString());
    clock.advance(1000);
    tap(VK::Esc);
    EXPECT_EQ(state(), 2);
    EXPECT_GE(player().PositionMs(), 1300); // no step back was made
    pause();
    EXPECT_FALSE(program->keyCapture().EscPending);
    EXPECT_EQ(state(), 2);
    qInstallMessageHandler(previous);
    LoggedWarnings = nullptr;
    // What was abandoned, and why, is logged.
    EXPECT_EQ(warnings, QStringList({"stenova.automation: ESC stop abandoned: unreadable step"}));
}

// Hot keys.

TEST_F(CaptureTest, EveryHotKeyIsRegisteredAndOneTheSystemRefusesIsSilent)
{
    EXPECT_EQ(desktop.registered.size(), 22u);
    program.reset();
    EXPECT_TRUE(desktop.registered.empty()); // all given back on exit
    desktop.refused.insert({ModCtrl | ModAlt, VK::G});
    start();
    EXPECT_EQ(desktop.registered.size(), 21u);
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(CaptureTest, MinimisedProgramGivesCtrlShift1BackAndIgnoresTheTypingKeys)
{
    openIn(Engine::Mci);
    const std::pair<unsigned, int> first{ModCtrl | ModShift, VK::Digit0 + 1};
    program->lifecycle().ApplicationEvents1Minimize();
    EXPECT_FALSE(desktop.registered.count(first));
    EXPECT_EQ(desktop.registered.size(), 21u);
    desktop.hotKey(ModCtrl | ModShift, VK::F9);
    EXPECT_EQ(program->Form2()->StringGrid1.cell(BookmarkTable::Time, 1), "");
    desktop.hotKey(ModCtrl | ModAlt, VK::Right); // the steps still work
    EXPECT_EQ(player().PositionMs(), 1000);
    program->lifecycle().ApplicationEvents1Restore();
    EXPECT_TRUE(desktop.registered.count(first));
    clock.advance(150); // the position display follows
    desktop.hotKey(ModCtrl | ModShift, VK::F9);
    EXPECT_EQ(program->Form2()->StringGrid1.cell(BookmarkTable::Time, 1), "00:00:01.000");
}

TEST_F(CaptureTest, HotKeysReachTheBookmarksTheIntervalAndTheSpeakers)
{
    openIn(Engine::Mci);
    QStringList typed;
    desktop.onPaste = [&](WindowId, const QString &t) { typed << t; };
    program->speakers().SpeakerNames[1] = QStringLiteral("Борис"); // kept with "ОК"
    program->speakers().SpeakerSuffix = QStringLiteral(":");
    desktop.hotKey(ModCtrl | ModShift, VK::Digit0 + 2);
    EXPECT_EQ(typed, QStringList({"Борис:"}));
    desktop.hotKey(ModCtrl | ModShift, VK::Digit0);
    EXPECT_TRUE(program->Form5()->isVisible());

    const auto at = [&](int ms) {
        player().SetPositionMs(ms);
        clock.advance(150); // the position display follows
    };
    at(2500);
    desktop.hotKey(ModCtrl | ModShift, VK::OpenBracket);
    at(7500);
    desktop.hotKey(ModCtrl | ModShift, VK::CloseBracket);
    EXPECT_EQ(form().MaskEdit1->text(), "00:00:02.500");
    EXPECT_EQ(form().MaskEdit2->text(), "00:00:07.500");
    desktop.hotKey(ModCtrl | ModShift, VK::F9);
    at(9000);
    desktop.hotKey(ModCtrl | ModShift, VK::F10);
    EXPECT_EQ(player().PositionMs(), 7500);
    desktop.hotKey(ModCtrl | ModShift, VK::F11);
    EXPECT_EQ(program->Form2()->StringGrid1.row(), 1);
}

TEST_F(CaptureTest, StepsAtTheEdgesOnEachEngine)
{
    for (Engine engine : {Engine::Mci, Engine::Wmp, Engine::Mpc}) {
        program.reset();
        SetUp();
        openIn(engine, 10000);
        player().Play();
        player().SetPositionMs(400);
        clock.advance(10);
        desktop.hotKey(ModCtrl | ModAlt, VK::Left);
        clock.advance(1);
        EXPECT_EQ(player().PositionMs(), engine == Engine::Mci ? 0 : 1) << int(engine);
        // The external player and the video window keep playing; the audio player stops.
        EXPECT_EQ(state(), engine == Engine::Mci ? 1 : 3) << int(engine);
        pause();
        player().Play();
        player().SetPositionMs(9500);
        clock.advance(10);
        desktop.hotKey(ModCtrl | ModAlt, VK::Right);
        EXPECT_EQ(player().PositionMs(), 0) << int(engine);
        EXPECT_EQ(state(), 1) << int(engine);
    }
}

TEST_F(CaptureTest, HeldStepActsAtMostOncePerLockOut)
{
    openIn(Engine::Mci);
    int steps = 0;
    for (int t = 0; t < 1000; t += 30) { // the system repeats a held combination
        const int before = player().PositionMs();
        desktop.hotKey(ModCtrl | ModAlt, VK::Right);
        if (player().PositionMs() != before) ++steps;
        clock.advance(30);
    }
    EXPECT_EQ(steps, 4); // at 0, 330, 660 and 990 ms
    // Right after an ESC start the steps wait for the lock-out.
    tap(VK::Esc);
    player().Pause();
    const int at = player().PositionMs();
    desktop.hotKey(ModCtrl | ModAlt, VK::Left);
    EXPECT_EQ(player().PositionMs(), at);
}

TEST_F(CaptureTest, VolumeKeysMoveTheSliderByTenWithinItsRange)
{
    form().TrackBarVolume->setValue(95);
    desktop.hotKey(ModCtrl | ModAlt, VK::Up);
    EXPECT_EQ(form().TrackBarVolume->value(), 100);
    desktop.hotKey(ModCtrl | ModAlt, VK::Down);
    EXPECT_EQ(form().TrackBarVolume->value(), 100); // within the lock-out
    pause();
    desktop.hotKey(ModCtrl | ModAlt, VK::Down);
    EXPECT_EQ(form().TrackBarVolume->value(), 90);
}

// Typing into the text window.

TEST(KeyEvents, ScanCodesAndExtendedKeys)
{
    EXPECT_EQ(KeyScanCode(VK::V), 47);
    EXPECT_EQ(KeyScanCode(VK::C), 46);
    EXPECT_EQ(KeyScanCode('Q'), 16);
    EXPECT_EQ(KeyScanCode('P'), 25);
    EXPECT_EQ(KeyScanCode('0'), 11);
    EXPECT_EQ(KeyScanCode(VK::Ctrl), 29);
    EXPECT_EQ(KeyScanCode(VK::RShift), 54);
    EXPECT_EQ(KeyScanCode(98), 80); // numeric keypad 2
    EXPECT_EQ(KeyScanCode(VK::LWin), 91);
    EXPECT_TRUE(IsExtendedKey(VK::Left));
    EXPECT_TRUE(IsExtendedKey(VK::LWin));
    EXPECT_TRUE(IsExtendedKey(VK::RCtrl));
    EXPECT_FALSE(IsExtendedKey(VK::Ctrl));
    EXPECT_FALSE(IsExtendedKey(VK::V));
}

TEST_F(CaptureTest, InsertTextPastesIntoTheCapturedControlAndGivesEverythingBack)
{
    program->injection().TextWindow = Editor;
    program->injection().TextFocusWindow = EditorText;
    desktop.activate(OtherProgram);
    desktop.clipboard = QStringLiteral("abc");
    desktop.press(VK::LShift); // still held by the user
    QStringList pasted;
    desktop.onPaste = [&](WindowId focus, const QString &text) {
        pasted << QStringLiteral("%1:%2").arg(focus).arg(text);
    };
    program->injection().InsertText(QStringLiteral("Анна: "));
    EXPECT_EQ(pasted, QStringList({"101:Анна: "}));
    EXPECT_EQ(desktop.sent,
              QStringList({"-18@101", "-17@101", "-16@101", "-91@101", "+17@101", "+86@101", "-86@101", "-17@101"}));
    EXPECT_EQ(desktop.clipboard, "abc");
    EXPECT_EQ(desktop.foreground(), OtherProgram);

    desktop.sent.clear();
    program->injection().InsertText(QString());
    EXPECT_TRUE(desktop.sent.isEmpty());
    EXPECT_EQ(desktop.clipboard, "abc");
}

TEST_F(CaptureTest, MinimisedTextWindowIsRestoredBeforeThePaste)
{
    program->injection().TextWindow = Editor;
    program->injection().TextFocusWindow = EditorText;
    desktop.minimized.insert(Editor);
    bool restoredAtPaste = false;
    desktop.onPaste = [&](WindowId, const QString &) { restoredAtPaste = !desktop.isMinimized(Editor); };
    program->injection().InsertText(QStringLiteral("x"));
    EXPECT_TRUE(restoredAtPaste);
}

TEST_F(CaptureTest, NewBookmarkTypesItsMarkerOnlyIntoACapturedWindow)
{
    openIn(Engine::Mci);
    form().CheckBox9->setChecked(true);
    QStringList pasted;
    desktop.onPaste = [&](WindowId, const QString &text) { pasted << text; };
    program->bookmarks().BitBtn1Click();
    EXPECT_TRUE(pasted.isEmpty());
    tap(VK::Esc);
    clock.advance(500);
    program->bookmarks().BitBtn1Click();
    EXPECT_EQ(pasted, QStringList({QStringLiteral("\u00A0{z2}\u00A0")}));
}
