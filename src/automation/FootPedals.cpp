#include "automation/FootPedals.h"

#include "automation/KeyCapture.h"
#include "marks/BookmarkNavigator.h"
#include "platform/FootPedal.h"
#include "platform/Logging.h"
#include "playback/PlayerFacade.h"

#include <stdexcept>

namespace {
constexpr std::pair<PedalAction, const char *> Names[] = {{PedalAction::None, "Нет"},
                                                          {PedalAction::HoldToPlay, "Играть, пока нажата"},
                                                          {PedalAction::Back, "Назад"},
                                                          {PedalAction::Forward, "Вперед"},
                                                          {PedalAction::Bookmark, "Закладка"}};
}

FootPedals::FootPedals(FootPedal &pedal, PlayerFacade &player, KeyCapture &keys, BookmarkNavigator &bookmarks)
    : m_player(player), m_keys(keys), m_bookmarks(bookmarks)
{
    connect(&pedal, &FootPedal::changed, this, [this](int p, bool down) { down ? pressed(p) : released(p); });
    connect(&pedal, &FootPedal::gone, this, [this] {
        if (m_playingByPedal && m_player.IsPlaying()) m_player.Pause();
        m_playingByPedal = false;
    });
}

QString FootPedals::ActionText(PedalAction action)
{
    for (const auto &[a, name] : Names)
        if (a == action) return QString::fromUtf8(name);
    return {};
}

PedalAction FootPedals::ActionOf(const QString &text, PedalAction fallback)
{
    for (const auto &[a, name] : Names)
        if (text.trimmed() == QString::fromUtf8(name)) return a;
    return fallback;
}

void FootPedals::pressed(int pedal)
{
    try {
        switch (actions[pedal]) {
        case PedalAction::HoldToPlay:
            if (m_player.IsPlaying()) break;
            m_keys.EscStart();
            m_playingByPedal = true;
            break;
        case PedalAction::Back: m_player.StepBack(); break;
        case PedalAction::Forward: m_player.StepForward(); break;
        case PedalAction::Bookmark: m_bookmarks.BitBtn1Click(); break;
        case PedalAction::None: break;
        }
    } catch (const std::exception &e) { // as ESC's own: the rest is abandoned, and said so
        qCWarning(lcAutomation) << "pedal abandoned:" << e.what();
    }
}

void FootPedals::released(int pedal)
{
    if (actions[pedal] != PedalAction::HoldToPlay || !m_playingByPedal) return;
    m_playingByPedal = false;
    try {
        if (m_player.IsPlaying()) m_keys.EscStop();
    } catch (const std::exception &e) {
        qCWarning(lcAutomation) << "pedal abandoned:" << e.what();
    }
}
