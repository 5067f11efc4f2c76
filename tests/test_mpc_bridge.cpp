// The mpv bridge against a real mpv process, driven through the remote-control client.

#include "playback/MpvIpcBridge.h"
#include "doubles/RecordedMessages.h"
#include "playback/TMPCHC.h"
#include "platform/QtClock.h"
#include "platform/UserMessages.h"
#include "TestMedia.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "TestProcesses.h"
#include "TestWait.h"

#include <csignal>
#include <functional>
#include <memory>

namespace {

const QString MpvPath = QStringLiteral("/usr/bin/mpv");
const QStringList QuietMpv{QStringLiteral("--ao=null"), QStringLiteral("--vo=null")};

// Lets the event loop run for a while, for checks that something does NOT happen.
void Pump(int ms)
{
    WaitFor([] { return false; }, ms);
}

struct Report {
    std::uint32_t code;
    QString text;
};

// Recordings shared by the tests of one run, each made when first needed: generating them
// is the slow part.
class Recordings {
public:
    static Recordings &get()
    {
        static Recordings instance;
        return instance;
    }
    QString wav20() { return make(QStringLiteral("twenty.wav"), 20); }
    QString wav7() { return make(QStringLiteral("seven.wav"), 7); }
    QString mp3() { return make(QStringLiteral("twelve.mp3"), 12); }
    QString mp4() { return make(QStringLiteral("four.mp4"), 4); }
    QString withBar() { return make(QStringLiteral("take|one.wav"), 7); }
    QString optionLike() { return make(QStringLiteral("--start=2.wav"), 4); }
    // A text file named like a recording.
    QString notMedia() { return text(QStringLiteral("notes.wav"), "These are notes, not a recording.\n"); }
    // A file in the player's place that is not a program (nor executable).
    QString notProgram() { return text(QStringLiteral("player.txt"), "not a program\n"); }

private:
    QString make(const QString &name, double seconds)
    {
        QString &path = m_made[name];
        if (path.isEmpty()) path = MakeTestRecording(m_dir.path(), name, seconds);
        EXPECT_FALSE(path.isEmpty()) << "ffmpeg could not make " << name.toStdString();
        return path;
    }
    QString text(const QString &name, const char *content)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) > 0);
        return path;
    }
    QTemporaryDir m_dir;
    QHash<QString, QString> m_made;
};

class MpvBridgeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(MpvPath).isExecutable()) << "mpv is needed for these tests";
        ASSERT_TRUE(dir.isValid());

        bridge = std::make_unique<MpvIpcBridge>(clock, QuietMpv);
        client = std::make_unique<TMPCHC>(*bridge, clock, messages);
        client->HostWindow = socketPath();
        client->PlayerPath = MpvPath;
        // Listen to the reports on their way to the client.
        auto forward = bridge->onReport;
        bridge->onReport = [this, forward](std::uint32_t code, const QString &text, std::int64_t sender) {
            reports.push_back({code, text});
            forward(code, text, sender);
        };
    }

    void TearDown() override
    {
        client.reset();
        bridge.reset();
        EXPECT_EQ(ChildProcesses(), QStringList()) << "a player process outlived its bridge";
    }

    QString socketPath() const { return dir.filePath(QStringLiteral("mpv.sock")); }

    // Opens a file in a new player and waits until the client knows it is loaded.
    void OpenLoaded(const QString &path)
    {
        ASSERT_FALSE(path.isEmpty());
        const int from = static_cast<int>(reports.size());
        ASSERT_EQ(client->OpenInPlayer(path), 0);
        ASSERT_TRUE(WaitFor(
            [&] {
                return client->connected() && client->LoadState == 2 &&
                       indexOf(Mpc::RepLoadState, QStringLiteral("2"), from) >= 0;
            },
            10000))
            << "connected " << client->connected() << ", load state " << client->LoadState;
    }

    int count(std::uint32_t code) const
    {
        int n = 0;
        for (const Report &r : reports) n += r.code == code;
        return n;
    }
    int indexOf(std::uint32_t code, const QString &text, int from = 0) const
    {
        for (int i = from; i < static_cast<int>(reports.size()); ++i)
            if (reports[i].code == code && reports[i].text == text) return i;
        return -1;
    }
    // Reads the position, as the program does all the time, until the bridge has found out
    // that the player no longer answers.
    bool WaitUntilNotAnswering()
    {
        return WaitFor(
            [&] {
                client->GetPosition();
                return !bridge->playerAnswering();
            },
            5000);
    }

    QString lastText(std::uint32_t code) const
    {
        for (auto it = reports.rbegin(); it != reports.rend(); ++it)
            if (it->code == code) return it->text;
        return {};
    }

    QTemporaryDir dir;
    QtClock clock;
    RecordedMessages messages;
    std::unique_ptr<MpvIpcBridge> bridge;
    std::unique_ptr<TMPCHC> client;
    std::vector<Report> reports;
};

