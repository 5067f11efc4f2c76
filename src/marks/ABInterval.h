#pragma once

#include <QString>
#include <Qt>

class BookmarkNavigator;
class BookmarkTable;
class IntervalList;
class PlayerFacade;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;
class Timer;
class TimelineZoom;
class TrackBar;
class UpDown;
struct LoopState;

// The AB interval: A and B set from the position or typed, the AB loop switch, the jumps to
// A and B, the shifts (plain, by N bookmarks, from the list) and the marks over the bar.
class ABInterval {
public:
    struct Controls {
        QLabel *LabelA, *LabelB, *Label9, *Label13, *Label1, *Label11, *Label5;
        QLineEdit *MaskEdit1, *MaskEdit2, *Edit8;
        QCheckBox *CheckBox6, *CheckBox7, *CheckBox8, *CheckBox14, *CheckBox15, *CheckBox16, *CheckBoxTrack;
        QToolButton *SpeedButton5, *SpeedButton6, *SpeedButton10, *SpeedButton11;
        UpDown *UpDown7, *UpDown8;
        QListWidget *ListBoxAB;
        TrackBar *TrackBar1;
        QGroupBox *GroupBox4;
        Timer *TimerZk, *TimerInt;
    };

    ABInterval(const Controls &controls, BookmarkTable &bookmarks, LoopState &loop, PlayerFacade &player,
               BookmarkNavigator &navigator, IntervalList &intervals, TimelineZoom &zoom);

    void CheckBox7Click();
    void SpeedButton5Click(); // [A
    void SpeedButton6Click(); // B]
    void LabelAMouseDown(Qt::MouseButton button);
    void LabelBMouseDown(Qt::MouseButton button);
    void CheckBox14Click();
    void SpeedButton10Click(); // <-AB
    void SpeedButton11Click(); // AB->
    // Places A, B and the band between them over the position bar (the timeline draws them).
    void redrawMarks();

private:
    QString a() const;
    QString b() const;
    void setAB(const QString &a, const QString &b);
    int findRow(const QString &time) const;
    QString rowTime(int row) const;
    void afterShift();
    void goTo(const QString &time, Qt::MouseButton button);

    const Controls m_c;
    BookmarkTable &m_table;
    LoopState &m_loop;
    PlayerFacade &m_player;
    BookmarkNavigator &m_navigator;
    IntervalList &m_intervals;
    TimelineZoom &m_zoom;
};
