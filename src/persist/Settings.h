#pragma once

#include <QString>
#include <optional>

// The program's settings file, setting.ini beside the program: every option and window.
class ProgramSettings {
public:
    virtual ~ProgramSettings() = default;
    virtual void LoadFromSettingsINI() = 0;
    virtual void SaveToSettingsINI() = 0;
};

// The settings file kept for every media file: its options, bookmarks, intervals and history.
class MediaSettings {
public:
    virtual ~MediaSettings() = default;
    // False, said to the user, when the file could not be written.
    virtual bool SaveToINIVideo(const QString &mediaPath) = 0;
    // nullopt when the media file has no settings file, else whether it plays as video.
    virtual std::optional<bool> LoadFromINIVideo(const QString &mediaPath) = 0;
    virtual void LoadFromINIMedia(const QString &mediaPath) = 0;
    // The open recording's state is now as its file holds it: only later changes are written.
    virtual void markSaved(const QString &mediaPath) = 0;
};
