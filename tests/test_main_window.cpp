#include "ProgramFixture.h"

#include "widgets/Controls.h"
#include "playback/MediaButtonBar.h"
#include "windows/InfoWindows.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTextBrowser>
#include <QToolButton>
#include <QPushButton>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>

namespace {

QStringList ActionNames(const QMenu *menu)
{
    QStringList names;
    for (const QAction *a : menu->actions()) names << a->objectName();
    return names;
}

void TypeKey(QWidget *w, int key, const QString &text, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &press);
}

} // namespace

TEST_F(ProgramTest, FirstStartShowsEveryDefault)
{
    start();
    TForm1 &f = form();
    EXPECT_EQ(f.windowTitle(), "Программа для набора текста со звуковых и видеофайлов");
    // Auto-pause off with 8, 4 and 1 seconds, "пауза" selected: the window is made with a
    // period of 40 and the first start's settings say 8.
    EXPECT_FALSE(f.CheckBox1->isChecked());
    EXPECT_EQ(f.Edit2->text(), "8");
    EXPECT_EQ(f.Edit3->text(), "4");
    EXPECT_EQ(f.Edit4->text(), "1");
    EXPECT_TRUE(f.RadioButton2->isChecked());
    EXPECT_FALSE(f.RadioButton1->isChecked());
    // The step back on, ESC control on without its own step back.
    EXPECT_TRUE(f.CheckBox2->isChecked());
    EXPECT_TRUE(f.CheckBox3->isChecked());
    EXPECT_FALSE(f.CheckBox4->isChecked());
    EXPECT_EQ(f.Edit5->text(), "1");
    for (QCheckBox *c : {f.CheckBox4, f.CheckBox5, f.CheckBox12, f.CheckBox11, f.CheckBox9, f.CheckBox14, f.CheckBox16,
                         f.CheckBoxTrack})
        EXPECT_FALSE(c->isChecked()) << c->objectName().toStdString();
    // Loops off with counts 0, N = 2, step 1 second; the dependent boxes disabled.
    for (QCheckBox *c : {f.CheckBox6, f.CheckBox13, f.CheckBox7, f.CheckBox8, f.CheckBox10, f.CheckBox15})
        EXPECT_FALSE(c->isChecked()) << c->objectName().toStdString();
    EXPECT_FALSE(f.CheckBox10->isEnabled());
    EXPECT_FALSE(f.CheckBox15->isEnabled());
    EXPECT_FALSE(f.SpeedButton12->isEnabled());
    EXPECT_EQ(f.Edit6->text(), "0");
    EXPECT_EQ(f.Edit7->text(), "0");
    EXPECT_EQ(f.Edit8->text(), "2");
    EXPECT_EQ(f.Edit1->text(), "1");
    // Ranges of the up-downs.
    const std::pair<UpDown *, std::pair<int, int>> ranges[] = {
        {f.UpDown1, {1, 10000}}, {f.UpDown2, {0, 1000}}, {f.UpDown3, {0, 1000}}, {f.UpDown4, {0, 1000}},
        {f.UpDown5, {0, 1000}},  {f.UpDown6, {0, 100}},  {f.UpDown7, {0, 100}},  {f.UpDown8, {1, 100}}};
    for (const auto &[u, range] : ranges) {
        EXPECT_EQ(u->minimum(), range.first) << u->objectName().toStdString();
        EXPECT_EQ(u->maximum(), range.second) << u->objectName().toStdString();
    }
    // Before any file is open the position bar spans 0 … 100000 at 0, tagged for display.
    EXPECT_EQ(f.TrackBar1->minimum(), 0);
    EXPECT_EQ(f.TrackBar1->maximum(), 100000);
    EXPECT_EQ(f.TrackBar1->value(), 0);
    EXPECT_EQ(f.TrackBar1->tag, SeekDisplay);
    EXPECT_EQ(f.TrackBarVolume->maximum(), 100);
    EXPECT_EQ(f.TrackBar3->maximum(), 10);
    EXPECT_FALSE(f.TrackBar2->isEnabled());
    for (QLineEdit *e : {f.MaskEdit1, f.MaskEdit2, f.MaskEdit3, f.MaskEdit4})
        EXPECT_EQ(e->text(), "00:00:00.000") << e->objectName().toStdString();
    EXPECT_EQ(f.Label1->text(), "00:00:00");
    EXPECT_EQ(f.Label11->text(), "000");
    EXPECT_EQ(f.Label5->text(), "00:00:00.000");
    EXPECT_EQ(f.LabelVolProz->text(), "0%");
    EXPECT_EQ(f.EditNMPC->text(), "/usr/bin/mpv");
    EXPECT_EQ(f.Memo1->document()->blockCount(), 4);
    EXPECT_TRUE(f.Memo1->isReadOnly());
    for (QAction *a : {f.NZkl, f.N20, f.N15, f.NWord, f.NMPC}) EXPECT_TRUE(a->isCheckable());
    for (QAction *a : {f.NZkl, f.N20, f.N15}) EXPECT_TRUE(a->isChecked()) << a->objectName().toStdString();
    for (QAction *a : {f.NWord, f.NMPC}) EXPECT_FALSE(a->isChecked()) << a->objectName().toStdString();
    // Latin "c" in two captions, as the settings file repeats it.
    EXPECT_EQ(f.CheckBox3->text(), QStringLiteral("Стоп и cтарт по [ESC] )"));
    EXPECT_TRUE(f.CheckBox12->text().startsWith(QStringLiteral("и c")));
    EXPECT_NE(f.CheckBox12->text(), QStringLiteral("и стоп по пробелу"));
    EXPECT_TRUE(f.MarkImages[999].left == -50 && !f.MarkImages[999].visible);
}

