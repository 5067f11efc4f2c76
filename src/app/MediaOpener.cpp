#include "app/MediaOpener.h"

#include "widgets/BusyCursor.h"

#include "document/Documents.h"
#include "marks/BookmarkNavigator.h"
#include "marks/IntervalList.h"
#include "persist/Settings.h"
#include "playback/MediaSession.h"
#include "platform/Logging.h"
#include "base/MediaTime.h"
#include "forms/TForm1.h"
#include "document/DocumentContainer.h"
#include "document/TFormOle.h"
#include "app/MediaSettingsFile.h"
#include "persist/IniFile.h"
#include "persist/MediaKey.h"
#include "platform/Clock.h"
#include "platform/UserMessages.h"
#include "playback/Engines.h"
#include "playback/TFormWMP.h"
#include "playback/TMPCHC.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QStatusBar>

namespace {

const char *const LoadingCaption = "  !!! ЖДИТЕ. ИДЕТ ЗАГРУЗКА ФАЙЛОВ !!!  ";
const char *const MissingFileTitle = "Ошибка существования файла!";

bool FileExists(const QString &path) { return QFileInfo(path).isFile(); }

QString Extension(const QString &path)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

} // namespace

MediaOpener::MediaOpener(TForm1 &form, MediaSession &session, PlayerFacade &player, MciPlayer &mci, WmpPlayer &wmp,
                         Clock &clock, UserMessages &messages, const Parts &parts)
    : m_form(form), m_session(session), m_player(player), m_mci(mci), m_wmp(wmp), m_clock(clock), m_messages(messages),
      m_parts(parts)
{
    for (QAction *item : m_form.NH)
        QObject::connect(item, &QAction::triggered, item, [this, item] { RecentItemClick(item); });
}

Engine MediaOpener::ChooseEngine(bool mpcMode, int filterIndex, std::optional<bool> settingsVideo,
                                 const QString &extension)
{
    if (mpcMode) return Engine::Mpc;
    if (filterIndex == AllInVideoFilter) return Engine::Wmp;
    if (settingsVideo) return *settingsVideo ? Engine::Wmp : Engine::Mci;
    return extension == QLatin1String(".wav") ? Engine::Mci : Engine::Wmp;
}

QString MediaOpener::GroupCaption(const QString &path)
{
    QString caption = QStringLiteral(" Файл: ") + path + u' ';
    if (caption.size() <= 93) return caption;
    return caption.left(32) + QStringLiteral(" ... ") + caption.right(72);
}

