#include "app/Program.h"

#include "forms/FeatureControls.h"
#include "forms/TForm1.h"
#include "document/TFormOle.h"
#include "forms/HotKeyWindow.h"
#include "forms/PedalWindow.h"
#include "marks/TForm2.h"
#include "platform/ApplicationEvents.h"
#include "platform/SaveReports.h"
#include "platform/Clock.h"
#include "platform/WindowAccessibility.h"
#include "app/MediaOpener.h"
#include "app/MediaSettingsFile.h"
#include "app/SettingsFile.h"
#include "automation/FootPedals.h"
#include "platform/FootPedal.h"
#include "app/TextDocuments.h"
#include "automation/AutoPause.h"
#include "automation/HotKeys.h"
#include "automation/KeyCapture.h"
#include "automation/TextInjection.h"
#include "automation/MainTick.h"
#include "marks/ABInterval.h"
#include "marks/ABIntervalList.h"
#include "marks/BookmarkNavigator.h"
#include "marks/BookmarkWindow.h"
#include "marks/Timeline.h"
#include "marks/ClipboardComments.h"
#include "playback/MpcOption.h"
#include "playback/Mpris.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"
#include "playback/TFormWMP.h"
#include "playback/Volume.h"
#include "windows/InfoWindows.h"
#include "windows/GoToPosition.h"
#include "windows/TForm3.h"
#include "windows/Speakers.h"
#include "windows/TForm5.h"
#include "widgets/PinButton.h"

#include <QStatusBar>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

