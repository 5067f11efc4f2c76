#pragma once

#include "base/KeyCodes.h"

#include <QString>
#include <functional>

// One system-wide hot-key registration: a combination, whether it is active and what it does.
struct GlobalHotKey {
    QString name;
    unsigned modifiers;
    int virtualKey;
    bool active = true;
    std::function<void()> onHotKey;
};
