#pragma once

#include "platform/Platform.h"

#include <QStringList>

class ABInterval;
class ApplicationEvents;
class BookmarkNavigator;
class HotKeys;
class IntervalList;
class MediaOpener;
class ScrollLock;
class TForm1;
class TForm2;
class TForm5;
class TFormOle;
class TFormWMP;
class TimelineZoom;
class TranscriptDocuments;
struct CommandLineSwitches;
struct MediaSession;

// Creation, showing, closing and destruction of the main window, the command line,
// dropped files and the application's minimise/restore/activate events.
class MainLifecycle {
public:
    MainLifecycle(TForm1 &form, MediaSession &session, const Platform &platform, QStringList arguments);

    // What showing, the command line, closing and minimising drive besides the main window.
    struct Parts {
        MediaOpener &opener;
        BookmarkNavigator &navigator;
        ABInterval &ab;
        IntervalList &intervals;
        TimelineZoom &zoom;
        HotKeys &hotKeys;
        TranscriptDocuments &documents;
        TFormWMP &video;
        TFormOle &text;
        TForm2 &bookmarksWindow;
        TForm5 &speakers;
    };
    // Once every part exists; nullptr before they go.
    void setParts(const Parts *parts) { m_parts = parts; }

    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    // The command line names a media file that exists, which the first showing opens.
    bool CommandLineNamesFile() const;
    void FormDestroy();
    void FilesDropped(const QStringList &paths);

    void ApplicationEvents1Minimize();
    void ApplicationEvents1Restore();
    void ApplicationEvents1Activate();
    void ApplicationEvents1Deactivate();
    void connectApplicationEvents(ApplicationEvents &events);

    bool AppMinimized = false; // keys from other programs are ignored meanwhile
    bool NormalClose = false;

private:
    void applyCommandLine(const CommandLineSwitches &sw);
    void leaveMinimized();

    void hotKeysChanged();

    TForm1 &m_form;
    MediaSession &m_session;
    const Platform &m_platform;
    ScrollLock &m_scrollLock;
    QStringList m_arguments; // the program's path, then the media file and the switches
    ApplicationEvents *m_events = nullptr;
    const Parts *m_parts = nullptr;
    int m_showCount = 0;
};
