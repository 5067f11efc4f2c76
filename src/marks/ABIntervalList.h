#pragma once

#include "marks/IntervalList.h"

#include <QObject>
#include <QString>

class ClipboardText;
class ListBox;
class QAction;
class QCheckBox;
class QLineEdit;
class QToolButton;
class Timer;
class TrackBar;
class UserMessages;

// The list of AB intervals kept for the open file: items made from A and B or pasted as text,
// ordered, copied and deleted by the list's menu; in list mode the selected item is the AB
// interval, and "AB->" (by hand or after the interval's plays) goes on to the next item.
class ABIntervalList : public QObject, public IntervalList {
public:
    struct Controls {
        QLineEdit *MaskEdit1, *MaskEdit2;
        QCheckBox *CheckBox14, *CheckBox16, *CheckBoxTrack;
        QToolButton *SpeedButton12, *SpeedButton13;
        ListBox *ListBoxAB;
        QAction *AB1, *AB2, *N34, *N36, *N29, *N30, *N32, *N33;
        TrackBar *TrackBar1;
        Timer *TimerInt, *TimerZk;
    };

    ABIntervalList(const Controls &controls, TimelineZoom &zoom, ClipboardText &clipboard, UserMessages &messages);

    void CheckBox16Click() override;
    void ListBoxABClick() override;
    void ListBoxABDblClick();  // go to A
    void AB1Click();           // append A - B
    void SpeedButton13Click(); // "+ AB"
    void AB2Click();           // insert A - B before the selected item
    void N34Click();           // append the list on the clipboard
    void N36Click();           // copy the selected item
    void N29Click();           // move up
    void N30Click();           // move down
    void N32Click();           // delete the selected item
    void SpeedButton12Click(); // "- AB"
    void N33Click();           // delete all, after a question

private:
    QString currentInterval() const;
    void select(int row);

    const Controls m_c;
    TimelineZoom &m_zoom;
    ClipboardText &m_clipboard;
    UserMessages &m_messages;
};
