#include "ProgramFixture.h"

#include "widgets/Controls.h"
#include "document/DocumentContainer.h"
#include "document/TFormOle.h"
#include "persist/MediaKey.h"
#include "platform/ApplicationEvents.h"
#include "marks/TForm2.h"
#include "playback/TFormWMP.h"
#include "windows/TForm5.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>
#include <utility>

namespace {

// The calls that reached the parts not built yet since the last look.
QStringList TakePendingCalls(Program &program) { return std::exchange(program.pending().calls, {}); }

// Counts the events of one type a widget receives.
class EventCounter : public QObject {
public:
    EventCounter(QObject *target, QEvent::Type type, int &count) : m_type(type), m_count(count)
    {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type) ++m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int &m_count;
};

} // namespace

TEST_F(ProgramTest, WindowsAreCreatedInOrderAndDestroyedInReverse)
{
    start();
    EXPECT_EQ(program->creationOrder(), QStringList({"Form1", "FormWMP", "FormOle", "Form2", "Form3", "Form4",
                                                     "FormHelp", "FormAbout", "Form5"}));
    // The speakers window's creation stopped and restarted the main tick and the refresh.
    EXPECT_TRUE(form().Timer1->isActive());
    EXPECT_TRUE(form().Timer2->isActive());
    EXPECT_TRUE(program->session().SkipPreviousSave);
    EXPECT_FALSE(program->session().VideoFlag);

    QStringList destroyed;
    for (QWidget *w : std::initializer_list<QWidget *>{program->Form1(), program->FormWMP(), program->FormOle(),
                                                       program->Form2(), program->Form5()}) {
        const QString name = w->objectName();
        QObject::connect(w, &QObject::destroyed, [&destroyed, name] { destroyed << name; });
    }
    program.reset();
    EXPECT_EQ(destroyed, QStringList({"Form5", "Form2", "FormOle", "FormWMP", "Form1"}));
}

TEST_F(ProgramTest, WorkingFolderIsCreatedOrReported)
{
    start();
    EXPECT_TRUE(QDir(home.filePath(QStringLiteral("AvtoSave"))).exists());
    EXPECT_TRUE(messages.errors.isEmpty());
    program.reset();

    // A folder that cannot be made (its parent is a file): a message, and the program goes on.
    const QString blocker = mediaFile(QStringLiteral("not-a-folder"));
    qputenv("STENOVA_HOME", (blocker + QStringLiteral("/home")).toUtf8());
    start({mediaFile()});
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0],
              QStringLiteral("Stenova|Cannot create ") + blocker + QStringLiteral("/home/AvtoSave"));
    form().show();
    EXPECT_FALSE(program->session().CurrentMediaPath.isEmpty());
}

TEST_F(ProgramTest, CommandLineIsAppliedInOrderOnFirstShow)
{
    const QString media = mediaFile();
    start({media, "/l", "/p", "/b", "2", "/b#", "/r", "1", "/t", "90", "/ab", "0.0-10.0;20.0-30.5"});
    TakePendingCalls(*program);
    form().show();

    EXPECT_EQ(program->session().CurrentMediaPath, media);
    EXPECT_TRUE(program->session().PendingMediaPath.isEmpty());
    EXPECT_FALSE(program->session().SkipPreviousSave);
    for (QCheckBox *box : {form().CheckBox6, form().CheckBox13, form().CheckBox8, form().CheckBox10, form().CheckBox7,
                           form().CheckBox15, form().CheckBox16})
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_EQ(form().UpDown6->position(), 2);
    EXPECT_EQ(form().UpDown7->position(), 1);
    ASSERT_EQ(form().ListBoxAB->count(), 2);
    EXPECT_EQ(form().ListBoxAB->item(1)->text(), "20.0-30.5");
    // The list mode took the first item as the AB interval.
    EXPECT_EQ(form().ListBoxAB->currentRow(), 0);
    EXPECT_EQ(form().MaskEdit1->text(), "00:00:00.000");
    EXPECT_EQ(form().MaskEdit2->text(), "00:00:10.000");
    EXPECT_FALSE(form().SpeedButton13->isEnabled());
    EXPECT_TRUE(form().SpeedButton12->isEnabled());
    EXPECT_TRUE(TakePendingCalls(*program).isEmpty());
    // The loop handlers ran after the counts were set: the counts are armed.
    EXPECT_EQ(program->loop().BookmarkRepeatsLeft, 2);
    EXPECT_EQ(program->loop().ABRepeatsLeft, 1);
    // No bookmarks: the segment is the file, cut at the end of the interval.
    EXPECT_EQ(form().MaskEdit3->text(), "00:00:00.000");
    EXPECT_EQ(form().MaskEdit4->text(), "00:00:10.000");

    // The start position is sought as a user seek one second after the show.
    EXPECT_TRUE(form().TimerGoto->isActive());
    EXPECT_EQ(form().TimerGoto->tag, 90000);
    form().TrackBar1->setMaximum(200000);
    clock.advance(999);
    EXPECT_EQ(form().TrackBar1->value(), 0);
    clock.advance(1);
    EXPECT_EQ(form().TrackBar1->value(), 90000);
    EXPECT_EQ(form().TrackBar1->tag, SeekUser);
    EXPECT_FALSE(form().TimerGoto->isActive());
}

