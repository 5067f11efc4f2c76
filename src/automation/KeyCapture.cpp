#include "automation/KeyCapture.h"

#include "app/Controls.h"
#include "platform/Logging.h"
#include "app/MainLifecycle.h"
#include "base/MediaTime.h"
#include "app/TForm1.h"
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

KeyCapture::KeyCapture(TForm1 &form, BookmarkTable &bookmarks, PlayerFacade &player, Clock &clock, Desktop desktop,
                       TextInjection &injection, MainOperations &ops)
    : m_form(form), m_bookmarks(bookmarks), m_player(player), m_clock(clock), m_desktop(desktop),
      m_injection(injection), m_ops(ops)
{
    MainState &s = form.state;
    s.EscPending = s.SpacePending = s.ScrollLockPending = false;
    // The poll and the executor run when there is something to do (see HookProc), not
    // from creation: an idle program spends nothing on them.
    form.TimerHotKey->stop();
    form.TimerRunHotKey->stop();
    form.TimerHotKey->onTimeout = [this] { TimerHotKeyTimer(); };
    form.TimerRunHotKey->onTimeout = [this] { TimerRunHotKeyTimer(); };
    // The end of the lock-out lets a key that is still held act again.
    form.TimerESC->onTimeout = [this] {
        if (m_form.state.held.anyWatched()) m_form.TimerHotKey->start();
    };
    desktop.keyboard.onKey = [this](int vk, bool down) { HookProc(vk, down); };
    // The ESC settings are editable while ESC control is on, from the start.
    const auto escSettingsFollow = [&form](bool on) {
        for (QWidget *w : std::initializer_list<QWidget *>{form.Edit5, form.UpDown5, form.Label10, form.CheckBox4,
                                                           form.CheckBox5, form.CheckBox12})
            w->setEnabled(on);
    };
    QObject::connect(form.CheckBox3, &QCheckBox::toggled, &form, escSettingsFollow);
    escSettingsFollow(form.CheckBox3->isChecked());
}

KeyCapture::~KeyCapture()
{
    m_desktop.keyboard.onKey = nullptr;
    m_form.TimerHotKey->onTimeout = nullptr;
    m_form.TimerRunHotKey->onTimeout = nullptr;
    m_form.TimerESC->onTimeout = nullptr;
}

bool KeyCapture::lockedOut() const { return m_form.TimerESC->isActive(); }

void KeyCapture::HookProc(int vk, bool down)
{
    HeldKeys &k = m_form.state.held;
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
    if (k.anyWatched() && !m_form.TimerHotKey->isActive()) m_form.TimerHotKey->start();
}

void KeyCapture::TimerHotKeyTimer()
{
    TForm1 &f = m_form;
    MainState &s = f.state;
    f.TimerHotKey->stop();
    if (s.AppMinimized) {
        s.held.clear();
        s.EscPending = s.SpacePending = s.ScrollLockPending = false;
        return;
    }
    HeldKeys &k = s.held;
    k.Alt = m_desktop.keyboard.isKeyDown(VK::LAlt);
    const bool free = !(k.Shift || k.Ctrl || k.Alt || k.Win) && !lockedOut();
    const std::pair<bool &, bool> keys[] = {
        {s.EscPending, k.Esc}, {s.SpacePending, k.Space}, {s.ScrollLockPending, k.ScrollLock}};
    for (auto &[pending, held] : keys) {
        if (!pending && held && free) {
            pending = true;
            f.TimerRunHotKey->start();
        }
    }
}

