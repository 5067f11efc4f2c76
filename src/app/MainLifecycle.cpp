#include "app/MainLifecycle.h"

#include "app/CommandLine.h"
#include "widgets/Controls.h"
#include "base/MediaTime.h"
#include "forms/TForm1.h"
#include "document/TFormOle.h"
#include "platform/ProgramFolder.h"
#include "platform/ApplicationEvents.h"
#include "platform/Clock.h"
#include "platform/ScrollLock.h"
#include "playback/TFormWMP.h"
#include "playback/TMPCHC.h"
#include "windows/TForm5.h"
#include "app/MediaOpener.h"
#include "automation/HotKeys.h"
#include "document/Documents.h"
#include "marks/ABInterval.h"
#include "marks/BookmarkNavigator.h"
#include "marks/IntervalList.h"
#include "marks/IntervalSyntax.h"
#include "marks/TForm2.h"
#include "playback/MediaSession.h"

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

MainLifecycle::MainLifecycle(TForm1 &form, MediaSession &session, const Platform &platform, QStringList arguments)
    : m_form(form), m_session(session), m_platform(platform), m_scrollLock(platform.scrollLock),
      m_arguments(std::move(arguments))
{
}

void MainLifecycle::FormCreate()
{
    m_form.MPCHC = std::make_unique<TMPCHC>(m_platform.mpc, m_platform.clock, m_platform.messages);
    m_form.MPCHC->HostWindow = MpcSocketPath();
    m_form.EditNMPC->setText(m_form.MPCHC->PlayerPath);
    m_form.setAcceptDrops(true);
    m_form.move(0, 0);
    m_form.resize(1280, m_form.sizeHint().height());
    NormalClose = false;
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
    if (m_form.CheckBox8->isChecked()) m_parts->navigator.CheckBox8Click();

    if (++m_showCount != 1 || m_arguments.size() < 2) return;
    const QString media = m_arguments[1];
    if (!QFileInfo(media).isFile()) return;
    m_session.PendingMediaPath = media;
    m_session.SkipPreviousSave = true;
    m_parts->opener.OpenMediaFile();
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
    m_parts->intervals.CheckBox16Click();
    m_parts->ab.CheckBox7Click();
    m_parts->navigator.CheckBox8Click();

    if (sw.intervalListText && !sw.intervalListText->isEmpty()) {
        f.CheckBox15->setChecked(true);
        f.ListBoxAB->clear();
        f.ListBoxAB->addItems(CutIntervalList(*sw.intervalListText));
        f.CheckBox16->setChecked(true);
        m_parts->intervals.CheckBox16Click();
        f.CheckBox7->setChecked(true);
        m_parts->ab.CheckBox7Click();
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
    m_session.PendingMediaPath = paths.first();
    m_parts->opener.OpenMediaFile();
}

bool MainLifecycle::CommandLineNamesFile() const
{
    return m_arguments.size() >= 2 && QFileInfo(m_arguments[1]).isFile();
}

void MainLifecycle::FormCloseQuery()
{
    NormalClose = true;
    if (m_form.CheckBoxTrack->isChecked()) {
        m_form.CheckBoxTrack->setChecked(false);
        m_parts->zoom.CheckBoxTrackClick();
    }
    const bool externalText = m_form.NWord->isChecked();
    const Parts &p = *m_parts;
    if (!externalText) p.documents.CloseEmbeddedDocument();
    p.bookmarksWindow.close();
    p.text.visibleAtClose = p.text.isVisible() && !externalText;
    p.video.visibleAtClose = p.video.isVisible();
    p.speakers.visibleAtClose = p.speakers.isVisible();
}

void MainLifecycle::FormDestroy()
{
    // The light goes off with the program.
    if (m_scrollLock.available() && m_scrollLock.isOn()) m_scrollLock.pressAndRelease();
    m_form.MPCHC.reset();
}

void MainLifecycle::ApplicationEvents1Minimize()
{
    AppMinimized = true;
    m_form.hotKey(QStringLiteral("JvApplicationHotKey1")).active = false;
    hotKeysChanged();
}

void MainLifecycle::ApplicationEvents1Restore()
{
    leaveMinimized();
    m_form.hotKey(QStringLiteral("JvApplicationHotKey1")).active = true;
    hotKeysChanged();
}

// ESC, Space and Scroll Lock stay without effect for one lock-out after the program is
// restored, as they were while it was minimised.
void MainLifecycle::leaveMinimized()
{
    if (AppMinimized) m_form.TimerESC->start();
    AppMinimized = false;
}

void MainLifecycle::ApplicationEvents1Activate()
{
    if (m_events && m_events->isMinimized()) {
        AppMinimized = true;
        return;
    }
    leaveMinimized();
    if (m_parts && m_parts->text.isVisible() && !m_form.NWord->isChecked())
        m_parts->documents.RepaintEmbeddedDocument();
}

// The hot keys follow their switches; before the hot keys exist and after they are gone there
// is nothing registered to change.
void MainLifecycle::hotKeysChanged()
{
    if (m_parts) m_parts->hotKeys.sync();
}

void MainLifecycle::ApplicationEvents1Deactivate()
{
    if (m_events && m_events->isMinimized()) AppMinimized = true;
}

void MainLifecycle::connectApplicationEvents(ApplicationEvents &events)
{
    m_events = &events;
    QObject::connect(&events, &ApplicationEvents::minimized, [this] { ApplicationEvents1Minimize(); });
    QObject::connect(&events, &ApplicationEvents::restored, [this] { ApplicationEvents1Restore(); });
    QObject::connect(&events, &ApplicationEvents::activated, [this] { ApplicationEvents1Activate(); });
    QObject::connect(&events, &ApplicationEvents::deactivated, [this] { ApplicationEvents1Deactivate(); });
}