TEST_F(ProgramTest, AbsentSwitchesClearRestoredLoopBoxes)
{
    start({mediaFile(), "/L", "/b", "-1", "/r", "x", "/t", "abc"});
    // As if the media settings file had switched every loop on.
    for (QCheckBox *box : {form().CheckBox6, form().CheckBox13, form().CheckBox8, form().CheckBox10, form().CheckBox7})
        box->setChecked(true);
    form().UpDown6->setPosition(5);
    form().show();
    for (QCheckBox *box : {form().CheckBox6, form().CheckBox13, form().CheckBox8, form().CheckBox10, form().CheckBox7})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_EQ(form().UpDown6->position(), 5); // a count not given leaves the up-down alone
    EXPECT_EQ(form().TimerGoto->tag, 0);      // an unreadable start time seeks to the start
    EXPECT_TRUE(form().TimerGoto->isActive());
}

TEST_F(ProgramTest, CommandLineWithoutExistingFileIsIgnoredWhole)
{
    for (const QStringList &args : {QStringList{"/l", "/b", "3"}, QStringList{home.filePath("missing.wav"), "/l"},
                                    QStringList{home.path(), "/l"}, QStringList{}}) {
        start(args);
        form().CheckBox7->setChecked(true);
        form().show();
        EXPECT_TRUE(program->session().CurrentMediaPath.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(form().CheckBox6->isChecked());
        EXPECT_TRUE(form().CheckBox7->isChecked());
        EXPECT_FALSE(form().TimerGoto->isActive());
        program.reset();
    }
}

TEST_F(ProgramTest, ScrollLockFollowsTheBetweenBookmarksLoopOnEveryShow)
{
    start({mediaFile(), "/b", "0"});
    scrollLock.on = true;
    form().show();
    // Off when the window shows (the loop is still off), on when the command line switches
    // the loop on.
    EXPECT_EQ(scrollLock.presses, 2);
    EXPECT_TRUE(scrollLock.on);
    EXPECT_TRUE(form().CheckBox8->isChecked());

    const QString opened = program->session().CurrentMediaPath;
    program->session().CurrentMediaPath.clear();
    form().hide();
    scrollLock.on = false; // changed behind the program's back
    form().show();         // the second show syncs the light but leaves the command line alone
    EXPECT_TRUE(scrollLock.on);
    EXPECT_EQ(scrollLock.presses, 3);
    EXPECT_TRUE(program->session().CurrentMediaPath.isEmpty());
    EXPECT_FALSE(opened.isEmpty());

    form().hide();
    form().show(); // already in step: no press
    EXPECT_EQ(scrollLock.presses, 3);

    program.reset(); // the light goes off with the program
    EXPECT_FALSE(scrollLock.on);
    EXPECT_EQ(scrollLock.presses, 4);
}

TEST_F(ProgramTest, DroppedFilesOpenOnlyTheFirstExistingFile)
{
    start();
    TakePendingCalls(*program);
    const auto drop = [this](const QStringList &paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &p : paths) urls << QUrl::fromLocalFile(p);
        mime.setUrls(urls);
        // As the window system delivers a drag: it must be accepted on entering.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form(), &drop);
    };
    drop({home.filePath("missing.wav"), mediaFile("b.wav")});
    drop({home.path()});
    EXPECT_TRUE(TakePendingCalls(*program).isEmpty());
    EXPECT_TRUE(program->session().CurrentMediaPath.isEmpty());

    const QString first = mediaFile("a.wav");
    drop({first, mediaFile("b.wav"), mediaFile("c.wav")});
    EXPECT_EQ(program->FormOle()->windowTitle(), QFileInfo(MakeMediaKey(first)).completeBaseName() + ".ole");
    EXPECT_EQ(program->session().CurrentMediaPath, first);
    EXPECT_FALSE(program->session().SkipPreviousSave); // the previous file's state is saved as usual
}

