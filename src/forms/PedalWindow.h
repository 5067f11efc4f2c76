#pragma once

#include "automation/FootPedals.h"

#include <QDialog>

class FootPedal;
class QComboBox;
class QLabel;
class QPushButton;

// The pedal window ("Педали"): the pedal in use or why there is none, what each of the three
// pedals does, and which pedals are down now, to try them out. A keyboard pedal is chosen
// among the keyboards plugged in, and its three keys learnt by pressing the pedals in turn.
// Every choice takes effect at once and is kept in setting.ini, section "Педали": "Левая",
// "Средняя", "Правая", and for a keyboard pedal "Устройство" and "Клавиши".
class PedalWindow : public QDialog {
    Q_OBJECT
public:
    PedalWindow(FootPedals &pedals, FootPedal &pedal);

    // Takes the actions kept in setting.ini, and writes out the ones it lacks, so that the
    // user finds them there too.
    void LoadChoices();
    // Opens the keyboard pedal setting.ini names, else the first supported USB pedal plugged
    // in. What went wrong, for the status line; empty when a pedal is read or none is there.
    QString OpenDevice();
    // Lists the keyboards of folder (tests give another) to choose a keyboard pedal from.
    void ListKeyboards(const QString &folder);

    QLabel *Device, *Held;
    QComboBox *Keyboard, *Action[3];
    QPushButton *Learn;

private:
    void choose(int pedal, PedalAction action);
    void showHeld(int down);
    void startLearning();
    void learn(int code);

    FootPedals &m_pedals;
    FootPedal &m_pedal;
    int m_learning = -1; // the pedal whose key comes next, or -1
    int m_learnt[3] = {};
};
