#include "automation/KeyCapture.h"

#include "platform/Logging.h"
#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "marks/BookmarkNavigator.h"
#include "widgets/Controls.h"
#include "automation/GlobalHotKey.h"
#include "automation/TextInjection.h"
#include "marks/BookmarkTable.h"
#include "platform/Clock.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <stdexcept>

QString MarkerName(QString s)
{
    if (s.size() > 2 && s.startsWith(u'{') && s.endsWith(u'}')) s = s.mid(1, s.size() - 2);
    if (s.size() > 1 && s[0] == u'z' && s[1] >= u'0' && s[1] <= u'9') return s;
    return {};
}

KeyCapture::KeyCapture(const Controls &controls, const bool &appMinimized, BookmarkTable &bookmarks,
                       BookmarkNavigator &navigator, PlayerFacade &player, Clock &clock, Desktop desktop,
                       TextInjection &injection)
    : m_c(controls), m_appMinimized(appMinimized), m_bookmarks(bookmarks), m_navigator(navigator), m_player(player),
      m_clock(clock), m_desktop(desktop), m_injection(injection)
{
    const Controls &form = m_c;
    // The poll and the executor run when there is something to do (see HookProc), not
    // from creation: an idle program spends nothing on them.
    form.TimerHotKey->stop();
    form.TimerRunHotKey->stop();
    form.TimerHotKey->onTimeout = [this] { TimerHotKeyTimer(); };
    form.TimerRunHotKey->onTimeout = [this] { TimerRunHotKeyTimer(); };
    // The end of the lock-out lets a key that is still held act again.
    form.TimerESC->onTimeout = [this] {
        if (held.anyWatched()) m_c.TimerHotKey->start();
    };
    desktop.keyboard.onKey = [this](int vk, bool down) { HookProc(vk, down); };
    // The ESC settings are editable while ESC control is on, from the start.
    const auto escSettingsFollow = [&form](bool on) {
        for (QWidget *w : std::initializer_list<QWidget *>{form.Edit5, form.UpDown5, form.Label10, form.CheckBox4,
                                                           form.CheckBox5, form.CheckBox12})
            w->setEnabled(on);
    };
    QObject::connect(form.CheckBox3, &QCheckBox::toggled, form.CheckBox3, escSettingsFollow);
    escSettingsFollow(form.CheckBox3->isChecked());
}

KeyCapture::~KeyCapture()
{
    m_desktop.keyboard.onKey = nullptr;
    m_c.TimerHotKey->onTimeout = nullptr;
    m_c.TimerRunHotKey->onTimeout = nullptr;
    m_c.TimerESC->onTimeout = nullptr;
}

bool KeyCapture::lockedOut() const { return m_c.TimerESC->isActive(); }

void KeyCapture::HookProc(int vk, bool down)
{
    HeldKeys &k = held;
    switch (vk) {
    case VK::Shift:
    case VK::LShift:
    case VK::RShift: k.Shift = down; break;
    case VK::Ctrl:
    case VK::LCtrl:
    case VK::RCtrl: k.Ctrl = down; break;
    case VK::LWin:
    case VK::RWin: k.Win = down; break;
    case VK::Esc: k.Esc = down; break;
    case VK::Space: k.Space = down; break;
    case VK::ScrollLock: k.ScrollLock = down; break;
    default: break;
    }
    // Any key event may end a combination that kept a held key from counting.
    if (k.anyWatched() && !m_c.TimerHotKey->isActive()) m_c.TimerHotKey->start();
}

void KeyCapture::TimerHotKeyTimer()
{
    const Controls &f = m_c;
    f.TimerHotKey->stop();
    if (m_appMinimized) {
        held.clear();
        EscPending = SpacePending = ScrollLockPending = false;
        return;
    }
    HeldKeys &k = held;
    k.Alt = m_desktop.keyboard.isKeyDown(VK::LAlt);
    const bool free = !(k.Shift || k.Ctrl || k.Alt || k.Win) && !lockedOut();
    const std::pair<bool &, bool> keys[] = {
        {EscPending, k.Esc}, {SpacePending, k.Space}, {ScrollLockPending, k.ScrollLock}};
    for (auto &[pending, held] : keys) {
        if (!pending && held && free) {
            pending = true;
            f.TimerRunHotKey->start();
        }
    }
}

void KeyCapture::TimerRunHotKeyTimer()
{
    const Controls &f = m_c;
    f.TimerRunHotKey->stop();
    if (m_appMinimized) {
        if (EscPending || SpacePending || ScrollLockPending) qCDebug(lcAutomation) << "keys ignored while minimised";
        EscPending = SpacePending = ScrollLockPending = false;
        return;
    }
    if (ScrollLockPending && !lockedOut()) {
        f.TimerESC->start();
        f.CheckBox8->setChecked(!f.CheckBox8->isChecked());
        ScrollLockPending = false;
    }
    if (EscPending || SpacePending) {
        if (EscPending) f.TimerPlayNoRefrN->start();
        const int state = m_player.PlayState();
        const bool playing = state == 3;
        const bool stoppedOrPaused = state == 1 || state == 2;
        const bool acts = f.CheckBox3->isChecked() &&
                          (EscPending || (f.CheckBox12->isChecked() && SpacePending && playing && !lockedOut()));
        qCDebug(lcAutomation) << "ESC" << EscPending << "Space" << SpacePending << "state" << state << "locked out"
                              << lockedOut() << "acts" << acts;
        try {
            if (acts && playing && !lockedOut()) EscStop();
            else if (acts && stoppedOrPaused && !lockedOut()) EscStart();
        } catch (const std::exception &e) {
            // The rest of the sequence is abandoned; the request is looked at again 50 ms
            // later, when the lock-out normally makes it lapse.
            qCWarning(lcAutomation) << (playing ? "ESC stop" : "ESC start") << "abandoned:" << e.what();
            f.TimerRunHotKey->start();
            return;
        }
        EscPending = SpacePending = false;
    }
    if (ScrollLockPending) f.TimerRunHotKey->start(); // waits for the lock-out to end
    if (held.anyWatched() && !lockedOut()) f.TimerHotKey->start();
}

