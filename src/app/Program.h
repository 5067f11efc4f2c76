#pragma once

#include "app/MainLifecycle.h"
#include "app/PendingParts.h"
#include "platform/Platform.h"
#include "playback/LoopState.h"
#include "playback/MediaSession.h"
#include "windows/GoToDialog.h"

#include <QCoreApplication>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class QObject;
class ScrollLock;
class UserMessages;
class ApplicationEvents;
class TForm1;
class TFormWMP;
class TFormOle;
class TForm2;
class TForm3;
class TForm4;
class TFormHelp;
class TFormAbout;
class TForm5;
class PlayerFacade;
class MediaOpener;
class Mpris;
class MpcOption;
class MainTick;
class BookmarkNavigator;
class BookmarkWindow;
class ClipboardComments;
class ABInterval;
class ABIntervalList;
class Timeline;
class AutoPause;
class Speakers;
class GoToPosition;
class TextInjection;
class KeyCapture;
class HotKeys;
class HotKeyWindow;
class PedalWindow;
class FootPedal;
class FootPedals;
class Volume;
class MediaSettingsFile;
class SettingsFile;
class TextDocuments;
class SaveReports;

// The composition root: creates the windows in their fixed order, each window's creation
// handler running before the next window exists, wires them, and destroys them in reverse.
class Program {
public:
    // stand_in: serves the interfaces not built yet; the tests give their own.
    Program(Platform platform, QStringList arguments, std::unique_ptr<PendingParts> stand_in = nullptr);
    ~Program();

    TForm1 *Form1() const { return m_form1.get(); }
    TFormWMP *FormWMP() const { return m_formWMP.get(); }
    TFormOle *FormOle() const { return m_formOle.get(); }
    TForm2 *Form2() const { return m_form2.get(); }
    TForm3 *Form3() const { return m_form3.get(); }
    TForm4 *Form4() const { return m_form4.get(); }
    TFormHelp *FormHelp() const { return m_formHelp.get(); }
    TFormAbout *FormAbout() const { return m_formAbout.get(); }
    TForm5 *Form5() const { return m_form5.get(); }

    MainLifecycle &lifecycle() { return *m_lifecycle; }
    PlayerFacade &player() { return *m_player; }
    MediaOpener &opener() { return *m_opener; }
    Mpris &mpris() { return *m_mpris; }
    MainTick &mainTick() { return *m_tick; }
    BookmarkNavigator &bookmarks() { return *m_navigator; }
    BookmarkWindow &bookmarkWindow() { return *m_bookmarkWindow; }
    ClipboardComments &clipboardComments() { return *m_clipboardComments; }
    ABInterval &abInterval() { return *m_ab; }
    ABIntervalList &intervals() { return *m_intervals; }
    Timeline &timeline() { return *m_timeline; }
    AutoPause &autoPause() { return *m_autoPause; }
    Speakers &speakers() { return *m_speakers; }
    GoToPosition &goTo() { return *m_goTo; }
    TextInjection &injection() { return *m_injection; }
    KeyCapture &keyCapture() { return *m_keyCapture; }
    HotKeys &hotKeys() { return *m_hotKeys; }
    HotKeyWindow *hotKeyWindow() const { return m_hotKeyWindow.get(); }
    FootPedal &pedal() { return *m_pedal; }
    FootPedals &pedals() { return *m_pedals; }
    PedalWindow *pedalWindow() const { return m_pedalWindow.get(); }
    Volume &volume() { return *m_volume; }
    MediaSettingsFile &mediaSettings() { return *m_mediaSettings; }
    TextDocuments &documents() { return *m_documents; }
    ApplicationEvents &applicationEvents() { return *m_appEvents; }
    MediaSession &session() { return m_session; }
    LoopState &loop() { return m_loop; }

    // The interfaces between the features whose implementation comes with a later window or
    // file; each is served by the stand-in until then.
    struct Interfaces {
        ProgramSettings *settings;
        MediaSettings *mediaSettings;
        TranscriptDocuments *documents;
        IntervalList *intervals;
        TimelineZoom *zoom;
        GoToDialog *goTo;
    };
    const Interfaces &interfaces() const { return m_interfaces; }
    // The names of the interfaces still served by the stand-in, and the stand-in itself.
    QStringList pendingInterfaces() const;
    PendingParts &pending() { return *m_pending; }

    // Ends the event loop once the main window has closed.
    std::function<void()> endEventLoop = [] { QCoreApplication::quit(); };

    // The saves of the normal end, for an end that skips it (the X connection lost).
    void SaveAtAbruptEnd();
    // The session is ending: the text's recovery copy, the open file's settings and setting.ini.
    void SaveNow();
    SaveReports &saveReports() { return *m_reports; }

    // Window object names in the order their creation handlers ran.
    const QStringList &creationOrder() const { return m_creationOrder; }

private:
    void created(QObject *window);
    void TForm5Create();
    void TForm5Destroy();
    void wireMainWindow();
    void wireKeyboard();
    void wirePedals();
    void wireText();

    Platform m_platform;
    MediaSession m_session;
    std::unique_ptr<SaveReports> m_reports;
    bool m_saved = false; // the end's saves have run
    LoopState m_loop;
    std::unique_ptr<PendingParts> m_pending;
    Interfaces m_interfaces; // each set to its implementation before anything is handed it
    QStringList m_creationOrder;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<MainLifecycle> m_lifecycle;
    std::optional<MainLifecycle::Parts> m_lifecycleParts;
    std::unique_ptr<PlayerFacade> m_player;
    std::unique_ptr<MediaOpener> m_opener;
    std::unique_ptr<Mpris> m_mpris;
    std::unique_ptr<MpcOption> m_mpcOption;
    std::unique_ptr<MainTick> m_tick;
    std::unique_ptr<BookmarkNavigator> m_navigator;
    std::unique_ptr<BookmarkWindow> m_bookmarkWindow;
    std::unique_ptr<Timeline> m_timeline;
    std::unique_ptr<ABIntervalList> m_intervals;
    std::unique_ptr<ClipboardComments> m_clipboardComments;
    std::unique_ptr<ABInterval> m_ab;
    std::unique_ptr<AutoPause> m_autoPause;
    std::unique_ptr<Speakers> m_speakers;
    std::unique_ptr<GoToPosition> m_goTo;
    std::unique_ptr<TextInjection> m_injection;
    std::unique_ptr<TextDocuments> m_documents;
    std::unique_ptr<KeyCapture> m_keyCapture;
    std::unique_ptr<HotKeys> m_hotKeys;
    std::unique_ptr<HotKeyWindow> m_hotKeyWindow; // after the hot keys it changes
    std::unique_ptr<FootPedal> m_pedal;
    std::unique_ptr<FootPedals> m_pedals;       // after the pedal it listens to
    std::unique_ptr<PedalWindow> m_pedalWindow; // after the pedals it sets
    std::unique_ptr<Volume> m_volume;
    std::unique_ptr<MediaSettingsFile> m_mediaSettings;
    std::unique_ptr<SettingsFile> m_settings;
    ApplicationEvents *m_appEvents = nullptr;
    std::unique_ptr<TFormWMP> m_formWMP;
    std::unique_ptr<TFormOle> m_formOle;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TFormHelp> m_formHelp;
    std::unique_ptr<TFormAbout> m_formAbout;
    std::unique_ptr<TForm5> m_form5;
};