// --- Connecting and loading ---

TEST_F(MpvBridgeTest, ConnectsAndReportsTheLoadedFile)
{
    const QString wav = Recordings::get().wav20();
    OpenLoaded(wav);
    EXPECT_NE(client->PlayerWindow, 0);
    EXPECT_EQ(client->PlayerWindow, bridge->processId());
    EXPECT_NEAR(client->DurationSec, 20.0, 0.05);
    EXPECT_EQ(client->PlayMode, 1) << "the player starts paused";
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(u'\n').toStdString();

    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().code, Mpc::RepConnect);
    const QStringList fields = lastText(Mpc::RepNowPlaying).split(u'|');
    ASSERT_EQ(fields.size(), 5);
    EXPECT_EQ(fields[3], wav);
    EXPECT_EQ(fields[4], QStringLiteral("20.000000"));
    // A client that sees "loaded" already has the duration.
    const int loaded = indexOf(Mpc::RepLoadState, QStringLiteral("2"));
    ASSERT_GE(loaded, 0);
    bool nowPlayingBefore = false;
    for (int i = 0; i < loaded; ++i) nowPlayingBefore |= reports[i].code == Mpc::RepNowPlaying;
    EXPECT_TRUE(nowPlayingBefore);
}

TEST_F(MpvBridgeTest, ReportsTheDurationOfCompressedFormats)
{
    OpenLoaded(Recordings::get().mp3());
    EXPECT_NEAR(client->DurationSec, 12.0, 0.1);
    OpenLoaded(Recordings::get().mp4());
    EXPECT_NEAR(client->DurationSec, 4.0, 0.1);
    EXPECT_EQ(count(Mpc::RepConnect), 2);
}

TEST_F(MpvBridgeTest, BarsInTheFileNameKeepTheDurationInPlace)
{
    const QString path = Recordings::get().withBar();
    OpenLoaded(path);
    EXPECT_NEAR(client->DurationSec, 7.0, 0.05);
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(u'\n').toStdString();
    const QStringList fields = lastText(Mpc::RepNowPlaying).split(u'|');
    ASSERT_EQ(fields.size(), 5);
    EXPECT_TRUE(fields[3].endsWith(QStringLiteral("take") + QChar(0x00A6) + QStringLiteral("one.wav")))
        << fields[3].toStdString();
    EXPECT_EQ(fields[4], QStringLiteral("7.000000"));
}

TEST_F(MpvBridgeTest, AFileNamedLikeAnOptionIsOpenedAsAFile)
{
    const QFileInfo file(Recordings::get().optionLike());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(file.path()); // the player gets the name alone
    OpenLoaded(file.fileName());
    QDir::setCurrent(previous);
    EXPECT_NEAR(client->DurationSec, 4.0, 0.05);
    EXPECT_LT(client->GetPosition(), 0.5); // not started at 2 s
}

// --- Playing, pausing, positions ---