Program::Program(Platform platform, QStringList arguments, std::unique_ptr<PendingParts> stand_in)
    : m_platform(platform), m_pending(stand_in ? std::move(stand_in) : std::make_unique<PendingParts>()),
      m_interfaces{m_pending.get(), m_pending.get(), nullptr, nullptr, nullptr, nullptr}
{
    ExposeWindowsAsWindows();
    m_form1 = std::make_unique<TForm1>(platform.clock);
    TForm1 &f = *m_form1;
    // Kept by reference: the member, which lives as long as the windows, not the argument.
    m_lifecycle = std::make_unique<MainLifecycle>(f, m_session, m_platform, std::move(arguments));
    m_lifecycle->FormCreate();
    m_volume = std::make_unique<Volume>(VolumeControls(f), m_platform);
    m_player = std::make_unique<PlayerFacade>(PlayerControls(f), m_session, m_loop, *m_volume, platform.clock,
                                              platform.mci, platform.wmp);
    m_mpris = std::make_unique<Mpris>(MprisControls(f), m_session, *m_player);
    m_mpcOption = std::make_unique<MpcOption>(MpcOptionControls(f), platform.messages);
    created(&f);

    m_formWMP = std::make_unique<TFormWMP>(platform.clock, platform.videoSource, platform.videoDrawing);
    m_formWMP->setMainWindow(&f);
    created(m_formWMP.get());
    m_formOle = std::make_unique<TFormOle>();
    created(m_formOle.get());
    m_form2 = std::make_unique<TForm2>();
    m_form2->keepAbove(&f);
    m_injection = std::make_unique<TextInjection>(platform.clock, platform.desktop);
    m_reports = std::make_unique<SaveReports>(platform.messages);
    m_reports->showStatus = [&f](const QString &text) { f.StatusBar1->showMessage(text, 10000); };
    m_documents = std::make_unique<TextDocuments>(f, *m_formOle, m_session, m_lifecycle->NormalClose, platform.clock,
                                                  platform.messages, *m_reports, *m_injection);
    m_interfaces.documents = m_documents.get();
    m_navigator = std::make_unique<BookmarkNavigator>(BookmarkControls(f), *m_form2, m_loop, *m_player,
                                                      platform.scrollLock, platform.sound, *m_injection);
    m_timeline = std::make_unique<Timeline>(TimelineControls(f), m_form2->StringGrid1, *m_player);
    m_interfaces.zoom = m_timeline.get();
    m_intervals = std::make_unique<ABIntervalList>(IntervalListControls(f), *m_interfaces.zoom,
                                                   platform.desktop.clipboard, platform.messages);
    m_interfaces.intervals = m_intervals.get();
    m_bookmarkWindow =
        std::make_unique<BookmarkWindow>(BookmarkWindow::Controls{f.TrackBar1, f.CheckBoxTrack, &f.MarkImages},
                                         *m_form2, *m_navigator, *m_player, *m_interfaces.zoom, platform.messages);
    m_clipboardComments = std::make_unique<ClipboardComments>(ClipboardCommentControls(f), m_form2->StringGrid1,
                                                              platform.desktop.clipboard, platform.messages);
    m_ab = std::make_unique<ABInterval>(ABIntervalControls(f), m_form2->StringGrid1, m_loop, *m_player, *m_navigator,
                                        *m_interfaces.intervals, *m_interfaces.zoom);
    m_tick = std::make_unique<MainTick>(MainTickControls(f), m_loop, *m_player, platform.clock, *m_form2, *m_navigator,
                                        *m_ab);
    m_mediaSettings = std::make_unique<MediaSettingsFile>(f, *m_form2, *m_navigator, *m_ab, *m_interfaces.intervals,
                                                          m_session, platform.messages, *m_reports, platform.clock);
    m_interfaces.mediaSettings = m_mediaSettings.get();
    m_opener = std::make_unique<MediaOpener>(
        f, m_session, *m_player, platform.mci, platform.wmp, platform.clock, platform.messages,
        MediaOpener::Parts{*m_navigator, *m_interfaces.zoom, *m_interfaces.mediaSettings, *m_interfaces.documents,
                           *m_formWMP, *m_formOle});
    created(m_form2.get());
    m_form3 = std::make_unique<TForm3>();
    m_goTo = std::make_unique<GoToPosition>(GoToControls(f), *m_form3, *m_player);
    m_interfaces.goTo = m_goTo.get();
    created(m_form3.get());
    m_form4 = std::make_unique<TForm4>();
    created(m_form4.get());
    m_formHelp = std::make_unique<TFormHelp>();
    created(m_formHelp.get());
    m_formAbout = std::make_unique<TFormAbout>();
    created(m_formAbout.get());
    m_form5 = std::make_unique<TForm5>();
    m_speakers = std::make_unique<Speakers>(SpeakerControls(f), *m_form5, *m_injection);
    m_mediaSettings->setLateParts(*m_form3, *m_speakers);
    wireKeyboard();
    wirePedals();
    m_lifecycleParts.emplace(MainLifecycle::Parts{*m_opener, *m_navigator, *m_ab, *m_interfaces.intervals,
                                                  *m_interfaces.zoom, *m_hotKeys, *m_interfaces.documents, *m_formWMP,
                                                  *m_formOle, *m_form2, *m_form5});
    m_lifecycle->setParts(&*m_lifecycleParts);
    m_appEvents = new ApplicationEvents(&f);
    m_lifecycle->connectApplicationEvents(*m_appEvents);
    wireMainWindow();
    wireText();
    m_settings = std::make_unique<SettingsFile>(SettingsFile::Windows{f, *m_formOle, *m_formWMP, *m_form5, *m_form2},
                                                *m_mediaSettings, *m_opener, *m_mpcOption, m_session, platform.messages,
                                                *m_reports, m_lifecycle->CommandLineNamesFile());
    m_interfaces.settings = m_settings.get();
    TForm5Create();
    created(m_form5.get());
}

