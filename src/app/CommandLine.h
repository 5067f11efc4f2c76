#pragma once

#include <QStringList>
#include <optional>

// Playback switches that follow the media file on the command line.
struct CommandLineSwitches {
    bool loopFile = false;                   // "/l"
    bool pauseAtLoopStart = false;           // "/p"
    bool skipHashBookmarks = false;          // "/b#"
    int bookmarkCount = -1;                  // "/b N"; negative: not given
    int abCount = -1;                        // "/r N"; negative: not given
    std::optional<QString> startTimeText;    // "/t"
    std::optional<QString> intervalListText; // "/ab"
};

// Examines the arguments after the media file (args[0] is the media file itself).
CommandLineSwitches ParseSwitches(const QStringList &args);