void MediaOpener::OpenMediaFile()
{
    TForm1 &f = m_form;
    MediaSession &st = m_session;
    // The waits for the engine let the user's keys and menus run: an open asked for meanwhile
    // would mix two files' state.
    if (st.Opening) {
        f.StatusBar1->showMessage(QStringLiteral("Файл ещё открывается: новое открытие не начато."), 5000);
        return;
    }
    if (f.CheckBoxTrack->isChecked()) {
        f.CheckBoxTrack->setChecked(false);
        m_parts.zoom.CheckBoxTrackClick();
    }

    QString path;
    if (!st.PendingMediaPath.isEmpty()) {
        path = st.PendingMediaPath;
        st.PendingMediaPath.clear();
        if (!FileExists(path)) {
            m_messages.error(QString::fromUtf8(MissingFileTitle), QStringLiteral("Файл: ") + path);
            return;
        }
    } else {
        path = m_messages.openFile(f.OpenDialog1, QFileInfo(st.CurrentMediaPath).path());
        if (path.isEmpty()) return;
    }
    if (!FileExists(path)) {
        m_messages.error(QString::fromUtf8(MissingFileTitle),
                         QStringLiteral("Файл: ") + path + QStringLiteral(" (возможно недопустимые символы в нем)"));
        st.PendingMediaPath.clear();
        return;
    }
    // A path relative to the current folder would name another file once the folder changes.
    path = QFileInfo(path).absoluteFilePath();
    AddRecentFile(path);
    BusyCursor busy;
    f.repaint();
    st.Opening = true;
    const auto done = qScopeGuard([&st] { st.Opening = false; });

    // What belongs to the file being left is saved before anything of it is released: a save
    // that fails leaves the program on that file as it was, its text in the window.
    const QString leaving = st.SkipPreviousSave ? QString() : st.CurrentMediaPath;
    const auto refused = [&f] {
        // The failure itself was said once, in its message; each refused open says why here.
        f.StatusBar1->showMessage(QStringLiteral("Другой файл не открыт: не удаётся сохранить работу над этим."));
    };
    if (!leaving.isEmpty() && f.NZkl->isChecked() && !m_parts.mediaSettings.SaveToINIVideo(leaving)) return refused();
    const bool perFileText = f.N15->isChecked() && !f.NWord->isChecked();
    // Without the settings saved per file, the document's key is still claimed for this
    // recording (and its engine kept), so that another recording of the same name is told apart.
    if (!leaving.isEmpty() && perFileText && !f.NZkl->isChecked())
        IniFile::Update(
            MediaSettingsFile::PathFor(leaving), QStringLiteral("MAIN"),
            {{QStringLiteral("Файл:"), leaving}, {QStringLiteral("Video"), QString::number(int(st.VideoFlag))}});
    if (perFileText && !m_parts.documents.SaveLeavingDocument(leaving)) return refused();

    // Release the previous file in the engine that plays it.
    switch (m_player.ActiveEngine()) {
    case Engine::Mpc: f.MPCHC->Stop(); break;
    case Engine::Wmp: m_wmp.stop(); break;
    case Engine::Mci: {
        const TMPModes mode = m_mci.Mode();
        if (mode != mpStopped && mode != mpNotReady && !st.CurrentMediaPath.isEmpty()) m_mci.Close();
        break;
    }
    }
    // Every open shows the opened file's own text, whatever came before it.
    if (perFileText) m_parts.documents.LoadMediaDocument(path);
    st.SkipPreviousSave = false;

    const std::optional<bool> settingsVideo = m_parts.mediaSettings.LoadFromINIVideo(path);
    const Engine engine = ChooseEngine(f.NMPC->isChecked(), f.OpenDialog1.filterIndex, settingsVideo, Extension(path));
    st.VideoFlag = engine != Engine::Mci;
    f.MediaPlayer1->setVisible(engine == Engine::Mci);
    f.MediaPlayer2->setVisible(engine != Engine::Mci);
    if (engine == Engine::Mci) m_parts.video.hide();
    else if (engine == Engine::Wmp && m_parts.video.isVisible()) m_parts.video.raise();
    if (!f.NWord->isChecked()) m_parts.documents.RepaintEmbeddedDocument();

    const QString loading = QString::fromUtf8(LoadingCaption);
    f.GroupBox2->setTitle(loading);
    m_parts.text.setWindowTitle(loading);
    m_parts.video.setWindowTitle(loading);
    f.repaint();
    m_parts.navigator.ResetBookmarkNumbering();
    f.TrackBar1->setValue(0);
    st.CurrentMediaPath = path;

    qCDebug(lcApp) << "opening" << path << "in engine" << static_cast<int>(engine);
    const bool opened = openInEngine(engine, path);
    if (!opened) {
        clearRecording(perFileText);
        return;
    }
    const QString key = MakeMediaKey(path);
    f.GroupBox2->setTitle(GroupCaption(path));
    m_parts.text.setWindowTitle(QFileInfo(key).completeBaseName() + QStringLiteral(".ole"));
    m_parts.video.setWindowTitle(key);

    const int length = m_player.LengthMs();
    if (engine == Engine::Mpc) f.MPCHC->Pause();
    else if (engine == Engine::Wmp) m_wmp.pause();
    m_clock.processEvents();
    f.Label5->setText(MsToTimeText(length));
    f.TrackBar1->setRange(0, std::max(0, length - 1));
    f.TrackBar1->tag = SeekUser;
    f.TrackBar1->setValue(0);

    m_parts.navigator.DeleteAllBookmarks();
    for (int i = 0; i < f.MarkImages.size(); ++i) f.MarkImages[i].visible = false;
    f.Panel3->update();
    if (f.NZkl->isChecked()) m_parts.mediaSettings.LoadFromINIMedia(path);
    if (f.CheckBox8->isChecked()) m_parts.navigator.CheckBox8Click();
    f.CheckBoxTrack->setChecked(false);
    m_parts.mediaSettings.markSaved(path);
}

