#pragma once

#include <QString>

// The name of the folder holding a media file, " ~ ", and the file's name: it names the
// media settings file and the per-media document. /home/ann/Lectures/day1.mp3 gives
// "Lectures ~ day1.mp3"; /day1.mp3 gives "day1.mp3".
QString MakeMediaKey(const QString &path);

// The longest key, in UTF-8 bytes, that leaves room in a file name (255 bytes) for the
// suffixes the program adds, such as " (восстановление).ole".
constexpr int MaxMediaKeyBytes = 180;

// The key a recording's files are kept under in folder: its MakeMediaKey, unless that is too
// long for a file name or already belongs to another recording (the settings file under it
// names another full path, which still exists). Then the key is told apart by " ~ " and a
// short hash of the full path. Files kept under plain keys keep working.
QString MediaFileKey(const QString &mediaPath, const QString &folder);
