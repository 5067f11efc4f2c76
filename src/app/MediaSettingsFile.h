#pragma once

#include "persist/IniFile.h"
#include "persist/Settings.h"

#include <QString>
#include <QHash>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class ABInterval;
class QCheckBox;
class UpDown;
class BookmarkNavigator;
class IntervalList;
class Speakers;
class TForm1;
class TForm2;
class TForm3;
class Clock;
class SaveReports;
class Timer;
class UserMessages;
struct MediaSession;

// The main window's per-media keys of section MAIN, which setting.ini shares: reading them
// into the controls (each control's handler runs as for a user's change) and the values to
// write. A value that must be a number and is not reads as the key's default and is
// remembered by the IniFile among its unreadable keys.
class MediaKeys {
public:
    MediaKeys(TForm1 &form, Speakers &speakers, MediaSession &session, ABInterval &ab);
    // In this order: A and B with their marks and band; the loop switches and counts; the
    // speaker names with the texts before and after, pilcrows stripped; the video flag; the
    // speaker menu's captions.
    void load(const IniFile &ini);
    void loadVideo(const IniFile &ini);
    void loadSpeed(const IniFile &ini);
    // The value written for a key of the main window's per-media keys.
    QString value(const QString &key) const;

    static bool flag(const IniFile &ini, const QString &section, const QString &key, const QString &fallback);
    static int number(const IniFile &ini, const QString &section, const QString &key, const QString &fallback);

private:
    // The loop switches and counts, each a check box or an up-down, in their loading order.
    struct LoopControl {
        const char *key;
        QCheckBox *box;
        UpDown *count;
        const char *fallback;
    };
    std::array<LoopControl, 11> loopControls() const;
    void loadAB(const IniFile &ini);
    void loadLoopFlags(const IniFile &ini);
    void loadSpeakers(const IniFile &ini);

    TForm1 &m_form;
    Speakers &m_speakers;
    MediaSession &m_session;
    ABInterval &m_ab;
};

// The settings file of each media file: AvtoSave/<media key>.ini.
class MediaSettingsFile : public MediaSettings {
public:
    MediaSettingsFile(TForm1 &form, TForm2 &bookmarks, BookmarkNavigator &navigator, ABInterval &ab,
                      IntervalList &intervals, MediaSession &session, UserMessages &messages, SaveReports &reports,
                      Clock &clock);
    // The go-to dialog and the speakers come later in the start-up than the opener, which is
    // handed this file; both are there before the first load.
    void setLateParts(TForm3 &goTo, Speakers &speakers);
    MediaKeys &keys() { return *m_keys; }

    static QString PathFor(const QString &mediaPath);

    bool SaveToINIVideo(const QString &mediaPath) override;
    std::optional<bool> LoadFromINIVideo(const QString &mediaPath) override;
    void LoadFromINIMedia(const QString &mediaPath) override;

    // The interval list and the bookmark table into their sections, as both files keep them.
    void writeLists(IniFile &ini) const;
    // The state of the open recording as it was just loaded or saved: the watch below writes
    // only what changes after it.
    void markSaved(const QString &mediaPath) override;
    // Every second: the open recording's state, when it changed, into its file.
    void TimerMediaStateTimer();
    std::unique_ptr<Timer> TimerMediaState;

private:
    void loadBookmarks(const IniFile &ini);
    static int listCount(const IniFile &ini, const QString &section, const QString &itemKey, int header);
    void apply(IniFile &ini, const QString &mediaPath) const; // sets the state in the file
    bool write(const QString &mediaPath);
    static QByteArray comparable(IniFile ini);

    TForm1 &m_form;
    TForm2 &m_bookmarks;
    BookmarkNavigator &m_navigator;
    ABInterval &m_ab;
    IntervalList &m_intervals;
    MediaSession &m_session;
    UserMessages &m_messages;
    SaveReports &m_reports;
    TForm3 *m_goTo = nullptr;
    QHash<QString, QStringList> m_unreadable; // per settings file, the keys its load skipped ("*": all)
    IniFile m_watched;                        // the open recording's file as last read or written
    QByteArray m_savedState;
    std::optional<MediaKeys> m_keys;
};
