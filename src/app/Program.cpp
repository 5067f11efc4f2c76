#include "app/Program.h"

#include "app/TForm1.h"
#include "document/TFormOle.h"
#include "marks/TForm2.h"
#include "platform/ApplicationEvents.h"
#include "platform/Clock.h"
#include "platform/WindowAccessibility.h"
#include "app/MediaOpener.h"
#include "automation/AutoPause.h"
#include "automation/HotKeys.h"
#include "automation/KeyCapture.h"
#include "automation/TextInjection.h"
#include "automation/MainTick.h"
#include "marks/ABInterval.h"
#include "marks/BookmarkNavigator.h"
#include "playback/MpcOption.h"
#include "playback/Mpris.h"
#include "playback/PlayerFacade.h"
#include "playback/TFormWMP.h"
#include "playback/Volume.h"
#include "windows/InfoWindows.h"
#include "windows/TForm3.h"
#include "windows/Speakers.h"
#include "windows/TForm5.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

Program::Program(Platform platform, QStringList arguments) : m_platform(platform)
{
    ExposeWindowsAsWindows();
    m_form1 = std::make_unique<TForm1>(platform.clock);
    // Kept by reference: the member, which lives as long as the windows, not the argument.
    m_lifecycle = std::make_unique<MainLifecycle>(*m_form1, m_platform, m_ops, std::move(arguments));
    m_lifecycle->FormCreate();
    m_appEvents = new ApplicationEvents(m_form1.get());
    m_lifecycle->connectApplicationEvents(*m_appEvents);
    m_player = std::make_unique<PlayerFacade>(*m_form1, platform.clock, platform.mci, platform.wmp, m_ops);
    m_opener = std::make_unique<MediaOpener>(*m_form1, *m_player, platform.mci, platform.wmp, platform.clock,
                                             platform.messages, m_ops);
    m_mpris = std::make_unique<Mpris>(*m_form1, *m_player);
    m_mpcOption = std::make_unique<MpcOption>(*m_form1, platform.messages);
    m_tick = std::make_unique<MainTick>(*m_form1, *m_player, platform.clock, m_ops);
    m_autoPause = std::make_unique<AutoPause>(*m_form1, *m_player, m_ops);
    m_volume = std::make_unique<Volume>(*m_form1, m_platform, m_ops);
    created(m_form1.get());

    m_formWMP = std::make_unique<TFormWMP>(platform.clock, platform.videoSource);
    m_formWMP->setMainWindow(m_form1.get());
    m_autoPause->setVideoWindow(m_formWMP.get());
    created(m_formWMP.get());
    m_formOle = std::make_unique<TFormOle>();
    created(m_formOle.get());
    m_form2 = std::make_unique<TForm2>();
    m_navigator =
        std::make_unique<BookmarkNavigator>(*m_form1, *m_form2, *m_player, platform.scrollLock, platform.sound, m_ops);
    m_ops.CheckBox8Click = [this] { m_navigator->CheckBox8Click(); };
    m_ops.DeleteAllBookmarks = [this] { m_navigator->DeleteAllBookmarks(); };
    m_ops.ResetBookmarkNumbering = [this] { m_navigator->ResetBookmarkNumbering(); };
    m_ab = std::make_unique<ABInterval>(*m_form1, m_form2->StringGrid1, *m_player, m_ops);
    m_ops.CheckBox7Click = [this] { m_ab->CheckBox7Click(); };
    m_ops.SpeedButton11Click = [this] { m_ab->SpeedButton11Click(); };
    QObject::connect(m_form1->Panel3, &MarkStrip::markPressed, m_form1.get(),
                     [this](int slot, Qt::MouseButton button) { m_navigator->ImageZkMouseDown(slot, button); });
    created(m_form2.get());
    m_form3 = std::make_unique<TForm3>();
    created(m_form3.get());
    m_form4 = std::make_unique<TForm4>();
    created(m_form4.get());
    m_formHelp = std::make_unique<TFormHelp>();
    created(m_formHelp.get());
    m_formAbout = std::make_unique<TFormAbout>();
    created(m_formAbout.get());
    m_form5 = std::make_unique<TForm5>();
    m_speakers = std::make_unique<Speakers>(*m_form1, *m_form5, m_ops);
    m_lifecycle->setWindows(m_formWMP.get(), m_formOle.get(), m_form5.get());
    m_opener->setWindows(m_formWMP.get(), m_formOle.get());
    m_tick->setBookmarksWindow(m_form2.get());
    wireMainWindow();
    wireKeyboard();
    TForm5Create();
    created(m_form5.get());
}

