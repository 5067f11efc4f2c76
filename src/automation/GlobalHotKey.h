#pragma once

#include "base/KeyCodes.h"

#include <QString>
#include <array>
#include <functional>
#include <stdexcept>

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