// The program's windows and the external player's window are never the text window.
bool KeyCapture::isOwnWindow(WindowId w) const
{
    return w == m_c.window->internalWinId() || (m_video && w == m_video->internalWinId()) ||
           w == externalPlayerWindow();
}

WindowId KeyCapture::externalPlayerWindow() const
{
    const TMPCHC *mpc = m_c.MPCHC;
    return mpc && mpc->PlayerWindow ? m_desktop.windows.windowOfProcess(mpc->PlayerWindow) : 0;
}

void KeyCapture::CaptureTextWindow()
{
    const WindowId f = m_desktop.windows.foreground();
    if (!f || isOwnWindow(f)) return;
    m_injection.TextWindow = f;
    m_injection.TextFocusWindow = m_desktop.windows.focusWindow();
}

void KeyCapture::TakeTextWindow()
{
    const WindowId f = m_desktop.windows.foreground();
    if (f && !isOwnWindow(f)) m_injection.TextWindow = f;
}

void KeyCapture::jumpToSelectedMarker()
{
    const QString name = MarkerName(m_injection.SelectedText());
    if (name.isEmpty()) return;
    for (int row = 1; row < m_bookmarks.rowCount(); ++row) {
        if (m_bookmarks.cell(BookmarkTable::Name, row) != name) continue;
        if (m_c.CheckBox8->isChecked()) m_navigator.CheckBox8Click();
        m_bookmarks.select(BookmarkTable::Comment, row);
        m_c.TrackBar1->tag = SeekUser;
        m_c.TrackBar1->setValue(TimeTextToMs(m_bookmarks.cell(BookmarkTable::Time, row)));
        return;
    }
}

WindowId KeyCapture::playerWindow() const
{
    if (m_player.ActiveEngine() == Engine::Mpc) return externalPlayerWindow();
    return m_video && m_video->isVisible() ? m_video->internalWinId() : 0;
}

void KeyCapture::ShowExternalPlayerWindow()
{
    if (const WindowId w = playerWindow()) {
        m_desktop.windows.restore(w);
        m_desktop.windows.setForeground(w);
    }
}

// The text window comes forward, restored if it was minimised.
void KeyCapture::showTextWindow()
{
    const TextInjection &s = m_injection;
    WindowServices &w = m_desktop.windows;
    if (s.TextWindow) w.setForeground(s.TextWindow);
    if (s.TextFocusWindow) w.restore(m_player.ActiveEngine() == Engine::Mpc ? s.TextWindow : s.TextFocusWindow);
}

void KeyCapture::EscStart()
{
    const Controls &f = m_c;
    f.TimerESC->start();
    CaptureTextWindow();
    if (m_injection.TextFocusWindow) jumpToSelectedMarker();
    m_player.Play();
    if (m_player.ActiveEngine() != Engine::Mci) {
        m_clock.processEvents();
        const WindowId player = f.CheckBox11->isChecked() ? playerWindow() : 0;
        if (player) m_desktop.windows.setTopmost(player, true);
        showTextWindow();
        f.TimerESC->start();
    }
    m_player.RestartAutoPausePeriod();
}

void KeyCapture::EscStop()
{
    const Controls &f = m_c;
    f.TimerESC->start();
    if (f.CheckBox5->isChecked()) m_navigator.BitBtn3Click(f.CheckBox7->isChecked());
    m_player.Pause();
    if (m_player.ActiveEngine() != Engine::Mci) {
        m_clock.processEvents();
        if (const WindowId player = f.CheckBox11->isChecked() ? playerWindow() : 0) {
            m_desktop.windows.setTopmost(player, false);
            m_desktop.windows.setForeground(player);
            m_clock.waitMs(20);
        }
        showTextWindow();
    }
    TakeTextWindow();
    if (f.CheckBox4->isChecked()) stepBack();
}

void KeyCapture::stepBack()
{
    bool ok = false;
    const int seconds = m_c.Edit5->text().trimmed().toInt(&ok);
    if (!ok) throw std::runtime_error("unreadable step");
    const int target = std::max(0, m_player.PositionMs() - seconds * 1000);
    if (m_player.ActiveEngine() == Engine::Mci) {
        m_player.SetPositionMs(target);
        m_player.Play();
        m_player.Pause();
    } else {
        m_player.Pause();
        m_player.SetPositionMs(target);
        m_clock.processEvents();
    }
}
