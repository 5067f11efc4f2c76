#pragma once

#include "automation/GlobalHotKey.h"
#include "base/SeekKind.h"
#include "marks/MarkSlots.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/UserMessages.h"
#include "widgets/Controls.h"

#include <QMainWindow>
#include <QSlider>
#include <QStringList>
#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class DocumentContainer;
class PinButton;
class QToolButton;
class MediaButtonBar;
class UpDown;
class SpeedBox;
class TMPCHC;

// The main window: the control panel and the store of every option. Behaviour lives in the
// classes that are handed these controls; this class creates and lays them out.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Clock &clock);
    ~TForm1() override;

    std::unique_ptr<TMPCHC> MPCHC; // remote control of the external player

    // Timers, by name; their handlers are connected by the classes that own the behaviour.
    std::unique_ptr<Timer> Timer1, Timer2, TimerAvtoSave, TimerPeriod, TimerPause, TimerESC, TimerJvCaptionButton,
        TimerZk, TimerInt, TimerHotKey, TimerRunHotKey, TimerPlayNoRefrN, TimerGoto;
    std::vector<Timer *> timers() const;

    // The twenty system-wide hot keys.
    HotKeyTable hotKeys;
    GlobalHotKey &hotKey(const QString &name);

    // The bookmark mark pictures above the position bar.
    MarkSlots MarkImages;

    // Dialogs.
    FileDialogSpec OpenDialog1, OpenDialog2, OpenDialogMPC;

    // Menus.
    QMenu *N1, *N2, *N4, *N11, *N6, *NSetMenu, *PopupMenuAB;
    QAction *MP31, *N3, *NSet, *NZkl, *N5, *N8, *N9, *MSWORD1, *NExportOdt, *NExportTxt, *N21, *N24, *N12, *N16, *N23,
        *N20, *N15, *NWord, *NMPC, *NHotKeys, *NPedals, *N19, *N17;
    std::array<QAction *, 10> NH;  // recent files NH0 … NH9
    std::array<QAction *, 9> N23x; // speakers N231 … N239
    QAction *AB1, *AB2, *N34, *N36, *N29, *N30, *N32, *N33, *A1;
    PinButton *JvCaptionButton1;

    // Panels and groups.
    QWidget *PanelAll, *PanelTL, *PanelTR, *PanelMain, *Panel2, *Panel4, *Panel5, *Panel7, *Panel8;
    MarkStrip *Panel3;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4;
    QStatusBar *StatusBar1;

    // The player group.
    QPushButton *Button1;
    QLabel *Label1, *Label1t, *Label11, *Label6, *Label5, *Label3, *Label4, *LabelTrack, *LabelA, *LabelB, *ImageZk,
        *ImageZk2, *LabelVolProz, *Image1;
    TrackBar *TrackBar1, *TrackBar2, *TrackBarVolume, *TrackBar3;
    MediaButtonBar *MediaPlayer1, *MediaPlayer2;
    QLineEdit *Edit1, *Edit6, *Edit7;
    UpDown *UpDown1, *UpDown6, *UpDown7;
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4, *SpeedButton7, *SpeedButton8, *SpeedButton9;
    SpeedBox *SpinSpeed; // playback speed, kept per file
    QCheckBox *CheckBox6, *CheckBox13, *CheckBox7, *CheckBox8, *CheckBox10, *CheckBox15, *CheckBoxTrack;
    QFrame *ShapeAB;

    // The group for every file.
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox12;
    QLineEdit *Edit2, *Edit3, *Edit4, *Edit5;
    UpDown *UpDown2, *UpDown3, *UpDown4, *UpDown5;
    QLabel *Label2, *Label7, *Label8, *Label10;
    QRadioButton *RadioButton1, *RadioButton2;

    // Below the groups.
    QPlainTextEdit *Memo1;
    QCheckBox *CheckBox11, *CheckBox9;
    QLabel *Label14;

    // The AB interval group.
    QLabel *Label9, *Label13;
    QLineEdit *MaskEdit1, *MaskEdit2, *MaskEdit3, *MaskEdit4;
    QToolButton *SpeedButton5, *SpeedButton6, *SpeedButton10, *SpeedButton11, *SpeedButton12, *SpeedButton13;
    QCheckBox *CheckBox14, *CheckBox16;
    QLineEdit *Edit8;
    UpDown *UpDown8;
    ListBox *ListBoxAB;

    // Hidden working controls.
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4;
    DocumentContainer *OleContainer2; // holds a copy of the document while it is reloaded
    QLineEdit *EditNMPC;

signals:
    void shown();
    void closeQuery();
    void filesDropped(const QStringList &paths);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createTimers(Clock &clock);
    void createHotKeys();
    void createMenus();
    void createDialogs();
    QWidget *createPlayerGroup();
    QWidget *createEveryFileGroup();
    QWidget *createBelowGroups();
    QWidget *createIntervalGroup();
    void createHiddenControls();

    class DigitKeyFilter *m_digitFilter;
};