TEST_F(ProgramTest, ApplicationEventsTrackMinimisedState)
{
    start();
    form().show();
    TakePendingCalls(*program);
    GlobalHotKey &speaker1 = form().hotKey(QStringLiteral("JvApplicationHotKey1"));

    form().setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(program->lifecycle().AppMinimized);
    EXPECT_FALSE(speaker1.active);
    emit program->applicationEvents().activated(); // activated while minimised
    EXPECT_TRUE(program->lifecycle().AppMinimized);
    EXPECT_TRUE(form().hotKey(QStringLiteral("JvApplicationHotKey2")).active);

    form().setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(program->lifecycle().AppMinimized);
    EXPECT_TRUE(speaker1.active);
    emit program->applicationEvents().deactivated();
    EXPECT_FALSE(program->lifecycle().AppMinimized);

    // Activation repaints the embedded document only while it is in use and shown.
    QWidget *page = program->FormOle()->OleContainer1->viewport();
    int paints = 0;
    EventCounter counter(page, QEvent::Paint, paints);
    program->FormOle()->hide();
    emit program->applicationEvents().activated();
    QCoreApplication::processEvents();
    EXPECT_EQ(paints, 0);
    program->FormOle()->show();
    QCoreApplication::processEvents();
    paints = 0;
    emit program->applicationEvents().activated();
    QCoreApplication::processEvents();
    EXPECT_EQ(paints, 1);
    form().NWord->setChecked(true);
    emit program->applicationEvents().activated();
    QCoreApplication::processEvents();
    EXPECT_EQ(paints, 1);
    EXPECT_TRUE(TakePendingCalls(*program).isEmpty());
}

TEST_F(ProgramTest, CloseQueryRecordsVisibilityAndClosesDocumentAndBookmarks)
{
    start();
    openMedia();
    form().show();
    form().MaskEdit1->setText(QStringLiteral("00:00:10.000"));
    form().MaskEdit2->setText(QStringLiteral("00:00:20.000"));
    form().CheckBoxTrack->setChecked(true);
    ASSERT_EQ(form().TrackBar1->minimum(), 10000);
    TakePendingCalls(*program);
    program->FormOle()->show();
    program->Form2()->show();
    program->FormWMP()->hide();
    program->Form5()->show();

    DocumentContainer &document = *program->FormOle()->OleContainer1;
    ASSERT_EQ(document.state(), DocumentContainer::State::ActiveInPlace);

    form().close();
    EXPECT_TRUE(program->lifecycle().NormalClose);
    // The zoom is off, so that the position and the letters are saved for the whole file.
    EXPECT_FALSE(form().CheckBoxTrack->isChecked());
    EXPECT_EQ(form().TrackBar1->minimum(), 0);
    EXPECT_EQ(form().TrackBar1->maximum(), 59999);
    EXPECT_FALSE(form().CheckBoxTrack->font().bold());
    EXPECT_EQ(document.state(), DocumentContainer::State::Loaded);
    EXPECT_FALSE(program->Form2()->isVisible());
    EXPECT_TRUE(program->FormOle()->visibleAtClose);
    EXPECT_FALSE(program->FormWMP()->visibleAtClose);
    EXPECT_TRUE(program->Form5()->visibleAtClose);

    // With the external document the embedded one is left alone and counts as hidden.
    form().NWord->setChecked(true);
    document.DoVerb(DocumentContainer::PrimaryVerb);
    TakePendingCalls(*program);
    form().show();
    form().TrackBar1->setRange(0, 1234); // a zoom switched off again would reset it
    form().close();
    EXPECT_EQ(form().TrackBar1->maximum(), 1234);
    EXPECT_TRUE(TakePendingCalls(*program).isEmpty());
    EXPECT_EQ(document.state(), DocumentContainer::State::ActiveInPlace);
    EXPECT_FALSE(program->FormOle()->visibleAtClose);
}

// Every interface between the parts of the program is served by its implementation: none is
// left to the stand-in.
TEST_F(ProgramTest, EveryInterfaceIsServedByItsImplementation)
{
    start();
    EXPECT_EQ(program->pendingInterfaces(), QStringList());
    // Start-up asked the stand-in for nothing.
    EXPECT_TRUE(TakePendingCalls(*program).isEmpty());
}

TEST_F(ProgramTest, RelativePathOnTheCommandLineIsRecordedAbsolute)
{
    const QString file = mediaFile(QStringLiteral("talk.wav"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(home.path());
    start({QStringLiteral("talk.wav")});
    form().show();
    QDir::setCurrent(previous);
    EXPECT_EQ(program->session().CurrentMediaPath, file);
    EXPECT_EQ(form().NH[0]->text(), "&0. " + file);
}
