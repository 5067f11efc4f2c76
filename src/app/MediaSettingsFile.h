#pragma once

#include "persist/Settings.h"

#include <QString>
#include <array>
#include <optional>

class ABInterval;
class QCheckBox;
class UpDown;
class BookmarkNavigator;
class IniFile;
class IntervalList;
class Speakers;
class TForm1;
class TForm2;
class TForm3;
class UserMessages;
struct MediaSession;

// Thrown by a load at the first value it cannot use; the load stops there.
struct SettingsLoadError {
    QString key;
};

// The main window's per-media keys of section MAIN, which setting.ini shares: reading them
// into the controls (each control's handler runs as for a user's change) and the values to
// write. A value that must be a number and is not throws SettingsLoadError.
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
                      IntervalList &intervals, MediaSession &session, UserMessages &messages);
    // The go-to dialog and the speakers come later in the start-up than the opener, which is
    // handed this file; both are there before the first load.
    void setLateParts(TForm3 &goTo, Speakers &speakers);
    MediaKeys &keys() { return *m_keys; }

    static QString PathFor(const QString &mediaPath);

    void SaveToINIVideo(const QString &mediaPath) override;
    std::optional<bool> LoadFromINIVideo(const QString &mediaPath) override;
    void LoadFromINIMedia(const QString &mediaPath) override;

    // The interval list and the bookmark table into their sections, as both files keep them.
    void writeLists(IniFile &ini) const;

private:
    void loadBookmarks(const IniFile &ini);

    TForm1 &m_form;
    TForm2 &m_bookmarks;
    BookmarkNavigator &m_navigator;
    ABInterval &m_ab;
    IntervalList &m_intervals;
    MediaSession &m_session;
    UserMessages &m_messages;
    TForm3 *m_goTo = nullptr;
    std::optional<MediaKeys> m_keys;
};