Program::~Program()
{
    if (!m_saved) TForm5Destroy();
    m_lifecycle->setParts(nullptr);
    // Reverse order of creation: the speakers window goes first, the main window last; each
    // behaviour goes before what it was handed.
    m_hotKeys.reset();
    m_autoPause.reset();
    m_keyCapture.reset();
    m_speakers.reset();
    m_form5.reset();
    m_formAbout.reset();
    m_formHelp.reset();
    m_form4.reset();
    m_goTo.reset();
    m_form3.reset();
    m_settings.reset();
    m_opener.reset();
    m_mediaSettings.reset();
    m_tick.reset();
    m_ab.reset();
    m_bookmarkWindow.reset();
    m_intervals.reset();
    m_timeline.reset();
    m_clipboardComments.reset();
    m_navigator.reset();
    m_form2.reset();
    m_documents->TextWindowDestroyed();
    m_documents.reset();
    m_injection.reset();
    m_formOle.reset();
    m_formWMP.reset();
    m_lifecycle->FormDestroy();
    m_mpcOption.reset();
    m_mpris.reset();
    m_player.reset();
    m_volume.reset();
    m_form1.reset();
}

void Program::created(QObject *window) { m_creationOrder << window->objectName(); }

QStringList Program::pendingInterfaces() const
{
    QStringList names;
    const auto check = [&](const auto *part, const char *name) {
        if (dynamic_cast<const PendingParts *>(part)) names << QLatin1String(name);
    };
    check(m_interfaces.settings, "ProgramSettings");
    check(m_interfaces.mediaSettings, "MediaSettings");
    check(m_interfaces.goTo, "GoToDialog");
    return names;
}

// The speakers window is created last; its creation loads the settings and with them the
// media file that was open at the last exit.
void Program::TForm5Create()
{
    TForm1 &f = *m_form1;
    m_session.VideoFlag = false;
    f.Timer1->stop();
    f.Timer2->stop();
    m_session.SkipPreviousSave = true;
    m_interfaces.settings->LoadFromSettingsINI();
    // The loaded after-text replaces the ":" the window is designed with.
    m_form5->Edit11->setText(m_speakers->SpeakerSuffix);
    f.Timer1->start();
    f.Timer2->start();
    m_interfaces.documents->LoadStartupDocument();
}

// The speakers window goes first at shutdown; its destruction pauses playback and saves the
// settings, the open file's settings and the documents.
void Program::TForm5Destroy()
{
    m_saved = true;
    TForm1 &f = *m_form1;
    f.Timer1->stop();
    f.Timer2->stop();
    if (m_player->IsPlaying()) m_player->Pause();
    m_interfaces.settings->SaveToSettingsINI();
    // Without an open file there is nothing to keep (the file would be named ".ini").
    if (!m_session.CurrentMediaPath.isEmpty()) m_interfaces.mediaSettings->SaveToINIVideo(m_session.CurrentMediaPath);
    m_interfaces.documents->SaveShutdownDocuments();
}

// The session is ending: what would be lost if it ended now is written.
void Program::SaveNow()
{
    m_documents->FlushRecovery();
    if (!m_session.CurrentMediaPath.isEmpty() && !m_session.Opening)
        m_interfaces.mediaSettings->SaveToINIVideo(m_session.CurrentMediaPath);
    m_interfaces.settings->SaveToSettingsINI();
}

// The program ends without its windows' close (the window system is gone): the saves of the
// normal end, without a message box, which nobody could see.
void Program::SaveAtAbruptEnd()
{
    if (m_saved) return;
    m_reports->quiet = true;
    TForm5Destroy();
    m_documents->TextWindowDestroyed();
    m_form1->MPCHC.reset(); // the external player is not left on the screen
}

