#include "automation/TextInjection.h"

#include "automation/GlobalHotKey.h"
#include "platform/Clock.h"

#include <algorithm>
#include <iterator>

namespace {

// Scan codes of the keyboard's first scan-code set, by virtual key.
struct ScanCode {
    int vk;
    int scan;
};
constexpr ScanCode ScanTable[] = {
    // Keys whose code differs from what the ordinary layout table gives.
    {19, 69},
    {144, 69},
    {44, 55},
    {106, 55},
    {91, 91},
    {92, 92},
    {96, 82},
    {97, 79},
    {98, 80},
    {99, 81},
    {100, 75},
    {101, 76},
    {102, 77},
    {103, 71},
    {104, 72},
    {105, 73},
    {107, 78},
    {109, 74},
    {110, 83},
    {111, 53},
    {160, 42},
    {161, 54},
    {162, 29},
    {163, 29},
    {164, 56},
    {165, 56},
    // The ordinary layout.
    {8, 14},
    {9, 15},
    {13, 28},
    {16, 42},
    {17, 29},
    {18, 56},
    {20, 58},
    {27, 1},
    {32, 57},
    {33, 73},
    {34, 81},
    {35, 79},
    {36, 71},
    {37, 75},
    {38, 72},
    {39, 77},
    {40, 80},
    {45, 82},
    {46, 83},
    {93, 93},
    {145, 70},
    {186, 39},
    {187, 13},
    {188, 51},
    {189, 12},
    {190, 52},
    {191, 53},
    {192, 41},
    {219, 26},
    {220, 43},
    {221, 27},
    {222, 40},
    {122, 87},
    {123, 88},
};
// The letter rows of the layout, left to right, with the first row's scan code.
constexpr struct {
    const char *keys;
    int first;
} Rows[] = {{"1234567890", 2}, {"QWERTYUIOP", 16}, {"ASDFGHJKL", 30}, {"ZXCVBNM", 44}};

} // namespace

bool IsExtendedKey(int vk)
{
    return vk == 3 || vk == 13 || (vk >= 33 && vk <= 40) || (vk >= 44 && vk <= 46) || (vk >= 91 && vk <= 93) ||
           vk == 111 || vk == 144 || (vk >= 160 && vk <= 183);
}

int KeyScanCode(int vk)
{
    for (const auto &s : ScanTable)
        if (s.vk == vk) return s.scan;
    if (vk >= 112 && vk <= 121) return 59 + (vk - 112); // F1 … F10
    for (const auto &row : Rows)
        for (int i = 0; row.keys[i]; ++i)
            if (row.keys[i] == vk) return row.first + i;
    return 0;
}

TextInjection::TextInjection(Clock &clock, Desktop desktop) : m_clock(clock), m_desktop(desktop) {}

void TextInjection::BringTextWindowForward()
{
    if (TextWindow) m_desktop.windows.setForeground(TextWindow);
}

bool TextInjection::ShowTextWindow()
{
    if (!TextWindow) return false;
    m_desktop.windows.setForeground(TextWindow);
    m_desktop.windows.restore(TextWindow);
    return true;
}

void TextInjection::sendKey(int vk, bool up) { m_desktop.keys.sendKey({vk, KeyScanCode(vk), IsExtendedKey(vk), up}); }

void TextInjection::SendKeyCombo(int delayMs, unsigned modifiers, int vk)
{
    m_clock.waitMs(delayMs);
    // Whatever the user still holds is let go first, so that only the combination counts.
    for (int held : {VK::Alt, VK::Ctrl, VK::Shift, VK::LWin}) sendKey(held, true);
    constexpr std::pair<unsigned, int> order[] = {
        {ModAlt, VK::Alt}, {ModCtrl, VK::Ctrl}, {ModShift, VK::Shift}, {ModWin, VK::LWin}};
    for (auto [bit, key] : order)
        if (modifiers & bit) sendKey(key, false);
    sendKey(vk, false);
    sendKey(vk, true);
    for (auto [bit, key] : order)
        if (modifiers & bit) sendKey(key, true);
}

// Brings the captured control forward (its window restored when minimised) and gives it the
// keyboard focus.
void TextInjection::focusTextWindow()
{
    WindowServices &w = m_desktop.windows;
    w.setForeground(TextFocusWindow);
    if (TextWindow && w.isMinimized(TextWindow)) w.restore(TextWindow);
    m_clock.processEvents();
    w.setForeground(TextFocusWindow);
    w.setFocus(TextFocusWindow);
}

void TextInjection::InsertText(const QString &text)
{
    if (text.isEmpty()) return;
    ClipboardText &clipboard = m_desktop.clipboard;
    const QString saved = clipboard.text();
    const WindowId previous = m_desktop.windows.foreground();
    focusTextWindow();
    clipboard.setText(text);
    SendKeyCombo(100, ModCtrl, VK::V);
    m_clock.processEvents();
    m_clock.waitMs(50);
    m_desktop.windows.setForeground(previous);
    m_clock.waitMs(50);
    clipboard.setText(saved);
}

QString TextInjection::SelectedText()
{
    if (std::optional<QString> selected = m_desktop.clipboard.selectedText(TextWindow)) return *selected;
    return CopySelection();
}

QString TextInjection::CopySelection()
{
    ClipboardText &clipboard = m_desktop.clipboard;
    const QString saved = clipboard.text();
    // Emptied first: with nothing selected the copy changes nothing, and the clipboard's old
    // text must not pass for a selection.
    clipboard.setText(QString());
    const WindowId previous = m_desktop.windows.foreground();
    focusTextWindow();
    SendKeyCombo(50, ModCtrl, VK::C);
    m_clock.processEvents();
    m_clock.waitMs(50);
    m_desktop.windows.setForeground(previous);
    m_clock.processEvents();
    QString result = clipboard.text();
    clipboard.setText(saved);
    return result;
}
