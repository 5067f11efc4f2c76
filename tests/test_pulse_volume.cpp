// Runs under tests/pulse_volume.sh, which starts a private PulseAudio server with a null sink.
#include "ProgramFixture.h"
#include "TestMedia.h"
#include "TestWait.h"

#include "platform/PulseVolume.h"
#include "platform/QtClock.h"
#include "playback/LibmpvEngines.h"
#include "playback/Mpv.h"
#include "playback/MpvIpcBridge.h"
#include "playback/MpvMixer.h"
#include "playback/TMPCHC.h"
#include "doubles/RecordedMessages.h"
#include "playback/Volume.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>

namespace {

QString Output(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The default sink's volume as pactl shows it (the first channel), −1 when unreadable.
int SinkPercent()
{
    const auto m = QRegularExpression(QStringLiteral("(\\d+)%"))
                       .match(Output(QStringLiteral("pactl"), {"get-sink-volume", "@DEFAULT_SINK@"}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

void SetSinkPercent(int percent)
{
    Output(QStringLiteral("pactl"), {"set-sink-volume", "@DEFAULT_SINK@", QString::number(percent) + u'%'});
}

bool ServerRunning() { return QProcess::execute(QStringLiteral("pulseaudio"), {"--check"}) == 0; }

// The same server as the script starts.
void StartServer()
{
    QProcess::execute(QStringLiteral("pulseaudio"),
                      {"--daemonize=yes", "--exit-idle-time=-1", "--system=false", "-n",
                       "--load=module-null-sink sink_name=test_sink", "--load=module-native-protocol-unix"});
}

// The whole program with the real system volume.
class SystemVolumeTest : public ProgramTest {
protected:
    ~SystemVolumeTest() override { program.reset(); }
    void startOnPulse()
    {
        program = std::make_unique<Program>(
            Platform{clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, pulse},
            QStringList{QStringLiteral("stenova")});
    }
    PulseVolume pulse;
};

} // namespace

TEST(PulseVolume, ReadsAndSetsTheDefaultSink)
{
    ASSERT_TRUE(ServerRunning());
    PulseVolume volume;
    SetSinkPercent(65);
    EXPECT_EQ(volume.level(), 65);
    EXPECT_TRUE(volume.setLevel(30));
    EXPECT_EQ(SinkPercent(), 30);
    EXPECT_EQ(volume.level(), 30);
    EXPECT_TRUE(volume.setLevel(0));
    EXPECT_EQ(SinkPercent(), 0);
    // Outside the scale nothing changes; an amplified sink reads as the top.
    EXPECT_FALSE(volume.setLevel(101));
    EXPECT_FALSE(volume.setLevel(-1));
    EXPECT_EQ(SinkPercent(), 0);
    SetSinkPercent(130);
    EXPECT_EQ(volume.level(), 100);
}

TEST(PulseVolume, WithoutServerFailsAndConnectsOnceOneAnswers)
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/pulse/native");
    PulseVolume volume(0), patient(60000);
    EXPECT_EQ(volume.level(), -1);
    EXPECT_FALSE(volume.setLevel(50));
    EXPECT_FALSE(volume.connected());
    EXPECT_EQ(patient.level(), -1);
    qunsetenv("PULSE_SERVER");

    SetSinkPercent(55);
    EXPECT_EQ(volume.level(), 55);
    EXPECT_TRUE(volume.connected());
    // Attempts are spaced out: a minute has not passed since the failed one.
    EXPECT_EQ(patient.level(), -1);
}

TEST(PulseVolume, ReconnectsAfterTheServerRestarts)
{
    PulseVolume volume(0);
    ASSERT_GE(volume.level(), 0);
    QProcess::execute(QStringLiteral("pulseaudio"), {"--kill"});
    ASSERT_TRUE(WaitFor([] { return !ServerRunning(); }, 5000));
    EXPECT_EQ(volume.level(), -1);
    EXPECT_FALSE(volume.setLevel(20));

    StartServer();
    ASSERT_TRUE(WaitFor(ServerRunning, 5000));
    EXPECT_TRUE(volume.setLevel(35));
    EXPECT_EQ(SinkPercent(), 35);
}

TEST(PulseVolume, AStuckServerCostsAFailedCallNotAHang)
{
    QFile pidFile(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/pulse/pid"));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const QString pid = QString::fromLatin1(pidFile.readAll()).trimmed();
    PulseVolume connected(0), connecting(0);
    ASSERT_GE(connected.level(), 0);

    QProcess::execute(QStringLiteral("kill"), {"-STOP", pid});
    EXPECT_EQ(connected.level(), -1);  // no answer in time
    EXPECT_EQ(connecting.level(), -1); // no welcome in time
    EXPECT_FALSE(connected.setLevel(10));
    QProcess::execute(QStringLiteral("kill"), {"-CONT", pid});

    SetSinkPercent(45);
    EXPECT_EQ(connected.level(), 45);
    EXPECT_EQ(connecting.level(), 45);
}

TEST_F(SystemVolumeTest, SliderDrivesTheSystemVolumeAndFollowsItInExternalPlayerMode)
{
    SetSinkPercent(65);
    startOnPulse();
    form().NMPC->setChecked(true);
    clock.advance(100); // one display refresh
    EXPECT_EQ(form().TrackBarVolume->value(), 65);
    EXPECT_EQ(form().LabelVolProz->text(), "65%");

    form().TrackBarVolume->setValue(40);
    EXPECT_EQ(SinkPercent(), 40);
    EXPECT_EQ(form().LabelVolProz->text(), "40%");

    SetSinkPercent(72); // from outside, as the desktop's volume control would
    clock.advance(100);
    EXPECT_EQ(form().TrackBarVolume->value(), 72);
    EXPECT_EQ(form().LabelVolProz->text(), "72%");
    EXPECT_EQ(SinkPercent(), 72);
    EXPECT_EQ(mixer.sets, 0);

    // With the in-process players the slider is this program's own sound, not the system's.
    form().NMPC->setChecked(false);
    form().TrackBarVolume->setValue(20);
    EXPECT_EQ(mixer.value, 20);
    EXPECT_EQ(SinkPercent(), 72);
}

TEST(MpvMixer, DrivesThePlayersOwnSoundOnlyWhileItHasAnOutput)
{
    QTemporaryDir dir;
    const QString tone = MakeTestRecording(dir.path(), QStringLiteral("tone.wav"), 5.0);
    ASSERT_FALSE(tone.isEmpty()) << "ffmpeg failed";
    MpvInstance player({{"vid", "no"}, {"ao", "pulse"}});
    MpvInstance silent({{"vid", "no"}, {"ao", "null"}});
    ASSERT_TRUE(player.ok() && silent.ok());
    MpvMixer mixer({&player}), silentMixer({&silent}), none({});

    // Idle: no output is open yet.
    EXPECT_EQ(mixer.level(), -1);
    EXPECT_FALSE(mixer.setLevel(30));
    EXPECT_EQ(none.level(), -1);
    EXPECT_FALSE(none.setLevel(30));

    const QByteArray path = tone.toUtf8();
    for (MpvInstance *p : {&player, &silent}) {
        p->command({MpvName::LoadFile, path.constData()});
        p->setFlag(MpvName::Pause, false);
    }
    ASSERT_TRUE(WaitFor([&] { return mixer.level() >= 0; }, 5000));
    EXPECT_TRUE(mixer.setLevel(30));
    EXPECT_EQ(mixer.level(), 30);
    EXPECT_NEAR(player.getDouble(MpvName::AoVolume), 30, 0.5); // the stream's volume in the server
    EXPECT_EQ(player.getDouble(MpvName::Volume), 100);         // mpv's own volume untouched
    EXPECT_TRUE(Output(QStringLiteral("pactl"), {"list", "sink-inputs"}).contains(QStringLiteral("30%")));

    // Playing without a sound output is no mixer.
    ASSERT_TRUE(WaitFor([&] { return silent.getDouble(MpvName::TimePos, 0) > 0; }, 5000));
    EXPECT_EQ(silentMixer.level(), -1);
    EXPECT_FALSE(silentMixer.setLevel(30));
    EXPECT_EQ(silent.getDouble(MpvName::Volume), 100);
}

namespace {

// The main frequency of what the null sink played for a second and a half from now, by
// sox's zero-crossing count; 0 when nothing was recorded.
double PlayedFrequency(const QString &dir)
{
    const QString raw = dir + QStringLiteral("/played.raw");
    QProcess recorder;
    recorder.setStandardOutputFile(raw);
    recorder.start(QStringLiteral("parec"), {"-d", "test_sink.monitor", "--raw", "--format=s16le", "--rate=44100",
                                             "--channels=1", "--latency-msec=50"});
    if (!recorder.waitForStarted(5000)) return 0;
    WaitFor([] { return false; }, 1500);
    recorder.terminate();
    recorder.waitForFinished(5000);
    QProcess sox;
    sox.setProcessChannelMode(QProcess::MergedChannels);
    sox.start(QStringLiteral("sox"),
              {"-t", "raw", "-r", "44100", "-e", "signed", "-b", "16", "-c", "1", raw, "-n", "trim", "0.2", "stat"});
    sox.waitForFinished(10000);
    const auto m =
        QRegularExpression(QStringLiteral("Rough\\s+frequency:\\s+(\\d+)")).match(QString::fromUtf8(sox.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() : 0;
}

QString Tone440(const QTemporaryDir &dir)
{
    const QString tone = dir.filePath(QStringLiteral("a440.wav"));
    const int sox = QProcess::execute(
        QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "1", tone, "synth", "20", "sine", "440", "vol", "0.5"});
    return sox == 0 ? tone : QString();
}

} // namespace

// A 440 Hz tone played at double speed by the program's audio player still sounds at 440 Hz;
// the same player without pitch correction plays it an octave up, so the measure can tell.
TEST(Speed, DoubleSpeedKeepsThePitch)
{
    QTemporaryDir dir;
    const QString tone = Tone440(dir);
    ASSERT_FALSE(tone.isEmpty());
    QtClock clock;
    for (const bool kept : {true, false}) {
        SCOPED_TRACE(kept);
        MpvOptions options{{"ao", "pulse"}};
        if (!kept) options.push_back({"audio-pitch-correction", "no"});
        LibmpvMci player(clock, options);
        QString error;
        ASSERT_TRUE(player.Open(tone, &error)) << error.toStdString();
        player.SetSpeed(2.0);
        if (!kept) player.mpv().command({"af", "clr", ""});
        player.Play();
        ASSERT_TRUE(WaitFor([&] { return player.Position() > 300; }, 5000));
        const double frequency = PlayedFrequency(dir.path());
        std::printf("440 Hz at 2.0x, pitch %s: %.0f Hz\n", kept ? "kept" : "not kept", frequency);
        if (kept) EXPECT_NEAR(frequency, 440, 440 * 0.02);
        else EXPECT_NEAR(frequency, 880, 880 * 0.02);
        player.Stop();
    }
}

// The external player, sent the speed before it first plays, keeps the pitch as well.
TEST(Speed, TheExternalPlayerKeepsThePitchAtDoubleSpeed)
{
    QTemporaryDir dir;
    const QString tone = Tone440(dir);
    ASSERT_FALSE(tone.isEmpty());
    QtClock clock;
    RecordedMessages messages;
    const QString log = dir.filePath(QStringLiteral("mpv.log"));
    MpvIpcBridge bridge(clock, {QStringLiteral("--ao=pulse"), QStringLiteral("--vo=null"), "--log-file=" + log});
    TMPCHC player(bridge, clock, messages);
    player.HostWindow = dir.filePath(QStringLiteral("mpv.sock"));
    player.PlayerPath = QStringLiteral("/usr/bin/mpv");
    player.SetSpeed(2.0);
    ASSERT_EQ(player.OpenInPlayer(tone), 0);
    ASSERT_TRUE(WaitFor([&] { return player.connected() && player.LoadState == 2; }, 10000));
    player.Play();
    // On a loaded machine mpv's PulseAudio output now and then stalls at the start of a stream:
    // the position stops after the first buffer (a known mpv fault, mpv-player/mpv#7874). A
    // seek starts it again, as ESC's step back would for a user.
    const auto moving = [&] { return WaitFor([&] { return player.GetPosition() > 0.8; }, 3000); };
    if (!moving()) {
        std::printf("mpv's sound output stalled at %.2f s; seeking to start it again\n", player.GetPosition());
        player.SetPosition(0);
        ASSERT_TRUE(moving());
    }
    const double start = player.GetPosition();
    const double frequency = PlayedFrequency(dir.path());
    std::printf("440 Hz at 2.0x on the external player: %.0f Hz\n", frequency);
    EXPECT_NEAR(frequency, 440, 440 * 0.02);
    EXPECT_GT(player.GetPosition() - start, 1.5 * 2 * 0.8) << "played at double speed";
    player.Stop();
    if (HasFailure()) {
        QFile file(log);
        if (file.open(QIODevice::ReadOnly)) std::printf("mpv's log:\n%s\n", file.readAll().constData());
    }
}
