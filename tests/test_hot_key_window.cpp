// The hot-key window on the test desktop: combinations the desktop refuses are reported in the
// status line, another combination is taken at once, kept in setting.ini and taken again at
// the next start.
#include "EngineFixture.h"

#include "automation/HotKeys.h"
#include "forms/HotKeyWindow.h"
#include "persist/IniFile.h"

#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>

TEST(HotKeyText, NamesEveryCombinationAndReadsItBack)
{
    HotKeyTable table;
    for (const auto &[mods, vk] : std::initializer_list<std::pair<unsigned, int>>{{ModCtrl | ModShift, '1'},
                                                                                  {ModCtrl | ModShift, VK::F9},
                                                                                  {ModCtrl | ModShift, VK::OpenBracket},
                                                                                  {ModCtrl | ModAlt, VK::G},
                                                                                  {ModCtrl | ModAlt, VK::Left},
                                                                                  {ModCtrl | ModAlt, VK::Comma},
                                                                                  {ModWin | ModShift, 0x87},
                                                                                  {ModAlt, 220}}) {
        const QString text = HotKeyText(mods, vk);
        ASSERT_FALSE(text.isEmpty()) << vk;
        EXPECT_EQ(ParseHotKeyText(text), std::pair(mods, vk)) << text.toStdString();
    }
    EXPECT_EQ(HotKeyText(ModCtrl | ModAlt, VK::Left), "Ctrl+Alt+Left");
    EXPECT_EQ(HotKeyText(ModCtrl | ModShift, VK::CloseBracket), "Ctrl+Shift+]");
    EXPECT_EQ(ParseHotKeyText(QStringLiteral(" ctrl + alt + left ")), std::pair(unsigned(ModCtrl | ModAlt), 0x25));
    for (const char *bad : {"", "Left", "Ctrl+", "Ctrl+Alt+", "Foo+A", "Ctrl+Ж", "Ctrl+Alt+F25", "+A"})
        EXPECT_EQ(ParseHotKeyText(QString::fromUtf8(bad)), std::nullopt) << bad;
    EXPECT_EQ(HotKeyText(ModCtrl, 0xE5), QString()); // a key without a name
}

namespace {
class HotKeyWindowTest : public EngineTest {
protected:
    HotKeyWindow &window() { return *program->hotKeyWindow(); }
    int rowOf(const QString &name)
    {
        for (int r = 0; r < int(form().hotKeys.size()); ++r)
            if (form().hotKeys[r].name == name) return r;
        return -1;
    }
    QString cell(const QString &name, int column) { return window().Table->item(rowOf(name), column)->text(); }
};
} // namespace

TEST_F(HotKeyWindowTest, RefusedCombinationsAreReportedAndOthersChosenAreKeptForTheNextStart)
{
    // Another program (a window manager's desktop switching) holds Ctrl+Alt+Left and Right.
    forgetSettings();
    start(); // makes setting.ini
    program.reset();
    desktop.refused.insert({ModCtrl | ModAlt, VK::Left});
    desktop.refused.insert({ModCtrl | ModAlt, VK::Right});
    start();
    EXPECT_EQ(form().StatusBar1->currentMessage(),
              QStringLiteral("Заняты другой программой: Ctrl+Alt+Left, Ctrl+Alt+Right. Выберите другие сочетания: "
                             "Настройки → Горячие клавиши..."));
    EXPECT_TRUE(messages.errors.isEmpty());
    const QString left = QStringLiteral("JvApplicationHotKeyLeft");
    EXPECT_EQ(cell(left, 0), QStringLiteral("Шаг назад"));
    EXPECT_EQ(cell(left, 1), QStringLiteral("Ctrl+Alt+Left"));
    EXPECT_EQ(cell(left, 2), QStringLiteral("занято другой программой"));
    EXPECT_EQ(cell(QStringLiteral("JvApplicationHotKeyUp"), 2), QStringLiteral("работает"));

    // Typed into the window's field and assigned, as the user does.
    form().NHotKeys->trigger();
    ASSERT_TRUE(window().isVisible());
    window().Table->selectRow(rowOf(left));
    window().NewCombination->setKeySequence(QKeySequence(QStringLiteral("Ctrl+Shift+Left")));
    for (QPushButton *b : window().findChildren<QPushButton *>())
        if (b->text() == QStringLiteral("&Назначить")) b->click();
    EXPECT_EQ(cell(left, 1), QStringLiteral("Ctrl+Shift+Left"));
    EXPECT_EQ(cell(left, 2), QStringLiteral("работает"));
    EXPECT_TRUE(desktop.registered.count({ModCtrl | ModShift, VK::Left}));

    // It steps back now.
    openIn(Engine::Mci);
    seekUser(5000);
    clock.advance(400);
    desktop.hotKey(ModCtrl | ModShift, VK::Left);
    EXPECT_EQ(player().PositionMs(), 4000);

    // What cannot be a choice: another hot key's combination, or a key without Ctrl, Alt or Win.
    const int right = rowOf(QStringLiteral("JvApplicationHotKeyRight"));
    EXPECT_FALSE(window().Assign(right, ModCtrl | ModShift, VK::Left));
    EXPECT_EQ(window().Result->text(), QStringLiteral("Сочетание Ctrl+Shift+Left уже назначено: «Шаг назад»."));
    EXPECT_FALSE(window().Assign(right, ModShift, VK::Right));
    EXPECT_EQ(cell(QStringLiteral("JvApplicationHotKeyRight"), 1), QStringLiteral("Ctrl+Alt+Right"));
    // A combination the desktop refuses is kept and said so; the default comes back.
    EXPECT_FALSE(window().Assign(right, ModCtrl | ModAlt, VK::Left));
    EXPECT_TRUE(window().Assign(right, ModCtrl | ModShift, VK::Right));

    // Kept in setting.ini, and taken at the next start.
    program.reset();
    IniFile ini;
    ASSERT_TRUE(ini.load(home.filePath(QStringLiteral("setting.ini"))));
    EXPECT_EQ(ini.value(QStringLiteral("Горячие клавиши"), left), QStringLiteral("Ctrl+Shift+Left"));
    start();
    EXPECT_TRUE(form().StatusBar1->currentMessage().isEmpty()) << form().StatusBar1->currentMessage().toStdString();
    EXPECT_EQ(form().hotKey(left).modifiers, unsigned(ModCtrl | ModShift));
    EXPECT_TRUE(desktop.registered.count({ModCtrl | ModShift, VK::Right}));
    EXPECT_FALSE(desktop.registered.count({ModCtrl | ModAlt, VK::Left}));

    // "По умолчанию" gives the hot key its first combination again.
    window().Table->selectRow(rowOf(left));
    for (QPushButton *b : window().findChildren<QPushButton *>())
        if (b->text() == QStringLiteral("По &умолчанию")) b->click();
    EXPECT_EQ(cell(left, 1), QStringLiteral("Ctrl+Alt+Left"));
}