TEST_F(ProgramTest, TimersAtCreation)
{
    start();
    struct Expected {
        const char *name;
        int interval;
        bool running;
    };
    const Expected expected[] = {{"Timer1", 10, true},
                                 {"Timer2", 100, true},
                                 {"TimerAvtoSave", 180000, true},
                                 {"TimerPeriod", 8000, false},
                                 {"TimerPause", 4000, false},
                                 {"TimerESC", 330, false},
                                 {"TimerJvCaptionButton", 20, false},
                                 {"TimerZk", 70, false},
                                 {"TimerInt", 70, false},
                                 {"TimerHotKey", 1, false},
                                 {"TimerRunHotKey", 50, false},
                                 {"TimerPlayNoRefrN", 250, false},
                                 {"TimerGoto", 1000, false}};
    const auto timers = form().timers();
    ASSERT_EQ(timers.size(), std::size(expected));
    for (size_t i = 0; i < timers.size(); ++i) {
        EXPECT_EQ(timers[i]->name(), expected[i].name);
        EXPECT_EQ(timers[i]->interval(), expected[i].interval) << expected[i].name;
        EXPECT_EQ(timers[i]->isActive(), expected[i].running) << expected[i].name;
    }
}

TEST_F(ProgramTest, EveryHotKeyWithItsCombination)
{
    start();
    QSet<QString> names;
    for (const GlobalHotKey &k : form().hotKeys) {
        names.insert(k.name);
        EXPECT_TRUE(k.active) << k.name.toStdString();
    }
    EXPECT_EQ(names.size(), 22);
    const auto combo = [this](const char *name) {
        const GlobalHotKey &k = form().hotKey(QLatin1String(name));
        return std::pair(k.modifiers, k.virtualKey);
    };
    EXPECT_EQ(combo("JvApplicationHotKey1"), std::pair(unsigned(ModCtrl | ModShift), 0x31));
    EXPECT_EQ(combo("JvApplicationHotKey9"), std::pair(unsigned(ModCtrl | ModShift), 0x39));
    EXPECT_EQ(combo("JvApplicationHotKey0"), std::pair(unsigned(ModCtrl | ModShift), 0x30));
    EXPECT_EQ(combo("JvApplicationHotKeyF11"), std::pair(unsigned(ModCtrl | ModShift), 0x7A));
    EXPECT_EQ(combo("JvApplicationHotKeyA"), std::pair(unsigned(ModCtrl | ModShift), 219));
    EXPECT_EQ(combo("JvApplicationHotKeyB"), std::pair(unsigned(ModCtrl | ModShift), 221));
    EXPECT_EQ(combo("JvApplicationHotKeyG"), std::pair(unsigned(ModCtrl | ModAlt), 0x47));
    EXPECT_EQ(combo("HotKeySlower"), std::pair(unsigned(ModCtrl | ModAlt), 189)); // "-"
    EXPECT_EQ(combo("HotKeyFaster"), std::pair(unsigned(ModCtrl | ModAlt), 187)); // "="
    EXPECT_EQ(combo("JvApplicationHotKeyDown"), std::pair(unsigned(ModCtrl | ModAlt), 0x28));
    EXPECT_THROW(form().hotKey(QStringLiteral("JvApplicationHotKeyZ")), std::out_of_range);
}

