#pragma once

#include "persist/Settings.h"

#include <QStringList>

class IniFile;
class MediaOpener;
class MediaSettingsFile;
class MpcOption;
class QWidget;
class TForm1;
class TForm2;
class TFormOle;
class TFormWMP;
class TForm5;
class SaveReports;
class UserMessages;
struct MediaSession;

// setting.ini beside the program: the options for every file, the recent files, the windows'
// places and the per-media keys of the file open at the end, which is opened again.
class SettingsFile : public ProgramSettings {
public:
    struct Windows {
        TForm1 &main;
        TFormOle &text;
        TFormWMP &video;
        TForm5 &speakers;
        TForm2 &bookmarks;
    };
    // mediaOnCommandLine: the command line names a file, which the main window's first
    // showing opens; then no open dialog is shown for want of a last file.
    SettingsFile(const Windows &windows, MediaSettingsFile &media, MediaOpener &opener, MpcOption &mpc,
                 MediaSession &session, UserMessages &messages, SaveReports &reports, bool mediaOnCommandLine);

    static QString Path();

    void LoadFromSettingsINI() override;
    void SaveToSettingsINI() override;

private:
    void loadOptions(const IniFile &ini);
    void loadWindows(const IniFile &ini);
    void loadEditor(const IniFile &ini) const;
    void saveWindows(IniFile &ini) const;
    void saveMain(IniFile &ini) const;

    Windows m_w;
    MediaSettingsFile &m_media;
    MediaOpener &m_opener;
    MpcOption &m_mpc;
    MediaSession &m_session;
    UserMessages &m_messages;
    SaveReports &m_reports;
    bool m_mediaOnCommandLine;
    QStringList m_unreadable; // the keys the load skipped ("*": the file could not be read)
};