TEST_F(MpvBridgeTest, PlayAdvancesAndPauseHolds)
{
    OpenLoaded(Recordings::get().wav20());
    client->Play();
    ASSERT_EQ(client->PlayMode, 0);
    const double start = client->GetPosition();
    EXPECT_TRUE(WaitFor([&] { return client->GetPosition() > start + 0.2; }, 5000))
        << "position stayed at " << client->PositionSec;

    // The pause is told within the send, as soon as mpv accepts it: a seek right after it
    // must not find the player playing. Its position settles a few ms later.
    client->Pause();
    ASSERT_EQ(client->PlayMode, 1);
    Pump(100);
    const double held = client->GetPosition();
    Pump(250);
    EXPECT_DOUBLE_EQ(client->GetPosition(), held);
    EXPECT_EQ(client->GetPlayState(), 2);
}

TEST_F(MpvBridgeTest, SetPositionSeeksExactlyAndKeepsThePlayState)
{
    OpenLoaded(Recordings::get().wav20());
    EXPECT_EQ(TMPCHC::PositionText(12.34, client->DurationSec), QStringLiteral("12.300000"));

    // Paused: the seek lands exactly and the player stays paused.
    client->PositionSec = -1;
    client->SetPosition(12.34);
    EXPECT_NEAR(client->PositionSec, 12.3, 0.005) << "the seek's position comes within the send";
    EXPECT_NEAR(client->GetPosition(), 12.3, 0.005);
    Pump(200);
    EXPECT_EQ(client->PlayMode, 1);
    EXPECT_NEAR(client->GetPosition(), 12.3, 0.005);

    // Playing: it goes on playing from the new place.
    client->Play();
    ASSERT_TRUE(WaitFor([&] { return client->GetPosition() > 12.35; }, 3000)) << "playing";
    client->SetPosition(3.0);
    EXPECT_NEAR(client->PositionSec, 3.0, 0.1);
    EXPECT_TRUE(WaitFor(
        [&] {
            const double p = client->GetPosition();
            return p > 3.2 && p < 12.0;
        },
        5000))
        << "position " << client->PositionSec;
    EXPECT_EQ(client->PlayMode, 0);
}

TEST_F(MpvBridgeTest, GetPositionIsAnsweredWithinTheSend)
{
    OpenLoaded(Recordings::get().wav20());
    client->SetPosition(5.0);
    client->PositionSec = -1;
    const std::size_t before = reports.size();
    EXPECT_NEAR(client->GetPosition(), 5.0, 0.005);
    ASSERT_GT(reports.size(), before);
    EXPECT_EQ(reports.back().code, Mpc::RepCurrentPosition);
    EXPECT_NEAR(reports.back().text.toDouble(), 5.0, 0.005) << reports.back().text.toStdString();
}

TEST_F(MpvBridgeTest, StopPausesAtTheStartUntilPlayOrPause)
{
    OpenLoaded(Recordings::get().wav20());
    client->Play();
    ASSERT_TRUE(WaitFor([&] { return client->GetPosition() > 0.5; }, 5000));

    client->Stop();
    EXPECT_EQ(client->PlayMode, 2);
    EXPECT_EQ(client->GetPlayState(), 1);
    EXPECT_NEAR(client->GetPosition(), 0.0, 0.005);
    // mpv's own report that it paused must not turn "stopped" into "paused".
    Pump(300);
    EXPECT_EQ(client->PlayMode, 2);
    EXPECT_NEAR(client->GetPosition(), 0.0, 0.005);
    EXPECT_EQ(client->LoadState, 2) << "the file stays loaded";

    client->Play();
    ASSERT_TRUE(WaitFor([&] { return client->PlayMode == 0; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return client->GetPosition() > 0.2; }, 5000));

    client->Stop();
    EXPECT_EQ(client->PlayMode, 2);
    client->Pause();
    EXPECT_EQ(client->PlayMode, 1);
    Pump(200);
    EXPECT_EQ(client->PlayMode, 1);
}

