#pragma once

#include <QString>

// Remote control of the external player.
class TMPCHC {
public:
    static QString DefaultPlayerPath() { return QStringLiteral("/usr/bin/mpv"); }
    QString PlayerPath = DefaultPlayerPath();
};
