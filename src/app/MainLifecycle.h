#pragma once

#include "platform/Platform.h"

#include <QStringList>
#include <functional>
#include <optional>

class ApplicationEvents;
class ScrollLock;
class TForm1;
class TFormOle;
class TFormWMP;
class TForm5;
class UserMessages;
struct CommandLineSwitches;

// Operations of other subsystems that start-up, the command line and shutdown call. The
// composition root wires them; one left unset does nothing.
struct MainOperations {
    std::function<void()> OpenMediaFile; // opens PendingMediaPath, or asks for a file
    std::function<void()> CheckBox7Click, CheckBox8Click, CheckBox16Click, CheckBoxTrackClick;
    std::function<void()> SpeedButton11Click;           // "AB->": the AB interval moves on
    std::function<void(bool bookmarkOrA)> BitBtn3Click; // back to the previous bookmark (or A)
    std::function<void()> ShowGoToDialog;               // the go-to-position dialog, modal
    std::function<void()> HotKeysChanged;               // a hot key was switched on or off
    std::function<void()> ListBoxABClick;               // applies the selected interval of the list
    // Window services of the text window and the external player's window.
    std::function<void()> BringTextWindowForward;
    std::function<void()> TakeTextWindow; // the foreground window becomes the text window
    std::function<void()> ShowExternalPlayerWindow;
    // Types text into the text window at its caret (does nothing without a text window).
    std::function<void(const QString &text)> InsertText;
    std::function<void()> CloseBookmarksWindow;
    std::function<void()> CloseEmbeddedDocument;
    std::function<void()> RepaintEmbeddedDocument; // does nothing when the document is empty
    std::function<void()> LoadFromSettingsINI;
    std::function<void()> LoadStartupDocument;
    std::function<void()> VolumeFollow; // the volume part of the position refresh

    // Media settings and documents of a media file, and the bookmark table.
    std::function<void(const QString &mediaPath)> SaveToINIVideo;
    // Whether the media file has a settings file, and then whether it plays as video.
    std::function<std::optional<bool>(const QString &mediaPath)> LoadFromINIVideo;
    std::function<void(const QString &mediaPath)> LoadFromINIMedia;
    // Saves the previous file's document and loads the new file's (or the template).
    std::function<void(const QString &previousPath, const QString &newPath)> SwitchDocument;
    std::function<void()> DeleteAllBookmarks;
    std::function<void()> ResetBookmarkNumbering;
};

// Runs an operation of another subsystem; one not wired does nothing.
inline void RunOperation(const std::function<void()> &op)
{
    if (op) op();
}

// Creation, showing, closing and destruction of the main window, the command line,
// dropped files and the application's minimise/restore/activate events.
class MainLifecycle {
public:
    MainLifecycle(TForm1 &form, const Platform &platform, MainOperations &ops, QStringList arguments);

    // The other windows, once they exist.
    void setWindows(TFormWMP *video, TFormOle *text, TForm5 *speakers);

    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void FormDestroy();
    void FilesDropped(const QStringList &paths);

    void ApplicationEvents1Minimize();
    void ApplicationEvents1Restore();
    void ApplicationEvents1Activate();
    void ApplicationEvents1Deactivate();
    void connectApplicationEvents(ApplicationEvents &events);

private:
    void applyCommandLine(const CommandLineSwitches &sw);
    void leaveMinimized();

    TForm1 &m_form;
    const Platform &m_platform;
    ScrollLock &m_scrollLock;
    MainOperations &m_ops;
    QStringList m_arguments; // the program's path, then the media file and the switches
    ApplicationEvents *m_events = nullptr;
    TFormWMP *m_video = nullptr;
    TFormOle *m_text = nullptr;
    TForm5 *m_speakers = nullptr;
};