TEST_F(MpvBridgeTest, PlayAtTheEndStartsOver)
{
    OpenLoaded(Recordings::get().wav7());
    client->SetPosition(6.5);
    client->Play();
    ASSERT_TRUE(WaitFor([&] { return client->PlayMode == 0; }, 3000));
    // mpv keeps the file open at its end and pauses there.
    ASSERT_TRUE(WaitFor([&] { return client->PlayMode == 1; }, 5000));
    EXPECT_NEAR(client->GetPosition(), 7.0, 0.05);

    client->Play();
    ASSERT_TRUE(WaitFor([&] { return client->PlayMode == 0; }, 3000));
    EXPECT_LT(client->GetPosition(), 3.0);
    EXPECT_TRUE(WaitFor([&] { return client->GetPosition() > 0.2; }, 5000));
}

TEST_F(MpvBridgeTest, UnknownCommandsAreIgnored)
{
    OpenLoaded(Recordings::get().wav20());
    const std::size_t before = reports.size();
    bridge->send(0xA0009999, QStringLiteral("12.0"));
    EXPECT_EQ(reports.size(), before);
    EXPECT_TRUE(client->connected());
    client->SetPosition(2.0);
    EXPECT_NEAR(client->GetPosition(), 2.0, 0.005);
}

// --- A player that stops answering ---

TEST_F(MpvBridgeTest, AStoppedPlayerIsAnsweredFromItsLastReportAndFollowedAgainWhenItContinues)
{
    OpenLoaded(Recordings::get().wav20());
    client->Play();
    ASSERT_TRUE(WaitFor([&] { return client->PlayMode == 0; }, 3000));
    ASSERT_TRUE(WaitFor([&] { return client->GetPosition() > 0.5; }, 5000));
    const double beforeStop = client->GetPosition();

    StoppedProcess stopped(bridge->processId());
    ASSERT_TRUE(WaitUntilNotAnswering());
    // Still playing as far as anyone can tell; the position went on from the last report
    // by at most two report steps and stands there.
    EXPECT_EQ(client->PlayMode, 0);
    const double last = client->GetPosition();
    EXPECT_GE(last, beforeStop);
    EXPECT_LE(last, beforeStop + 2 * SmoothPosition::MaxStepSec + 0.01);
    Pump(300);
    client->PositionSec = -1;
    const std::size_t before = reports.size();
    EXPECT_DOUBLE_EQ(client->GetPosition(), last) << "answered within the send, from the last report";
    ASSERT_GT(reports.size(), before);
    EXPECT_EQ(reports.back().code, Mpc::RepCurrentPosition);

    stopped.resume();
    EXPECT_TRUE(WaitFor([&] { return client->GetPosition() > last + 0.5; }, 5000))
        << "position stayed at " << client->PositionSec;
    EXPECT_TRUE(bridge->playerAnswering());
    EXPECT_TRUE(client->connected());
}

TEST_F(MpvBridgeTest, CommandsToAStoppedPlayerTakeEffectWhenItContinues)
{
    OpenLoaded(Recordings::get().wav20());
    client->Play();
    ASSERT_TRUE(WaitFor([&] { return client->GetPosition() > 0.5; }, 5000));
    client->Pause();
    ASSERT_TRUE(WaitFor([&] { return client->PlayMode == 1; }, 3000));
    const double beforeStop = client->GetPosition();

    StoppedProcess stopped(bridge->processId());
    ASSERT_TRUE(WaitUntilNotAnswering());
    const double paused = client->GetPosition();
    EXPECT_NEAR(paused, beforeStop, 0.1);
    Pump(300);
    client->PositionSec = -1;
    EXPECT_DOUBLE_EQ(client->GetPosition(), paused) << "paused: the last report as it is";

    client->Play();
    EXPECT_EQ(client->PlayMode, 1) << "nothing changes before the player says so";
    stopped.resume();
    EXPECT_TRUE(WaitFor([&] { return client->PlayMode == 0; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return client->GetPosition() > paused + 0.3; }, 5000))
        << "position stayed at " << client->PositionSec;
    EXPECT_TRUE(bridge->playerAnswering());
}

