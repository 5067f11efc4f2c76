#pragma once

#include "windows/GoToDialog.h"

#include <QObject>

class PlayerFacade;
class QAction;
class QComboBox;
class QLabel;
class QToolButton;
class TForm3;
class TrackBar;

// The go-to-position dialog's behaviour: it moves playback to a typed time counted from the
// start ("от 0"), back from the position ("до и") or forward from it ("после текущей позиции"),
// within the file, and keeps the times entered, newest first.
class GoToPosition : public QObject, public GoToDialog {
public:
    // The main window's controls it reads and drives.
    struct Controls {
        TrackBar *TrackBar1;                // the position, and the seek
        QLabel *Label1, *Label1t, *Label11; // the position: a double click opens the dialog
        QLabel *Label5;                     // the length: likewise
        QToolButton *SpeedButton9;          // "G"
        QAction *N16;                       // "&Перейти к позиции..."
    };

    GoToPosition(const Controls &controls, TForm3 &window, PlayerFacade &player);

    // Opens the dialog modally; while it is open, another request only brings it to the front.
    void ShowGoToDialog() override;

    void FormShow();
    void RadioButton1Click(); // any of the three modes
    void Button1Click();      // the current position
    void Button2Click();      // "0"
    void ComboBoxGClick(int index);
    void BitBtn1Click(); // OK: the seek and the history; the dialog then closes
    void BitBtn2Click(); // Cancel

    // Puts a time text first in a history: added when new, moved up when further down, so
    // that it appears once; then the entries beyond HistorySize go.
    static void PutFirstInHistory(QComboBox &history, const QString &text);
    static constexpr int HistorySize = 20;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override; // double clicks on the labels

private:
    const Controls m_c;
    TForm3 &m_window;
    PlayerFacade &m_player;
    bool m_open = false;
};
