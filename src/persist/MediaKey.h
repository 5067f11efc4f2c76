#pragma once

#include <QString>

// The name of the folder holding a media file, " ~ ", and the file's name: it names the
// media settings file and the per-media document. /home/ann/Lectures/day1.mp3 gives
// "Lectures ~ day1.mp3"; /day1.mp3 gives "day1.mp3".
QString MakeMediaKey(const QString &path);