TEST_F(MpvBridgeTest, KillingAStoppedPlayerReportsOneDisconnect)
{
    OpenLoaded(Recordings::get().wav20());
    const std::int64_t pid = bridge->processId();
    StoppedProcess stopped(pid);
    ASSERT_TRUE(WaitUntilNotAnswering());
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);

    ASSERT_TRUE(WaitFor([&] { return !client->connected(); }, 5000));
    EXPECT_EQ(client->PlayerWindow, 0);
    EXPECT_EQ(client->LoadState, 0);
    Pump(200);
    EXPECT_EQ(count(Mpc::RepDisconnect), 1);
    EXPECT_TRUE(ProcessGone(pid));
}

TEST_F(MpvBridgeTest, OpeningAgainEndsAStoppedPlayer)
{
    OpenLoaded(Recordings::get().wav20());
    const std::int64_t first = bridge->processId();
    StoppedProcess stopped(first);
    ASSERT_TRUE(WaitUntilNotAnswering());

    OpenLoaded(Recordings::get().wav7());
    EXPECT_TRUE(ProcessGone(first)) << "the stopped player still runs";
    EXPECT_NEAR(client->DurationSec, 7.0, 0.05);
    EXPECT_EQ(count(Mpc::RepDisconnect), 1);
    EXPECT_TRUE(bridge->playerAnswering());
}

// --- The player going away ---

TEST_F(MpvBridgeTest, KillingThePlayerReportsOneDisconnect)
{
    OpenLoaded(Recordings::get().wav20());
    const std::int64_t pid = bridge->processId();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);

    ASSERT_TRUE(WaitFor([&] { return !client->connected(); }, 5000));
    EXPECT_EQ(client->PlayerWindow, 0);
    EXPECT_EQ(client->DurationSec, 0);
    EXPECT_TRUE(WaitFor([&] { return !bridge->playerRunning(); }, 5000));
    Pump(200);
    EXPECT_EQ(count(Mpc::RepDisconnect), 1);
    EXPECT_TRUE(ProcessGone(pid));

    // Commands to the dead player do nothing, and a new player works.
    bridge->send(Mpc::CmdPlay, QString());
    OpenLoaded(Recordings::get().wav7());
    EXPECT_NEAR(client->DurationSec, 7.0, 0.05);
    EXPECT_EQ(count(Mpc::RepDisconnect), 1);
}

TEST_F(MpvBridgeTest, CloseEndsThePlayer)
{
    OpenLoaded(Recordings::get().wav20());
    const std::int64_t pid = bridge->processId();
    client->SendCommand(Mpc::CmdClose, QString());
    ASSERT_TRUE(WaitFor([&] { return !bridge->playerRunning() && !client->connected(); }, 5000));
    EXPECT_TRUE(ProcessGone(pid));
    Pump(100);
    EXPECT_EQ(count(Mpc::RepDisconnect), 1);
    EXPECT_EQ(client->DurationSec, 0);
}

TEST_F(MpvBridgeTest, OpeningAgainClosesTheFirstPlayer)
{
    OpenLoaded(Recordings::get().wav20());
    const std::int64_t first = bridge->processId();
    ASSERT_EQ(client->OpenInPlayer(Recordings::get().wav7()), 0);
    EXPECT_TRUE(ProcessGone(first)) << "the first player still runs";
    ASSERT_TRUE(WaitFor(
        [&] {
            return client->connected() && count(Mpc::RepConnect) == 2 &&
                   indexOf(Mpc::RepLoadState, QStringLiteral("2"), indexOf(Mpc::RepDisconnect, {})) >= 0;
        },
        10000));
    EXPECT_NE(client->PlayerWindow, first);
    EXPECT_EQ(client->PlayerWindow, bridge->processId());
    EXPECT_NEAR(client->DurationSec, 7.0, 0.05);

    // The first connection ended once, before the second began.
    EXPECT_EQ(count(Mpc::RepDisconnect), 1);
    EXPECT_EQ(count(Mpc::RepConnect), 2);
    int secondConnect = -1;
    for (int i = 0; i < static_cast<int>(reports.size()); ++i)
        if (reports[i].code == Mpc::RepConnect) secondConnect = i;
    const int disconnect = indexOf(Mpc::RepDisconnect, QString());
    EXPECT_GE(disconnect, 0);
    EXPECT_LT(disconnect, secondConnect);
}