TEST_F(ProgramTest, MenusInOrderWithShortcuts)
{
    start();
    TForm1 &f = form();
    QStringList top;
    for (QAction *a : f.menuBar()->actions()) top << a->text();
    EXPECT_EQ(top, QStringList({"&Файл", "&Текст", "&Действия", "&Настройки", "&Справка"}));
    EXPECT_EQ(ActionNames(f.N1), QStringList({"MP31", "N3", "N7", "NSet", "N13", "NH0", "NH1", "NH2", "NH3", "NH4",
                                              "NH5", "NH6", "NH7", "NH8", "NH9", "N14", "N5"}));
    EXPECT_FALSE(f.NSet->isVisible());
    EXPECT_EQ(ActionNames(f.N4), QStringList({"N21", "N24", "N12", "N27", "N16", "N22", "N23", "N26", "N231", "N232",
                                              "N233", "N234", "N235", "N236", "N237", "N238", "N239"}));
    EXPECT_EQ(f.N16->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+G")));
    EXPECT_EQ(f.N23->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+0")));
    EXPECT_EQ(f.N23x[0]->text(), "Участник&1: "); // as the settings load leaves it
    EXPECT_EQ(f.N23x[1]->text(), "Участник&2: ");
    EXPECT_EQ(f.N23x[8]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+9")));
    EXPECT_EQ(ActionNames(f.N11),
              QStringList({"N20", "N18", "N15", "NWord", "N25", "NMPC", "NHotKeysSeparator", "NHotKeys", "NPedals"}));
    EXPECT_EQ(ActionNames(f.PopupMenuAB),
              QStringList({"AB1", "AB2", "N34", "N36", "N28", "N29", "N30", "N31", "N32", "N33", "N35", "A1"}));
    EXPECT_EQ(f.AB1->shortcut(), QKeySequence(QStringLiteral("Ctrl+=")));
    EXPECT_EQ(f.N33->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Del")));
    // Check items tick themselves when chosen.
    f.NMPC->trigger();
    EXPECT_TRUE(f.NMPC->isChecked());
    EXPECT_EQ(f.OpenDialog1.filters.size(), 5);
    EXPECT_EQ(f.OpenDialog1.filterIndex, 2);
}

TEST_F(ProgramTest, EveryControlHasANameForAssistiveTechnology)
{
    start();
    form().show();
    int checked = 0;
    for (QWidget *w : form().findChildren<QWidget *>()) {
        const bool control = qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSlider *>(w) ||
                             qobject_cast<QAbstractButton *>(w) || qobject_cast<QListWidget *>(w) ||
                             qobject_cast<QPlainTextEdit *>(w) || qobject_cast<UpDown *>(w) ||
                             qobject_cast<QAbstractSpinBox *>(w);
        // Scroll bars belong to their scroll area; the arrows to their up-down, the edit to its
        // spin box.
        if (!control || !w->isVisibleTo(&form()) || qobject_cast<UpDown *>(w->parentWidget()) ||
            qobject_cast<QAbstractSpinBox *>(w->parentWidget()) || qobject_cast<QScrollBar *>(w))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(iface, nullptr);
        EXPECT_FALSE(iface->text(QAccessible::Name).trimmed().isEmpty())
            << w->metaObject()->className() << " " << w->objectName().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

TEST_F(ProgramTest, CountEditsTakeDigitsAndBackspaceOnly)
{
    start();
    QLineEdit *e = form().Edit6;
    e->clear();
    TypeKey(e, Qt::Key_4, QStringLiteral("4"));
    TypeKey(e, Qt::Key_A, QStringLiteral("a"));
    TypeKey(e, Qt::Key_Minus, QStringLiteral("-"));
    TypeKey(e, Qt::Key_Return, QStringLiteral("\r"));
    TypeKey(e, Qt::Key_2, QStringLiteral("2"));
    EXPECT_EQ(e->text(), "42");
    TypeKey(e, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(e->text(), "4");
    // The up-down reads the edit, clamped to its range.
    EXPECT_EQ(form().UpDown6->position(), 4);
    e->setText(QStringLiteral("500"));
    EXPECT_EQ(form().UpDown6->position(), 100);
    form().UpDown6->setPosition(-3);
    EXPECT_EQ(e->text(), "0");
    // The auto-pause edits take digits only too (and only while the auto-pause is on).
    EXPECT_FALSE(form().Edit2->isEnabled());
    form().CheckBox1->setChecked(true);
    form().Edit2->clear();
    TypeKey(form().Edit2, Qt::Key_A, QStringLiteral("a"));
    TypeKey(form().Edit2, Qt::Key_7, QStringLiteral("7"));
    EXPECT_EQ(form().Edit2->text(), "7");
    // So does the ESC step, editable only while ESC control is on.
    form().CheckBox3->setChecked(false);
    EXPECT_FALSE(form().Edit5->isEnabled());
    EXPECT_FALSE(form().CheckBox4->isEnabled());
    form().CheckBox3->setChecked(true);
    EXPECT_TRUE(form().Edit5->isEnabled());
    form().Edit5->clear();
    TypeKey(form().Edit5, Qt::Key_A, QStringLiteral("a"));
    TypeKey(form().Edit5, Qt::Key_3, QStringLiteral("3"));
    EXPECT_EQ(form().Edit5->text(), "3");
}

TEST_F(ProgramTest, PositionBarNeverKeepsTheFocusAndBackgroundClickDropsIt)
{
    start();
    form().show();
    form().activateWindow();
    QApplication::setActiveWindow(&form());
    form().Edit1->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form().Edit1->hasFocus());

    QMouseEvent click(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(form().GroupBox3, &click);
    EXPECT_FALSE(form().Edit1->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), &form());

    form().TrackBar1->setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(form().TrackBar1->hasFocus());
}

TEST_F(ProgramTest, HelpAboutAndDonationWindowsShowFromTheMenu)
{
    start();
    form().N19->trigger();
    EXPECT_TRUE(program->FormHelp()->isVisible());
    EXPECT_TRUE(program->FormHelp()->text->toPlainText().contains(QStringLiteral("[ESC]")));
    form().N17->trigger();
    EXPECT_TRUE(program->FormAbout()->isVisible());
    EXPECT_TRUE(program->FormAbout()->text->toPlainText().contains(QStringLiteral("Версия 1.7")));
    program->FormAbout()->donateButton->click();
    EXPECT_TRUE(program->Form4()->isVisible());
    program->Form4()->closeButton->click();
    EXPECT_FALSE(program->Form4()->isVisible());
}

TEST_F(ProgramTest, ExitMenuClosesTheMainWindow)
{
    start();
    form().show();
    form().N5->trigger();
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(program->lifecycle().NormalClose);
}