// System-wide keys, typing into the text window and the text window's handling.
void Program::wireKeyboard()
{
    TForm1 &f = *m_form1;
    const Desktop desktop = m_platform.desktop;
    m_keyCapture = std::make_unique<KeyCapture>(KeyCaptureControls(f), m_lifecycle->AppMinimized, m_form2->StringGrid1,
                                                *m_navigator, *m_player, m_platform.clock, desktop, *m_injection);
    m_keyCapture->setVideoWindow(m_formWMP.get());
    m_autoPause = std::make_unique<AutoPause>(AutoPauseControls(f), *m_player, *m_keyCapture, *m_injection, *m_formWMP);
    const HotKeyTable defaults = f.hotKeys;
    m_hotKeys = std::make_unique<HotKeys>(HotKeyControls(f), m_lifecycle->AppMinimized, *m_player, desktop.hotKeys,
                                          *m_keyCapture, *m_navigator, *m_ab, *m_speakers, *m_interfaces.goTo);
    m_hotKeyWindow = std::make_unique<HotKeyWindow>(f.hotKeys, defaults, *m_hotKeys);
    m_hotKeyWindow->LoadChoices();
    m_hotKeyWindow->ReportRefused(*f.StatusBar1);
    QObject::connect(f.NHotKeys, &QAction::triggered, m_hotKeyWindow.get(), [w = m_hotKeyWindow.get()] {
        w->show();
        w->raise();
        w->activateWindow();
    });
}

// The foot pedal, opened and set in the pedal window. A pedal that cannot be read is said
// once, in the status line (after the hot keys the desktop refused), with the way to allow it.
void Program::wirePedals()
{
    TForm1 &f = *m_form1;
    m_pedal = std::make_unique<FootPedal>();
    m_pedals = std::make_unique<FootPedals>(*m_pedal, *m_player, *m_keyCapture, *m_navigator);
    m_pedalWindow = std::make_unique<PedalWindow>(*m_pedals, *m_pedal);
    m_pedalWindow->LoadChoices();
    QObject::connect(f.NPedals, &QAction::triggered, m_pedalWindow.get(), [w = m_pedalWindow.get()] {
        w->show();
        w->raise();
        w->activateWindow();
    });
    const QString problem = m_pedalWindow->OpenDevice();
    if (problem.isEmpty()) return;
    const QString before = f.StatusBar1->currentMessage();
    f.StatusBar1->showMessage(before.isEmpty() ? problem : before + QStringLiteral("  ") + problem);
}

// The text menu, the text window's commands and the external-document mode.
void Program::wireText()
{
    TForm1 *f = m_form1.get();
    TextDocuments *docs = m_documents.get();
    const auto on = [f](QAction *action, auto handler) { QObject::connect(action, &QAction::triggered, f, handler); };
    on(f->N8, [docs] { docs->N8Click(); });
    on(f->N9, [docs] { docs->N9Click(); });
    on(f->MSWORD1, [docs] { docs->MSWORD1Click(); });
    on(f->N3, [docs] { docs->N3Click(); });
    on(f->N21, [docs] { docs->N21Click(); });
    on(f->NWord, [docs] { docs->NWordClick(); });
    on(f->NExportOdt, [docs] { docs->ExportText(true); });
    on(f->NExportTxt, [docs] { docs->ExportText(false); });
    QObject::connect(f->SpeedButton7, &QToolButton::clicked, f, [docs] { docs->N21Click(); });
}

