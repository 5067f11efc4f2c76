#pragma once

#include <QString>

// The media file that is open, the one the next open takes, and how the open one plays.
struct MediaSession {
    QString PendingMediaPath; // set before an open: the file it takes instead of asking
    QString CurrentMediaPath;
    bool SkipPreviousSave = false; // the next open does not save the previous file's settings
    bool VideoFlag = false;        // the open file plays in the video window's player
    bool Opening = false;          // an open is under way: the state is neither the old file's nor the new one's
};
