#pragma once

#include "playback/PlayerFacade.h"

#include <QString>
#include <optional>

class BookmarkNavigator;
class Clock;
class MciPlayer;
class MediaSettings;
class QAction;
class TForm1;
class TFormOle;
class TFormWMP;
class TimelineZoom;
class TranscriptDocuments;
class UserMessages;
class WmpPlayer;
struct MediaSession;

// Replaces the open media file: saves what belongs to the previous one, picks the engine,
// opens the new file and waits for its length, and keeps the recent-files menu.
class MediaOpener {
public:
    // The parts an open drives besides the player.
    struct Parts {
        BookmarkNavigator &navigator;
        TimelineZoom &zoom;
        MediaSettings &mediaSettings;
        TranscriptDocuments &documents;
        TFormWMP &video;
        TFormOle &text;
    };

    MediaOpener(TForm1 &form, MediaSession &session, PlayerFacade &player, MciPlayer &mci, WmpPlayer &wmp, Clock &clock,
                UserMessages &messages, const Parts &parts);

    void OpenMediaFile();
    void AddRecentFile(const QString &path);
    void RecentItemClick(QAction *item);

    // The filter of the open dialog that opens every file in the video window.
    static constexpr int AllInVideoFilter = 4;
    // Which engine plays a new file. settingsVideo: nullopt when it has no media settings
    // file, else whether that file says it plays as video.
    static Engine ChooseEngine(bool mpcMode, int filterIndex, std::optional<bool> settingsVideo,
                               const QString &extension);
    // The player group's caption for an open file, cut to fit.
    static QString GroupCaption(const QString &path);

private:
    bool openInEngine(Engine engine, const QString &path);
    void openFailed(const QString &path, const QString &reason);
    void clearRecording(bool perFileText);

    TForm1 &m_form;
    MediaSession &m_session;
    PlayerFacade &m_player;
    MciPlayer &m_mci;
    WmpPlayer &m_wmp;
    Clock &m_clock;
    UserMessages &m_messages;
    const Parts m_parts;
};
