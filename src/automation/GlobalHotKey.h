#pragma once

#include "base/KeyCodes.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

// One system-wide hot-key registration: a combination, whether it is active and what it does.
struct GlobalHotKey {
    QString name;
    unsigned modifiers;
    int virtualKey;
    bool active = true;
    std::function<void()> onHotKey;
};

// The registrations, in the order of their names JvApplicationHotKey1 … 9, 0, F9, F10, F11, A,
// B, G, Left, Right, Up, Down (the twenty of old), then HotKeySlower and HotKeyFaster.
using HotKeyTable = std::array<GlobalHotKey, 22>;

inline GlobalHotKey &HotKeyNamed(HotKeyTable &table, const QString &name)
{
    for (auto &k : table)
        if (k.name == name) return k;
    throw std::out_of_range("no hot key " + name.toStdString());
}

// A combination as the settings file and the hot-key window write it: "Ctrl+Alt+Left",
// "Ctrl+Shift+F9", "Ctrl+Alt+,". Empty for a key without a name.
QString HotKeyText(unsigned modifiers, int virtualKey);
// The combination a text names; nothing for a text that names none or has no modifier (a
// plain key taken from every program would be lost for typing).
std::optional<std::pair<unsigned, int>> ParseHotKeyText(const QString &text);