// A file the engine could not open leaves the program on no file, with nothing of the file
// before it that a later save could write under another name.
void MediaOpener::clearRecording(bool perFileText)
{
    TForm1 &f = m_form;
    m_session.CurrentMediaPath.clear();
    if (perFileText) m_parts.documents.LoadNoDocument();
    m_parts.navigator.DeleteAllBookmarks();
    for (int i = 0; i < f.MarkImages.size(); ++i) f.MarkImages[i].visible = false;
    f.Panel3->update();
    f.CheckBox16->setChecked(false);
    f.ListBoxAB->clear();
    f.MaskEdit1->setText(MsToTimeText(0));
    f.MaskEdit2->setText(MsToTimeText(0));
    f.Label5->setText(MsToTimeText(0));
    f.TrackBar1->tag = SeekDisplay;
    f.TrackBar1->setRange(0, 0);
    f.GroupBox2->setTitle(QStringLiteral(" Звуковой файл "));
    m_parts.text.setWindowTitle(QStringLiteral("Текст"));
    m_parts.video.setWindowTitle(QString());
}

bool MediaOpener::openInEngine(Engine engine, const QString &path)
{
    switch (engine) {
    case Engine::Mpc: {
        TMPCHC &mpc = *m_form.MPCHC;
        mpc.DurationSec = 0;
        if (mpc.OpenInPlayer(path) != 0) {
            openFailed(path, QStringLiteral("проигрыватель mpv не запущен"));
            return false;
        }
        // Reports come through the event loop, so the waits process events.
        for (int i = 0; i < 2000 && mpc.LoadState == 1; ++i) {
            m_clock.sleepMs(10);
            m_clock.processEvents();
        }
        mpc.Play();
        mpc.Pause();
        for (int i = 0; i < 2000 && mpc.DurationSec < 1 && mpc.LoadState != 0; ++i) {
            m_clock.sleepMs(10);
            m_clock.processEvents();
        }
        if (mpc.LoadState != 0) return true;
        openFailed(path, QStringLiteral("проигрыватель mpv не смог его прочитать"));
        return false;
    }
    case Engine::Wmp: {
        m_wmp.setURL(path);
        m_wmp.play();
        m_wmp.pause();
        for (int i = 0; i < 1000; ++i) {
            if (m_wmp.duration() >= 1 || m_wmp.playState() == wmppsPaused || !m_wmp.lastError().isEmpty()) break;
            m_clock.sleepMs(10);
            m_clock.processEvents();
        }
        if (m_wmp.lastError().isEmpty()) return true;
        openFailed(path, m_wmp.lastError());
        return false;
    }
    case Engine::Mci: {
        QString error;
        if (m_mci.Open(path, &error)) return true;
        openFailed(path, error);
        return false;
    }
    }
    return false;
}

void MediaOpener::openFailed(const QString &path, const QString &reason)
{
    qCWarning(lcApp) << "cannot open" << path << ':' << reason;
    m_messages.standardError(QStringLiteral("Не удалось открыть файл: ") + path + u'\n' + reason);
}

void MediaOpener::AddRecentFile(const QString &path)
{
    QStringList entries;
    for (QAction *item : m_form.NH) entries << (item->text().size() < 4 ? QString() : item->text().mid(4));
    // Case differences alone do not make a new entry.
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].compare(path, Qt::CaseInsensitive) == 0) {
            entries.removeAt(i);
            break;
        }
    }
    entries.prepend(path);
    for (int i = 0; i < 10; ++i) {
        // An item without a path keeps a caption shorter than four characters.
        const QString &entry = entries[i];
        m_form.NH[i]->setText(entry.isEmpty() ? QStringLiteral("%1. ").arg(i) : QStringLiteral("&%1. ").arg(i) + entry);
    }
}

void MediaOpener::RecentItemClick(QAction *item)
{
    const QString caption = item->text();
    const QString path = caption.size() < 4 ? QString() : TrimControlChars(caption.mid(4));
    m_session.PendingMediaPath = path;
    // An item without a path opens nothing (not the open dialog).
    if (!path.isEmpty()) OpenMediaFile();
}