void KeyCapture::TimerRunHotKeyTimer()
{
    TForm1 &f = m_form;
    MainState &s = f.state;
    f.TimerRunHotKey->stop();
    if (s.AppMinimized) {
        if (s.EscPending || s.SpacePending || s.ScrollLockPending)
            qCDebug(lcAutomation) << "keys ignored while minimised";
        s.EscPending = s.SpacePending = s.ScrollLockPending = false;
        return;
    }
    if (s.ScrollLockPending && !lockedOut()) {
        f.TimerESC->start();
        f.CheckBox8->setChecked(!f.CheckBox8->isChecked());
        s.ScrollLockPending = false;
    }
    if (s.EscPending || s.SpacePending) {
        if (s.EscPending) f.TimerPlayNoRefrN->start();
        const int state = m_player.PlayState();
        const bool playing = state == 3;
        const bool stoppedOrPaused = state == 1 || state == 2;
        const bool acts = f.CheckBox3->isChecked() &&
                          (s.EscPending || (f.CheckBox12->isChecked() && s.SpacePending && playing && !lockedOut()));
        qCDebug(lcAutomation) << "ESC" << s.EscPending << "Space" << s.SpacePending << "state" << state << "locked out"
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
        s.EscPending = s.SpacePending = false;
    }
    if (s.ScrollLockPending) f.TimerRunHotKey->start(); // waits for the lock-out to end
    if (s.held.anyWatched() && !lockedOut()) f.TimerHotKey->start();
}

// The program's windows and the external player's window are never the text window.
bool KeyCapture::isOwnWindow(WindowId w) const
{
    return w == m_form.internalWinId() || (m_video && w == m_video->internalWinId()) || w == externalPlayerWindow();
}

WindowId KeyCapture::externalPlayerWindow() const
{
    const TMPCHC *mpc = m_form.MPCHC.get();
    return mpc && mpc->PlayerWindow ? m_desktop.windows.windowOfProcess(mpc->PlayerWindow) : 0;
}

void KeyCapture::CaptureTextWindow()
{
    const WindowId f = m_desktop.windows.foreground();
    if (!f || isOwnWindow(f)) return;
    m_form.state.TextWindow = f;
    m_form.state.TextFocusWindow = m_desktop.windows.focusWindow();
}

void KeyCapture::TakeTextWindow()
{
    const WindowId f = m_desktop.windows.foreground();
    if (f && !isOwnWindow(f)) m_form.state.TextWindow = f;
}

void KeyCapture::jumpToSelectedMarker()
{
    const QString name = MarkerName(m_injection.CopySelection());
    if (name.isEmpty()) return;
    for (int row = 1; row < m_bookmarks.rowCount(); ++row) {
        if (m_bookmarks.cell(BookmarkTable::Name, row) != name) continue;
        if (m_form.CheckBox8->isChecked()) RunOperation(m_ops.CheckBox8Click);
        m_bookmarks.select(BookmarkTable::Comment, row);
        m_form.TrackBar1->tag = SeekUser;
        m_form.TrackBar1->setValue(TimeTextToMs(m_bookmarks.cell(BookmarkTable::Time, row)));
        return;
    }
}

WindowId KeyCapture::playerWindow() const
{
    if (m_player.ActiveEngine() == Engine::Mpc) return externalPlayerWindow();
    return m_video && m_video->isVisible() ? m_video->internalWinId() : 0;
}

// The text window comes forward, restored if it was minimised.
void KeyCapture::showTextWindow()
{
    const MainState &s = m_form.state;
    WindowServices &w = m_desktop.windows;
    if (s.TextWindow) w.setForeground(s.TextWindow);
    if (s.TextFocusWindow) w.restore(m_player.ActiveEngine() == Engine::Mpc ? s.TextWindow : s.TextFocusWindow);
}

void KeyCapture::EscStart()
{
    TForm1 &f = m_form;
    f.TimerESC->start();
    CaptureTextWindow();
    if (f.state.TextFocusWindow) jumpToSelectedMarker();
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
    TForm1 &f = m_form;
    f.TimerESC->start();
    if (f.CheckBox5->isChecked() && m_ops.BitBtn3Click) m_ops.BitBtn3Click(f.CheckBox7->isChecked());
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
    const int seconds = m_form.Edit5->text().trimmed().toInt(&ok);
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
