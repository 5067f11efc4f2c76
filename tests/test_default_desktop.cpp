// The real program under openbox with the key bindings it comes with, which take Ctrl+Alt+
// arrows for switching desktops: the four refused step and volume keys are reported in the
// status line, and once other combinations are chosen in the hot-key window they work from
// another program, now and after a restart.
#include "RunningProgram.h"

#include "forms/HotKeyWindow.h"
#include "playback/Volume.h"

#include <QStatusBar>
#include <QTableWidget>

namespace {
class DefaultDesktop : public RunningProgram {};
} // namespace

TEST_F(DefaultDesktop, RefusedArrowsAreReportedAndOtherCombinationsWorkFromAnotherProgram)
{
    const QString media = recording(QStringLiteral("talk.wav"), 20);
    startProgram({media});
    ASSERT_TRUE(waitUntil([&] { return program().session().CurrentMediaPath == media; }));
    EXPECT_EQ(form().StatusBar1->currentMessage(),
              QStringLiteral("Заняты другой программой: Ctrl+Alt+Left, Ctrl+Alt+Right, Ctrl+Alt+Up, Ctrl+Alt+Down. "
                             "Выберите другие сочетания: Настройки → Горячие клавиши..."));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();

    // Ctrl+Shift+arrows instead, chosen in the window.
    form().NHotKeys->trigger();
    HotKeyWindow &window = *program().hotKeyWindow();
    ASSERT_TRUE(waitUntil([&] { return window.isVisible(); }));
    int row = 0;
    for (const int vk : {VK::Left, VK::Right, VK::Up, VK::Down}) {
        while (form().hotKeys[row].virtualKey != vk) ++row;
        EXPECT_TRUE(window.Assign(row, ModCtrl | ModShift, vk)) << window.Result->text().toStdString();
        EXPECT_EQ(window.Table->item(row, 2)->text(), QStringLiteral("работает"));
    }
    window.close();

    const auto stepsAndVolumeWork = [&] {
        startEditor(QStringLiteral("Текст"));
        seekBar(5000);
        pause(400);
        combo({VK::Ctrl, VK::Shift}, VK::Right);
        EXPECT_TRUE(waitUntil([&] { return player().PositionMs() == 6000; }, 2000)) << player().PositionMs();
        pause(400); // the lock-out
        combo({VK::Ctrl, VK::Shift}, VK::Left);
        EXPECT_TRUE(waitUntil([&] { return player().PositionMs() == 5000; }, 2000)) << player().PositionMs();
        pause(400);
        const int volume = form().TrackBarVolume->value();
        combo({VK::Ctrl, VK::Shift}, volume > 50 ? VK::Down : VK::Up);
        EXPECT_TRUE(waitUntil([&] { return form().TrackBarVolume->value() != volume; }, 2000));
    };
    stepsAndVolumeWork();

    // The choice survives a restart, and nothing is refused any more.
    endWithAltF4();
    editor.kill();
    startProgram();
    EXPECT_TRUE(form().StatusBar1->currentMessage().isEmpty()) << form().StatusBar1->currentMessage().toStdString();
    stepsAndVolumeWork();
}
