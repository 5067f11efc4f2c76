#pragma once

// Modifier bits of a system-wide hot key.
enum HotKeyModifier : unsigned { ModAlt = 1, ModCtrl = 2, ModShift = 4, ModWin = 8 };

// Virtual-key numbers used by the hot keys (the numbering the key tables are written in).
namespace VK {
inline constexpr int Shift = 16, Ctrl = 17, Alt = 18, Esc = 27, Space = 32, LWin = 91, RWin = 92;
inline constexpr int LShift = 160, RShift = 161, LCtrl = 162, RCtrl = 163, LAlt = 164, ScrollLock = 145;
inline constexpr int C = 0x43, V = 0x56;
inline constexpr int Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
inline constexpr int Digit0 = 0x30, G = 0x47, F4 = 0x73, F9 = 0x78, F10 = 0x79, F11 = 0x7A;
inline constexpr int OpenBracket = 219, CloseBracket = 221, Comma = 188, Period = 190, Minus = 189, Equal = 187;
} // namespace VK
