// Foot pedals: recorded reports of a hidraw pedal and key events of a pedal that presents itself
// as a keyboard, fed through a pipe to the same reader, and the pedals' actions in the program.
#include "EngineFixture.h"
#include "TestWait.h"

#include "app/SettingsFile.h"
#include "automation/FootPedals.h"
#include "forms/PedalWindow.h"
#include "marks/BookmarkTable.h"
#include "marks/TForm2.h"
#include "persist/IniFile.h"
#include "platform/FootPedal.h"
#include "widgets/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A pipe standing in for the device file: the reader opens its end, the test writes reports.
struct PedalPipe {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("pedal"));
    int writer = -1;
    PedalPipe() { mkfifo(QFile::encodeName(path).constData(), 0600); }
    ~PedalPipe() { unplug(); }
    void plugIn() { writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK); }
    void report(unsigned char bits)
    {
        const unsigned char bytes[2] = {bits, 0}; // as the pedal sends them: the bits, then a zero
        ASSERT_EQ(::write(writer, bytes, 2), 2);
        Settle();
    }
    void key(int code, int value)
    {
        input_event e{};
        e.type = EV_KEY;
        e.code = static_cast<__u16>(code);
        e.value = value;
        ASSERT_EQ(::write(writer, &e, sizeof e), ssize_t(sizeof e));
        Settle();
    }
    void unplug()
    {
        if (writer >= 0) ::close(writer);
        writer = -1;
        Settle();
    }
    static void Settle()
    {
        WaitFor([] { return false; }, 30);
    }
};

QStringList Changes(const QSignalSpy &spy)
{
    QStringList seen;
    for (const QList<QVariant> &args : spy)
        seen << QStringLiteral("%1%2").arg(args[1].toBool() ? '+' : '-').arg(args[0].toInt());
    return seen;
}

} // namespace

TEST(FootPedalReader, HidReportsTellWhichPedalsAreHeldUntilTheDeviceGoesAway)
{
    PedalPipe pipe;
    FootPedal pedal;
    QString error;
    ASSERT_TRUE(pedal.open(pipe.path, FootPedal::Kind::HidReports, &error)) << error.toStdString();
    pipe.plugIn();
    QSignalSpy changes(&pedal, &FootPedal::changed), gone(&pedal, &FootPedal::gone);
    for (unsigned char bits : {1, 5, 4, 4, 0, 2, 0}) pipe.report(bits);
    EXPECT_EQ(Changes(changes), QStringList({"+0", "+2", "-0", "-2", "+1", "-1"}));
    // Unplugged while the middle pedal is held: it is let go, and the pedal is gone.
    pipe.report(2);
    changes.clear();
    pipe.unplug();
    EXPECT_EQ(Changes(changes), QStringList({"-1"}));
    EXPECT_EQ(gone.size(), 1);
    EXPECT_FALSE(pedal.isOpen());
    EXPECT_EQ(pedal.down(), 0);

    EXPECT_FALSE(pedal.open(pipe.dir.filePath(QStringLiteral("none")), FootPedal::Kind::HidReports, &error));
    EXPECT_EQ(error, QStringLiteral("No such file or directory"));
}

TEST(FootPedalReader, AKeyboardPedalsThreeKeysAreItsPedalsAndOtherKeysNothing)
{
    PedalPipe pipe;
    FootPedal pedal;
    QString error;
    ASSERT_TRUE(pedal.open(pipe.path, FootPedal::Kind::InputKeys, &error, {KEY_A, KEY_B, KEY_C}));
    pipe.plugIn();
    QSignalSpy changes(&pedal, &FootPedal::changed);
    pipe.key(KEY_B, 1);
    pipe.key(KEY_B, 2); // held: the repeat is no new press
    pipe.key(KEY_A, 1); // two pedals at once
    pipe.key(KEY_X, 1);
    pipe.key(KEY_B, 0);
    pipe.key(KEY_A, 0);
    EXPECT_EQ(Changes(changes), QStringList({"+1", "+0", "-1", "-0"}));
}

TEST(FootPedalReader, FindsASupportedPedalAmongTheHidrawDevices)
{
    QTemporaryDir sys;
    const auto device = [&](const char *name, const char *id) {
        QDir(sys.path()).mkpath(QStringLiteral("%1/device").arg(QLatin1String(name)));
        QFile uevent(sys.filePath(QStringLiteral("%1/device/uevent").arg(QLatin1String(name))));
        ASSERT_TRUE(uevent.open(QIODevice::WriteOnly));
        uevent.write(QByteArray("DRIVER=hid-generic\nHID_ID=") + id + "\nHID_NAME=x\n");
    };
    device("hidraw0", "0003:0000046D:0000C52B"); // a mouse receiver
    QString model;
    EXPECT_EQ(FootPedal::Find(&model, sys.path()), QString());
    device("hidraw3", "0003:000005F3:000000FF");
    EXPECT_EQ(FootPedal::Find(&model, sys.path()), QStringLiteral("/dev/hidraw3"));
    EXPECT_EQ(model, QStringLiteral("VEC Infinity USB"));
}

