#include "app/MainLifecycle.h"

#include "app/CommandLine.h"
#include "app/Controls.h"
#include "base/MediaTime.h"
#include "app/TForm1.h"
#include "document/TFormOle.h"
#include "persist/ProgramFolder.h"
#include "platform/ApplicationEvents.h"
#include "platform/Clock.h"
#include "platform/ScrollLock.h"
#include "playback/TFormWMP.h"
#include "playback/TMPCHC.h"
#include "windows/TForm5.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QLineEdit>
#include <QListWidget>

namespace {

// The socket the external player listens on for this process's commands.
QString MpcSocketPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QStringLiteral("/stenova-mpv-%1.sock").arg(QCoreApplication::applicationPid());
}

} // namespace

MainLifecycle::MainLifecycle(TForm1 &form, const Platform &platform, MainOperations &ops, QStringList arguments)
    : m_form(form), m_platform(platform), m_scrollLock(platform.scrollLock), m_ops(ops),
      m_arguments(std::move(arguments))
{
}

void MainLifecycle::setWindows(TFormWMP *video, TFormOle *text, TForm5 *speakers)
{
    m_video = video;
    m_text = text;
    m_speakers = speakers;
}

void MainLifecycle::FormCreate()
{
    m_form.state.lastVolumeShown = -1; // so that the first volume reading is shown
    m_form.MPCHC = std::make_unique<TMPCHC>(m_platform.mpc, m_platform.clock, m_platform.messages);
    m_form.MPCHC->HostWindow = MpcSocketPath();
    m_form.EditNMPC->setText(m_form.MPCHC->PlayerPath);
    m_form.setAcceptDrops(true);
    m_form.move(0, 0);
    m_form.resize(1280, m_form.sizeHint().height());
    m_form.state.NormalClose = false;
    EnsureWorkFolder(m_platform.messages);
    m_form.Timer1->stop();
    // The display tag makes the position change below seek nothing.
    m_form.TrackBar1->tag = SeekDisplay;
    m_form.TrackBar1->setMaximum(100000);
    m_form.TrackBar1->setValue(0);
}

void MainLifecycle::FormShow()
{
    // The Scroll Lock light shows whether the between-bookmarks loop is on.
    if (m_scrollLock.available() && m_form.CheckBox8->isChecked() != m_scrollLock.isOn())
        m_scrollLock.pressAndRelease();
    m_form.TimerJvCaptionButton->start();
    if (m_form.CheckBox8->isChecked()) RunOperation(m_ops.CheckBox8Click);

    if (++m_form.state.firstShowCount != 1 || m_arguments.size() < 2) return;
    const QString media = m_arguments[1];
    if (!QFileInfo(media).isFile()) return;
    m_form.state.PendingMediaPath = media;
    m_form.state.SkipPreviousSave = true;
    RunOperation(m_ops.OpenMediaFile);
    applyCommandLine(ParseSwitches(m_arguments.mid(1)));
}

void MainLifecycle::applyCommandLine(const CommandLineSwitches &sw)
{
    TForm1 &f = m_form;
    // Every loop box is set, so an absent switch clears what the media settings restored.
    f.CheckBox6->setChecked(sw.loopFile);
    f.CheckBox13->setChecked(sw.pauseAtLoopStart);
    f.CheckBox8->setChecked(sw.bookmarkCount >= 0);
    f.CheckBox10->setChecked(sw.skipHashBookmarks);
    f.CheckBox7->setChecked(sw.abCount >= 0);
    if (sw.bookmarkCount >= 0) f.UpDown6->setPosition(sw.bookmarkCount);
    if (sw.abCount >= 0) f.UpDown7->setPosition(sw.abCount);

    f.CheckBox16->setChecked(false);
    RunOperation(m_ops.CheckBox16Click);
    RunOperation(m_ops.CheckBox7Click);
    RunOperation(m_ops.CheckBox8Click);

    if (sw.intervalListText && !sw.intervalListText->isEmpty()) {
        f.CheckBox15->setChecked(true);
        f.ListBoxAB->clear();
        f.ListBoxAB->addItems(CutIntervalList(*sw.intervalListText));
        f.CheckBox16->setChecked(true);
        RunOperation(m_ops.CheckBox16Click);
        f.CheckBox7->setChecked(true);
        RunOperation(m_ops.CheckBox7Click);
    }

    if (sw.startTimeText) {
        f.TimerGoto->stop();
        f.TimerGoto->tag = TimeTextToMs(*sw.startTimeText);
        f.TimerGoto->start();
    }
}

void MainLifecycle::FilesDropped(const QStringList &paths)
{
    if (paths.isEmpty() || !QFileInfo(paths.first()).isFile()) return;
    m_form.state.PendingMediaPath = paths.first();
    RunOperation(m_ops.OpenMediaFile);
}

void MainLifecycle::FormCloseQuery()
{
    m_form.state.NormalClose = true;
    if (m_form.CheckBoxTrack->isChecked()) {
        m_form.CheckBoxTrack->setChecked(false);
        RunOperation(m_ops.CheckBoxTrackClick);
    }
    const bool externalText = m_form.NWord->isChecked();
    if (m_text && !externalText) RunOperation(m_ops.CloseEmbeddedDocument);
    RunOperation(m_ops.CloseBookmarksWindow);
    if (m_text) m_text->visibleAtClose = m_text->isVisible() && !externalText;
    if (m_video) m_video->visibleAtClose = m_video->isVisible();
    if (m_speakers) m_speakers->visibleAtClose = m_speakers->isVisible();
}

void MainLifecycle::FormDestroy()
{
    // The light goes off with the program.
    if (m_scrollLock.available() && m_scrollLock.isOn()) m_scrollLock.pressAndRelease();
    m_form.MPCHC.reset();
}

void MainLifecycle::ApplicationEvents1Minimize()
{
    m_form.state.AppMinimized = true;
    m_form.hotKey(QStringLiteral("JvApplicationHotKey1")).active = false;
    RunOperation(m_ops.HotKeysChanged);
}

void MainLifecycle::ApplicationEvents1Restore()
{
    leaveMinimized();
    m_form.hotKey(QStringLiteral("JvApplicationHotKey1")).active = true;
    RunOperation(m_ops.HotKeysChanged);
}

// ESC, Space and Scroll Lock stay without effect for one lock-out after the program is
// restored, as they were while it was minimised.
void MainLifecycle::leaveMinimized()
{
    if (m_form.state.AppMinimized) m_form.TimerESC->start();
    m_form.state.AppMinimized = false;
}

void MainLifecycle::ApplicationEvents1Activate()
{
    if (m_events && m_events->isMinimized()) {
        m_form.state.AppMinimized = true;
        return;
    }
    leaveMinimized();
    if (m_text && m_text->isVisible() && !m_form.NWord->isChecked()) RunOperation(m_ops.RepaintEmbeddedDocument);
}

void MainLifecycle::ApplicationEvents1Deactivate()
{
    if (m_events && m_events->isMinimized()) m_form.state.AppMinimized = true;
}

void MainLifecycle::connectApplicationEvents(ApplicationEvents &events)
{
    m_events = &events;
    QObject::connect(&events, &ApplicationEvents::minimized, [this] { ApplicationEvents1Minimize(); });
    QObject::connect(&events, &ApplicationEvents::restored, [this] { ApplicationEvents1Restore(); });
    QObject::connect(&events, &ApplicationEvents::activated, [this] { ApplicationEvents1Activate(); });
    QObject::connect(&events, &ApplicationEvents::deactivated, [this] { ApplicationEvents1Deactivate(); });
}