void Program::wireMainWindow()
{
    TForm1 *f = m_form1.get();
    MainLifecycle *life = m_lifecycle.get();
    QObject::connect(f, &TForm1::shown, f, [life] { life->FormShow(); });
    QObject::connect(f, &TForm1::closeQuery, f, [this, f, life] {
        life->FormCloseQuery();
        // Queued: a close during start-up comes before the event loop runs.
        QMetaObject::invokeMethod(
            f, [this] { endEventLoop(); }, Qt::QueuedConnection);
    });
    QObject::connect(f, &TForm1::filesDropped, f, [life](const QStringList &paths) { life->FilesDropped(paths); });

    // A check box's handler runs whenever its state changes, by the user or by code.
    BookmarkNavigator *navigator = m_navigator.get();
    ABInterval *ab = m_ab.get();
    IntervalList *intervals = m_interfaces.intervals;
    TimelineZoom *zoom = m_interfaces.zoom;
    QObject::connect(f->CheckBox7, &QCheckBox::toggled, f, [ab] { ab->CheckBox7Click(); });
    QObject::connect(f->CheckBox8, &QCheckBox::toggled, f, [navigator] { navigator->CheckBox8Click(); });
    QObject::connect(f->CheckBox16, &QCheckBox::toggled, f, [intervals] { intervals->CheckBox16Click(); });
    QObject::connect(f->CheckBoxTrack, &QCheckBox::toggled, f, [zoom] { zoom->CheckBoxTrackClick(); });
    // A seek by the user or a button of the player takes the loop's bookmarks from there.
    QObject::connect(m_player.get(), &PlayerFacade::bookmarkLoopRestart, f,
                     [navigator] { navigator->CheckBox8Click(); });
    QObject::connect(f->Panel3, &MarkStrip::markPressed, f,
                     [navigator](int slot, Qt::MouseButton button) { navigator->ImageZkMouseDown(slot, button); });

    // Unpinning the main window unpins the other windows that are shown pinned.
    const std::array<PinButton *, 4> others{m_form2->JvCaptionButton1, m_form5->JvCaptionButton1,
                                            m_formWMP->JvCaptionButton1, m_formOle->JvCaptionButton1};
    f->JvCaptionButton1->beforeRelease = [others] {
        for (PinButton *pin : others)
            if (pin->window()->isVisible() && pin->isChecked()) pin->setChecked(false);
    };
    f->TimerJvCaptionButton->onTimeout = [f] {
        f->TimerJvCaptionButton->stop();
        f->resize(f->width() + 1, f->height());
        f->resize(f->width() - 1, f->height());
    };

    BookmarkWindow *bookmarkWindow = m_bookmarkWindow.get();
    QObject::connect(f->N12, &QAction::triggered, f, [bookmarkWindow] { bookmarkWindow->N12Click(); });
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{f->SpeedButton2, f->BitBtn2})
        QObject::connect(b, &QAbstractButton::clicked, f, [bookmarkWindow] { bookmarkWindow->N12Click(); });
    QObject::connect(f->N5, &QAction::triggered, f, &QWidget::close);
    QObject::connect(f->N19, &QAction::triggered, m_formHelp.get(), &QWidget::show);
    QObject::connect(f->N17, &QAction::triggered, m_formAbout.get(), &QWidget::show);
    QObject::connect(m_formAbout->donateButton, &QPushButton::clicked, m_form4.get(), &QWidget::show);
    MediaOpener *opener = m_opener.get();
    QObject::connect(f->Button1, &QPushButton::clicked, f, [opener] { opener->OpenMediaFile(); });
    QObject::connect(f->MP31, &QAction::triggered, f, [opener] { opener->OpenMediaFile(); });

    // With the external player, "V" and "Видео поверх текста" address its own window.
    TFormWMP *video = m_formWMP.get();
    const auto showVideo = [this, f, video] {
        if (!f->NMPC->isChecked()) video->ShowVideoWindow(m_session.VideoFlag, m_platform.messages);
        else m_keyCapture->ShowExternalPlayerWindow();
    };
    QObject::connect(f->SpeedButton8, &QToolButton::clicked, f, showVideo);
    QObject::connect(f->N24, &QAction::triggered, f, showVideo);
    QObject::connect(f->CheckBox11, &QCheckBox::toggled, f, [this, f, video](bool on) {
        if (!f->NMPC->isChecked()) {
            video->VideoOnTop(on);
            return;
        }
        const WindowId player = m_keyCapture->playerWindow();
        if (!player) return;
        m_platform.desktop.windows.setTopmost(player, on);
        if (on) {
            m_platform.desktop.windows.restore(player);
        } else {
            f->raise();
            f->activateWindow();
        }
    });
}