Program::~Program()
{
    m_lifecycle->setWindows(nullptr, nullptr, nullptr);
    m_opener->setWindows(nullptr, nullptr);
    m_tick->setBookmarksWindow(nullptr);
    m_autoPause->setVideoWindow(nullptr);
    // Reverse order of creation: the speakers window goes first, the main window last.
    m_ops.InsertText = nullptr;
    m_ops.TakeTextWindow = m_ops.BringTextWindowForward = m_ops.ShowExternalPlayerWindow = nullptr;
    m_hotKeys.reset();
    m_keyCapture.reset();
    m_injection.reset();
    m_speakers.reset();
    m_form5.reset();
    m_formAbout.reset();
    m_formHelp.reset();
    m_form4.reset();
    m_form3.reset();
    m_ab.reset();
    m_navigator.reset();
    m_form2.reset();
    m_formOle.reset();
    m_formWMP.reset();
    m_lifecycle->FormDestroy();
    // The behaviours watch the main window's controls: they go before it.
    m_volume.reset();
    m_autoPause.reset();
    m_tick.reset();
    m_mpcOption.reset();
    m_mpris.reset();
    m_opener.reset();
    m_player.reset();
    m_form1.reset();
}

void Program::created(QObject *window) { m_creationOrder << window->objectName(); }

// The speakers window is created last; its creation loads the settings and with them the
// media file that was open at the last exit.
void Program::TForm5Create()
{
    TForm1 &f = *m_form1;
    f.state.VideoFlag = false;
    f.Timer1->stop();
    f.Timer2->stop();
    f.state.SkipPreviousSave = true;
    RunOperation(m_ops.LoadFromSettingsINI);
    // The loaded after-text replaces the ":" the window is designed with.
    m_form5->Edit11->setText(f.state.SpeakerSuffix);
    f.Timer1->start();
    f.Timer2->start();
    RunOperation(m_ops.LoadStartupDocument);
}

// System-wide keys, typing into the text window and the text window's handling.
void Program::wireKeyboard()
{
    TForm1 &f = *m_form1;
    const Desktop desktop = m_platform.desktop;
    m_injection = std::make_unique<TextInjection>(f.state, m_platform.clock, desktop);
    m_keyCapture = std::make_unique<KeyCapture>(f, m_form2->StringGrid1, *m_player, m_platform.clock, desktop,
                                                *m_injection, m_ops);
    m_keyCapture->setVideoWindow(m_formWMP.get());
    m_hotKeys = std::make_unique<HotKeys>(f, *m_player, desktop.hotKeys, *m_navigator, *m_ab, *m_speakers, m_ops);
    m_ops.InsertText = [this](const QString &text) { m_injection->InsertText(text); };
    m_ops.BitBtn3Click = [this](bool bookmarkOrA) { m_navigator->BitBtn3Click(bookmarkOrA); };
    m_ops.TakeTextWindow = [this] { m_keyCapture->TakeTextWindow(); };
    m_ops.ShowExternalPlayerWindow = [this, desktop] {
        if (const WindowId w = m_keyCapture->playerWindow()) {
            desktop.windows.restore(w);
            desktop.windows.setForeground(w);
        }
    };
    m_ops.BringTextWindowForward = [this, desktop] {
        if (m_form1->state.TextWindow) desktop.windows.setForeground(m_form1->state.TextWindow);
    };
}

void Program::wireMainWindow()
{
    TForm1 *f = m_form1.get();
    MainLifecycle *life = m_lifecycle.get();
    QObject::connect(f, &TForm1::shown, f, [life] { life->FormShow(); });
    QObject::connect(f, &TForm1::closeQuery, f, [life] {
        life->FormCloseQuery();
        // Queued: a close during start-up comes before the event loop runs.
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    QObject::connect(f, &TForm1::filesDropped, f, [life](const QStringList &paths) { life->FilesDropped(paths); });

    m_ops.OpenMediaFile = [this] { m_opener->OpenMediaFile(); };
    m_ops.CloseBookmarksWindow = [this] { m_form2->close(); };

    // A check box's handler runs whenever its state changes, by the user or by code.
    const auto onToggle = [f](QCheckBox *box, std::function<void()> &op) {
        QObject::connect(box, &QCheckBox::toggled, f, [&op] { RunOperation(op); });
    };
    onToggle(f->CheckBox7, m_ops.CheckBox7Click);
    onToggle(f->CheckBox8, m_ops.CheckBox8Click);
    onToggle(f->CheckBox16, m_ops.CheckBox16Click);
    onToggle(f->CheckBoxTrack, m_ops.CheckBoxTrackClick);

    QObject::connect(f->N5, &QAction::triggered, f, &QWidget::close);
    QObject::connect(f->N19, &QAction::triggered, m_formHelp.get(), &QWidget::show);
    QObject::connect(f->N17, &QAction::triggered, m_formAbout.get(), &QWidget::show);
    QObject::connect(m_formAbout->donateButton, &QPushButton::clicked, m_form4.get(), &QWidget::show);
    const auto open = [this] { RunOperation(m_ops.OpenMediaFile); };
    QObject::connect(f->Button1, &QPushButton::clicked, f, open);
    QObject::connect(f->MP31, &QAction::triggered, f, open);

    // With the external player, "V" and "Видео поверх текста" address its own window.
    TFormWMP *video = m_formWMP.get();
    const auto showVideo = [this, f, video] {
        if (!f->NMPC->isChecked()) video->ShowVideoWindow(f->state.VideoFlag, m_platform.messages);
        else RunOperation(m_ops.ShowExternalPlayerWindow);
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
