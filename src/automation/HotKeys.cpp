#include "automation/HotKeys.h"

#include "widgets/Controls.h"
#include "automation/KeyCapture.h"
#include "platform/Clock.h"
#include "windows/GoToDialog.h"
#include "marks/ABInterval.h"
#include "marks/BookmarkNavigator.h"
#include "playback/PlayerFacade.h"
#include "widgets/SpeedBox.h"
#include "windows/Speakers.h"

#include <QAction>
#include <algorithm>

HotKeys::HotKeys(const Controls &controls, const bool &appMinimized, PlayerFacade &player, HotKeyRegistrar &registrar,
                 KeyCapture &keys, BookmarkNavigator &bookmarks, ABInterval &ab, Speakers &speakers, GoToDialog &goTo)
    : m_c(controls), m_appMinimized(appMinimized), m_player(player), m_registrar(registrar)
{
    // Actions that do nothing while the program is minimised.
    const auto unlessMinimized = [this](std::function<void()> action) {
        return [this, action = std::move(action)] {
            if (!m_appMinimized) action();
        };
    };
    for (int row = 1; row <= 9; ++row)
        HotKeyNamed(*m_c.hotKeys, QStringLiteral("JvApplicationHotKey%1").arg(row)).onHotKey =
            unlessMinimized([&speakers, row] { speakers.TypeRow(row); });
    const auto set = [&](const char *suffix, std::function<void()> action) {
        HotKeyNamed(*m_c.hotKeys, QStringLiteral("JvApplicationHotKey") + QLatin1String(suffix)).onHotKey =
            std::move(action);
    };
    set("0", unlessMinimized([this] { m_c.N23->trigger(); }));
    set("F9", unlessMinimized([&bookmarks] { bookmarks.BitBtn1Click(); }));
    set("F10", unlessMinimized([&bookmarks] { bookmarks.BitBtn3Click(false); }));
    set("F11", unlessMinimized([&bookmarks] { bookmarks.BitBtn4Click(); }));
    set("A", unlessMinimized([&ab] { ab.SpeedButton5Click(); }));
    set("B", unlessMinimized([&ab] { ab.SpeedButton6Click(); }));
    set("G", [&goTo] { goTo.ShowGoToDialog(); });
    set("Left", [this] { StepBack(); });
    set("Right", [this] { StepForward(); });
    set("Up", [this] { VolumeBy(10); });
    set("Down", [this] { VolumeBy(-10); });
    HotKeyNamed(*m_c.hotKeys, QStringLiteral("HotKeySlower")).onHotKey = [this] {
        m_player.SetSpeed(SpeedBox::stepped(m_player.Speed(), -1));
    };
    HotKeyNamed(*m_c.hotKeys, QStringLiteral("HotKeyFaster")).onHotKey = [this] {
        m_player.SetSpeed(SpeedBox::stepped(m_player.Speed(), 1));
    };

    registrar.onHotKey = [this, &keys](unsigned modifiers, int vk) {
        for (const GlobalHotKey &k : *m_c.hotKeys) {
            if (k.modifiers != modifiers || k.virtualKey != vk || !k.active) continue;
            if (k.onHotKey) k.onHotKey();
            break;
        }
        keys.held.clearModifiers();
    };
    sync();
}

HotKeys::~HotKeys()
{
    m_registrar.onHotKey = nullptr;
    for (size_t i = 0; i < m_c.hotKeys->size(); ++i)
        if (m_registered[i]) m_registrar.unregisterHotKey((*m_c.hotKeys)[i].modifiers, (*m_c.hotKeys)[i].virtualKey);
}

void HotKeys::sync()
{
    for (size_t i = 0; i < m_c.hotKeys->size(); ++i) {
        const GlobalHotKey &k = (*m_c.hotKeys)[i];
        if (k.active && !m_registered[i]) {
            // A combination another program holds stays without effect, silently.
            m_registered[i] = m_registrar.registerHotKey(k.modifiers, k.virtualKey);
        } else if (!k.active && m_registered[i]) {
            m_registrar.unregisterHotKey(k.modifiers, k.virtualKey);
            m_registered[i] = false;
        }
    }
}

size_t HotKeys::indexOf(const QString &name) const
{
    const HotKeyTable &table = *m_c.hotKeys;
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].name == name) return i;
    throw std::out_of_range("no hot key " + name.toStdString());
}

bool HotKeys::registered(const QString &name) const { return m_registered[indexOf(name)]; }

bool HotKeys::rebind(const QString &name, unsigned modifiers, int virtualKey)
{
    const size_t i = indexOf(name);
    GlobalHotKey &k = (*m_c.hotKeys)[i];
    if (m_registered[i]) m_registrar.unregisterHotKey(k.modifiers, k.virtualKey);
    m_registered[i] = false;
    k.modifiers = modifiers;
    k.virtualKey = virtualKey;
    sync();
    return m_registered[i];
}

// Acts only outside the lock-out, and starts it.
bool HotKeys::takeLockOut()
{
    if (m_c.TimerESC->isActive()) return false;
    m_c.TimerESC->start();
    return true;
}

void HotKeys::StepBack()
{
    const int state = m_player.PlayState();
    if (state < 1 || state > 3 || !takeLockOut()) return;
    const int s = m_c.UpDown1->position() * 1000;
    const int p = m_player.PositionMs();
    if (m_player.ActiveEngine() != Engine::Mci) {
        m_player.SetPositionMs(std::max(0, p - s)); // the player keeps playing or paused
    } else if (p - s >= 0) {
        m_player.SetPositionMs(p - s);
        if (state == 3) m_player.Play();
    } else {
        m_player.SetPositionMs(0);
        m_player.Stop();
    }
}

void HotKeys::StepForward()
{
    const int state = m_player.PlayState();
    if (state < 1 || state > 3 || !takeLockOut()) return;
    m_player.StepForward(); // the step button's rule: past the end goes to 0 and stops
}

void HotKeys::VolumeBy(int delta)
{
    if (!takeLockOut()) return;
    QSlider *v = m_c.TrackBarVolume;
    v->setValue(std::clamp(v->value() + delta, v->minimum(), v->maximum()));
}