namespace {
class PedalTest : public EngineTest {
protected:
    void SetUp() override
    {
        forgetSettings();
        start();
        form().CheckBox3->setChecked(true);
        form().CheckBox4->setChecked(true); // ESC's stop steps back one second
        openIn(Engine::Mci);
        ASSERT_TRUE(program->pedal().open(pipe.path, FootPedal::Kind::HidReports, nullptr));
        pipe.plugIn();
    }
    PedalPipe pipe;
};
} // namespace

TEST_F(PedalTest, HeldToPlayLetGoToStopWithTheStepBackAndTheOthersStepAndMark)
{
    seekUser(10000);
    clock.advance(400);
    pipe.report(2); // middle down
    EXPECT_EQ(player().PlayState(), 3);
    clock.advance(3000);
    pipe.report(0); // let go: stopped, one second back
    EXPECT_NE(player().PlayState(), 3);
    EXPECT_NEAR(player().PositionMs(), 12000, 80);

    clock.advance(400);
    const int at = player().PositionMs();
    pipe.report(1); // left: a step back
    pipe.report(0);
    EXPECT_EQ(player().PositionMs(), at - 1000);
    pipe.report(4); // right: a step forward
    pipe.report(0);
    EXPECT_EQ(player().PositionMs(), at);

    // Two at once: playing on the middle one, the left one steps back meanwhile.
    clock.advance(400);
    pipe.report(2);
    clock.advance(2000);
    const int playing = player().PositionMs();
    pipe.report(3);
    EXPECT_EQ(player().PlayState(), 3);
    EXPECT_NEAR(player().PositionMs(), playing - 1000, 80);
    pipe.report(2);
    EXPECT_EQ(player().PlayState(), 3);

    // Unplugged while held: playback stops, and the program goes on.
    pipe.unplug();
    EXPECT_NE(player().PlayState(), 3);
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(PedalTest, ActionsAreChosenInThePedalWindowKeptInTheSettingsAndAPedalThatCannotBeReadIsSaid)
{
    PedalWindow &window = *program->pedalWindow();
    EXPECT_EQ(window.Action[1]->currentText(), QStringLiteral("Играть, пока нажата"));
    // The right pedal made a bookmark pedal with the keyboard, in the window.
    window.show();
    window.Action[2]->setFocus();
    while (window.Action[2]->currentText() != QStringLiteral("Закладка")) {
        const int before = window.Action[2]->currentIndex();
        QTest::keyClick(window.Action[2], Qt::Key_Down);
        ASSERT_NE(window.Action[2]->currentIndex(), before) << "no bookmark among the actions";
    }
    EXPECT_EQ(program->pedals().actions[2], PedalAction::Bookmark);
    seekUser(7000);
    pipe.report(4);
    EXPECT_EQ(window.Held->text(), QStringLiteral("Нажата: Правая."));
    pipe.report(0);
    EXPECT_EQ(window.Held->text(), QStringLiteral("Нажатых педалей нет."));
    EXPECT_EQ(program->Form2()->StringGrid1.cell(BookmarkTable::Time, 1), QStringLiteral("00:00:07.000"));

    program.reset();
    IniFile ini;
    ASSERT_TRUE(ini.load(SettingsFile::Path()));
    EXPECT_EQ(ini.value(QStringLiteral("Педали"), QStringLiteral("Правая")), QStringLiteral("Закладка"));
    // Written out at the first start, for the user to find.
    EXPECT_EQ(ini.value(QStringLiteral("Педали"), QStringLiteral("Средняя")), QStringLiteral("Играть, пока нажата"));
    ini.setValue(QStringLiteral("Педали"), QStringLiteral("Левая"), QStringLiteral("Закладка"));
    ini.setValue(QStringLiteral("Педали"), QStringLiteral("Правая"), QStringLiteral("что-то"));
    ini.setValue(QStringLiteral("Педали"), QStringLiteral("Устройство"), home.filePath(QStringLiteral("event-pedal")));
    ASSERT_TRUE(ini.save());
    desktop.refused.insert({ModCtrl | ModAlt, VK::Left}); // also said in the status line
    start();
    EXPECT_EQ(program->pedals().actions[0], PedalAction::Bookmark);
    EXPECT_EQ(program->pedals().actions[2], PedalAction::Forward); // no action of that name
    EXPECT_EQ(program->pedalWindow()->Action[0]->currentText(), QStringLiteral("Закладка"));
    const QString unreadable = QStringLiteral("Педаль event-pedal найдена, но %1 не читается (No such file or "
                                              "directory). Добавьте правило udev из README и подключите педаль "
                                              "заново.")
                                   .arg(home.filePath(QStringLiteral("event-pedal")));
    const QString status = form().StatusBar1->currentMessage();
    EXPECT_TRUE(status.startsWith(QStringLiteral("Заняты другой программой: Ctrl+Alt+Left.")) &&
                status.endsWith(QStringLiteral("  ") + unreadable))
        << status.toStdString();
    EXPECT_EQ(program->pedalWindow()->Device->text(), unreadable);
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(PedalTest, AKeyboardPedalIsChosenInThePedalWindowAndItsKeysLearntByPressingThePedals)
{
    // The keyboards plugged in, by their lasting names: the pedal among them is a pipe here.
    QTemporaryDir byId;
    PedalPipe keyboard;
    const QString name = byId.filePath(QStringLiteral("usb-Foot_Pedal-event-kbd"));
    ASSERT_TRUE(QFile::link(keyboard.path, name));
    PedalWindow &window = *program->pedalWindow();
    window.show();
    window.ListKeyboards(byId.path());
    ASSERT_EQ(window.Keyboard->count(), 2);
    EXPECT_EQ(window.Keyboard->itemText(1), QStringLiteral("usb-Foot_Pedal-event-kbd"));
    window.Keyboard->setCurrentIndex(1);
    window.Learn->click();
    keyboard.plugIn();
    EXPECT_EQ(window.Device->text(), QStringLiteral("Нажмите левую педаль."));
    for (int code : {KEY_F13, KEY_F13}) { // the same key twice is one pedal
        keyboard.key(code, 1);
        keyboard.key(code, 0);
    }
    EXPECT_EQ(window.Device->text(), QStringLiteral("Нажмите среднюю педаль."));
    for (int code : {KEY_F14, KEY_F15}) {
        keyboard.key(code, 1);
        keyboard.key(code, 0);
    }
    EXPECT_EQ(window.Device->text(), QStringLiteral("Педаль: usb-Foot_Pedal-event-kbd (%1).").arg(name));
    IniFile ini;
    ASSERT_TRUE(ini.load(SettingsFile::Path()));
    EXPECT_EQ(ini.value(QStringLiteral("Педали"), QStringLiteral("Устройство")), name);
    EXPECT_EQ(ini.value(QStringLiteral("Педали"), QStringLiteral("Клавиши")), QStringLiteral("183,184,185"));

    // The learnt keys are the pedals now: the middle one plays while it is held.
    clock.advance(400);
    keyboard.key(KEY_F14, 1);
    EXPECT_EQ(player().PlayState(), 3);
    EXPECT_EQ(window.Held->text(), QStringLiteral("Нажата: Средняя."));
    clock.advance(2000);
    keyboard.key(KEY_F14, 0);
    EXPECT_NE(player().PlayState(), 3);

    // Learning again, and the window closed half-way: the keys learnt before stay.
    window.Learn->click();
    keyboard.key(KEY_F20, 1);
    EXPECT_EQ(window.Device->text(), QStringLiteral("Нажмите среднюю педаль."));
    window.close();
    keyboard.key(KEY_F20, 0);
    clock.advance(400);
    keyboard.key(KEY_F14, 1);
    EXPECT_EQ(player().PlayState(), 3);
    clock.advance(2000);
    keyboard.key(KEY_F14, 0);
    ASSERT_TRUE(ini.load(SettingsFile::Path()));
    EXPECT_EQ(ini.value(QStringLiteral("Педали"), QStringLiteral("Клавиши")), QStringLiteral("183,184,185"));

    // And back to the USB pedal found by itself: none is plugged in here.
    window.show();
    window.Keyboard->setCurrentIndex(0);
    window.Learn->click();
    EXPECT_EQ(window.Device->text(), QStringLiteral("Педаль не найдена."));
    EXPECT_FALSE(program->pedal().isOpen());
    ASSERT_TRUE(ini.load(SettingsFile::Path()));
    EXPECT_EQ(ini.value(QStringLiteral("Педали"), QStringLiteral("Устройство")), QString());
    EXPECT_TRUE(messages.errors.isEmpty());
}

// How long a pedal report takes to start playback, through the reader and the event loop.
TEST_F(PedalTest, ReportToPlayingLatency)
{
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
        clock.advance(400);
        QElapsedTimer t;
        t.start();
        const unsigned char down[2] = {2, 0};
        ASSERT_EQ(::write(pipe.writer, down, 2), 2);
        ASSERT_TRUE(WaitFor([&] { return player().PlayState() == 3; }, 2000));
        ms.push_back(t.nsecsElapsed() / 1e6);
        pipe.report(0);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("pedal report to playing (test players): median %.2f ms, max %.2f ms\n", ms[ms.size() / 2], ms.back());
}
