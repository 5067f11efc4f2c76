// The mpv bridge against a scripted stand-in for mpv, for orders of replies and events that
// the real player shows only at times.

#include "playback/MpvIpcBridge.h"
#include "platform/QtClock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "TestWait.h"

#include <utility>
#include <vector>

namespace {

const QString ScriptedMpv = QStringLiteral(STENOVA_SCRIPTED_MPV);

TEST(MpvBridgeOrder, PausedGoesOutWithThePositionThePlayerSettledAt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtClock clock;
    MpvIpcBridge bridge(clock);
    std::vector<std::pair<std::uint32_t, QString>> reports;
    bridge.onReport = [&](std::uint32_t code, const QString &text, std::int64_t) { reports.push_back({code, text}); };
    const auto last = [&](std::uint32_t code) {
        for (auto it = reports.rbegin(); it != reports.rend(); ++it)
            if (it->first == code) return it->second;
        return QString();
    };
    ASSERT_TRUE(bridge.startPlayer(ScriptedMpv, dir.filePath(QStringLiteral("take.wav")),
                                   dir.filePath(QStringLiteral("mpv.sock"))));
    ASSERT_TRUE(WaitFor([&] { return last(Mpc::RepLoadState) == QStringLiteral("2"); }, 10000));

    // The pause is reported between the answer from before the player settled and the
    // settled one, which comes later.
    bridge.send(Mpc::CmdPause, QString());
    ASSERT_TRUE(WaitFor([&] { return last(Mpc::RepPlayMode) == QStringLiteral("1"); }, 3000));
    bridge.send(Mpc::CmdGetPosition, QString());
    EXPECT_EQ(last(Mpc::RepCurrentPosition), QStringLiteral("1.250000")) << "read as soon as paused";
    WaitFor([] { return false; }, 300);
    bridge.send(Mpc::CmdGetPosition, QString());
    EXPECT_EQ(last(Mpc::RepCurrentPosition), QStringLiteral("1.250000")) << "read later";
}

// A player that sent an event and then stopped answering: after one wait for it, nothing
// waits again, although the event arrived during that wait.
TEST(MpvBridgeOrder, AnEventFromBeforeTheStallDoesNotMakeTheNextCommandWaitAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtClock clock;
    MpvIpcBridge bridge(clock);
    QString loadState;
    bridge.onReport = [&](std::uint32_t code, const QString &text, std::int64_t) {
        if (code == Mpc::RepLoadState) loadState = text;
    };
    ASSERT_TRUE(bridge.startPlayer(ScriptedMpv, dir.filePath(QStringLiteral("take.wav")),
                                   dir.filePath(QStringLiteral("mpv.sock"))));
    ASSERT_TRUE(WaitFor([&] { return loadState == QStringLiteral("2"); }, 10000));
    ASSERT_TRUE(bridge.playerAnswering());
    bridge.send(Mpc::CmdSetPosition, QStringLiteral("5.0")); // answered by an event only
    EXPECT_FALSE(bridge.playerAnswering()) << "the seek was never answered";
    bridge.send(Mpc::CmdPause, QString());
    EXPECT_FALSE(bridge.playerAnswering());
}

} // namespace