TEST_F(MpvBridgeTest, DestroyingTheBridgeEndsThePlayer)
{
    // Connected, and still starting up (before its socket exists).
    for (const bool waitForConnection : {true, false}) {
        auto own = std::make_unique<MpvIpcBridge>(clock, QuietMpv);
        ASSERT_TRUE(own->startPlayer(MpvPath, Recordings::get().wav20(), dir.filePath(QStringLiteral("own.sock"))));
        const std::int64_t pid = own->processId();
        ASSERT_GT(pid, 0);
        if (waitForConnection) {
            ASSERT_TRUE(WaitFor([&] { return own->socketConnected(); }, 5000));
        }
        own.reset();
        EXPECT_TRUE(ProcessGone(pid)) << "connected " << waitForConnection;
    }
}

// --- Starts that go wrong ---

TEST_F(MpvBridgeTest, AProgramThatCannotRunIsRefused)
{
    const QString wav = Recordings::get().wav20();
    EXPECT_FALSE(bridge->startPlayer(QStringLiteral("/nonexistent/mpv"), wav, socketPath()));
    EXPECT_FALSE(bridge->playerRunning());

    client->PlayerPath = Recordings::get().notProgram(); // a file, but not executable
    EXPECT_EQ(client->OpenInPlayer(wav), -1);
    Pump(100);
    EXPECT_FALSE(client->connected());
    EXPECT_FALSE(bridge->playerRunning());
    EXPECT_TRUE(reports.empty());

    // The bridge is still usable afterwards.
    client->PlayerPath = MpvPath;
    OpenLoaded(wav);
}

TEST_F(MpvBridgeTest, MediaThePlayerCannotOpenEndsClosed)
{
    ASSERT_EQ(client->OpenInPlayer(Recordings::get().notMedia()), 0);
    ASSERT_TRUE(WaitFor([&] { return client->connected(); }, 5000));
    const int connect = indexOf(Mpc::RepConnect, QString());
    ASSERT_GE(connect, 0);
    ASSERT_TRUE(WaitFor([&] { return indexOf(Mpc::RepLoadState, QStringLiteral("0"), connect) >= 0; }, 5000))
        << "no report that the file was closed";
    EXPECT_EQ(client->LoadState, 0);
    EXPECT_EQ(indexOf(Mpc::RepLoadState, QStringLiteral("2")), -1);
    EXPECT_EQ(client->DurationSec, 0);
    EXPECT_TRUE(client->connected()) << "mpv stays idle";

    // Commands to an empty player come back without a position.
    client->PositionSec = 4.5;
    client->SetPosition(3.0);
    client->Play();
    EXPECT_EQ(client->GetPosition(), 4.5);
}

TEST(MpvBridge, CommandsWithoutAPlayerDoNothing)
{
    QtClock clock;
    MpvIpcBridge bridge(clock, QuietMpv);
    int reports = 0;
    bridge.onReport = [&](std::uint32_t, const QString &, std::int64_t) { ++reports; };
    for (const std::uint32_t code : {Mpc::CmdPlay, Mpc::CmdPause, Mpc::CmdStop, Mpc::CmdGetPosition, Mpc::CmdClose})
        bridge.send(code, QString());
    bridge.send(Mpc::CmdSetPosition, QStringLiteral("1.000000"));
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(bridge.processId(), 0);
    EXPECT_FALSE(bridge.socketConnected());
}

} // namespace
