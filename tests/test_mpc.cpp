#include "ProgramFixture.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordingMpcTransport.h"

#include "playback/MpcOption.h"

#include <QFile>

#include <QAction>
#include <QLineEdit>

namespace {

class RemoteControl : public ::testing::Test {
protected:
    RemoteControl() : mpc(transport, clock, messages) { mpc.HostWindow = QStringLiteral("/tmp/stenova.sock"); }
    void connectPlayer() { transport.onReport(Mpc::RepConnect, {}, 77); }

    VirtualClock clock;
    RecordedMessages messages;
    RecordingMpcTransport transport;
    TMPCHC mpc;
};

} // namespace

TEST(RemoteControlText, SetPositionTexts)
{
    EXPECT_EQ(TMPCHC::PositionText(-3, 60), "0.000000");
    EXPECT_EQ(TMPCHC::PositionText(0, 60), "0.000000");
    EXPECT_EQ(TMPCHC::PositionText(12.34, 60), "12.300000");
    EXPECT_EQ(TMPCHC::PositionText(12.36, 60), "12.400000");
    EXPECT_EQ(TMPCHC::PositionText(75, 60), "75.000000"); // 74.999 rounds back up
    EXPECT_EQ(TMPCHC::PositionText(60.04, 60), "60.000000");
}

TEST_F(RemoteControl, CommandsOnlyWhileConnected)
{
    EXPECT_EQ(mpc.GetPlayState(), 3); // the play mode starts at 0, "playing"
    mpc.Play();
    mpc.SetPosition(5);
    EXPECT_EQ(mpc.GetPosition(), 0);
    EXPECT_TRUE(transport.commands.isEmpty());

    connectPlayer();
    EXPECT_EQ(mpc.PlayerWindow, 77);
    mpc.Play();
    mpc.Pause();
    mpc.Stop();
    mpc.SetPosition(12.34);
    EXPECT_EQ(transport.commands, QStringList({"a0000004|", "a0000005|", "a0000001|", "a0002000|12.300000"}));

    // The position request is answered while it is being sent.
    transport.onSend = [this](std::uint32_t code, const QString &) {
        if (code == Mpc::CmdGetPosition) transport.onReport(Mpc::RepCurrentPosition, QStringLiteral("42.125"), 77);
    };
    EXPECT_EQ(mpc.GetPosition(), 42.125);

    transport.onReport(Mpc::RepDisconnect, {}, 77);
    EXPECT_EQ(mpc.PlayerWindow, 0);
    EXPECT_EQ(mpc.DurationSec, 0);
    EXPECT_EQ(mpc.PositionSec, 0);
    mpc.Play();
    EXPECT_EQ(transport.commands.size(), 5);
}

TEST_F(RemoteControl, Reports)
{
    connectPlayer();
    transport.onReport(Mpc::RepLoadState, QStringLiteral("2"), 77);
    transport.onReport(Mpc::RepPlayMode, QStringLiteral("1"), 77);
    EXPECT_EQ(mpc.LoadState, 2);
    EXPECT_EQ(mpc.GetPlayState(), 2);
    transport.onReport(Mpc::RepPlayMode, QStringLiteral("2"), 77);
    EXPECT_EQ(mpc.GetPlayState(), 1);
    transport.onReport(Mpc::RepPlayMode, QStringLiteral("7"), 77);
    EXPECT_EQ(mpc.GetPlayState(), 0);

    // The duration is what stands after the fourth bar.
    transport.onReport(Mpc::RepNowPlaying, QStringLiteral("Title|Author|Desc|/a/b.mp3|3723.5"), 77);
    EXPECT_EQ(mpc.DurationSec, 3723.5);
    transport.onReport(Mpc::RepNotifySeek, QStringLiteral("12.75"), 77);
    EXPECT_EQ(mpc.PositionSec, 12.75);

    // A report that is no number is shown, and the stored value stays.
    transport.onReport(Mpc::RepCurrentPosition, QStringLiteral("twelve"), 77);
    EXPECT_EQ(mpc.PositionSec, 12.75);
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("twelve")));
    transport.onReport(0x12345678, QStringLiteral("ignored"), 77);
    EXPECT_EQ(messages.errors.size(), 1);
}

TEST_F(RemoteControl, OpeningClosesTheRunningPlayer)
{
    QTemporaryDir dir;
    const QString player = dir.filePath(QStringLiteral("mpv"));
    const QString media = dir.filePath(QStringLiteral("a.mp3"));
    for (const QString &p : {player, media}) {
        QFile f(p);
        f.open(QIODevice::WriteOnly);
    }
    mpc.PlayerPath = player;
    EXPECT_EQ(mpc.OpenInPlayer(dir.filePath(QStringLiteral("missing.mp3"))), -1);
    EXPECT_EQ(mpc.OpenInPlayer(media), 0);
    connectPlayer();
    EXPECT_EQ(mpc.OpenInPlayer(media), 0); // the first player is told to close
    EXPECT_EQ(transport.commands, QStringList({"a0004006|"}));
    EXPECT_EQ(mpc.PlayerWindow, 0);
    EXPECT_EQ(transport.starts.size(), 2);
    EXPECT_EQ(transport.starts[1], player + "|" + media + "|/tmp/stenova.sock");
    EXPECT_EQ(mpc.LoadedFile, media);

    mpc.PlayerPath = dir.filePath(QStringLiteral("nothing-here"));
    EXPECT_EQ(mpc.OpenInPlayer(media), -1);
    transport.startSucceeds = false;
    mpc.PlayerPath = player;
    EXPECT_EQ(mpc.OpenInPlayer(media), -1);
}

TEST_F(ProgramTest, PlayerPathCheckOfTheExternalPlayerOption)
{
    start();
    const QString good = mediaFile(QStringLiteral("mpv-0.35"));
    const QString wrong = mediaFile(QStringLiteral("Player.exe")); // exists, but is no mpv
    form().MPCHC->PlayerPath = wrong;
    messages.filesToOpen << good;
    form().NMPC->trigger();
    EXPECT_TRUE(form().NMPC->isChecked());
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0], "Ошибка!|Не найден файл проигрывателя (mpv) по пути:\r\n" + wrong);
    EXPECT_EQ(form().MPCHC->PlayerPath, good);
    EXPECT_EQ(form().EditNMPC->text(), good);

    form().NMPC->trigger(); // off
    form().MPCHC->PlayerPath = wrong;
    form().NMPC->trigger(); // on again, and the dialog is cancelled
    EXPECT_FALSE(form().NMPC->isChecked());
    ASSERT_EQ(messages.errors.size(), 3);
    EXPECT_TRUE(messages.errors[2].startsWith("Ошибка!|Снова не найден файл проигрывателя (mpv) по пути:\r\n\r\n"));
    EXPECT_TRUE(form().EditNMPC->text().isEmpty());
}
