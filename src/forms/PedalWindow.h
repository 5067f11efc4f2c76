#pragma once

#include "automation/FootPedals.h"

#include <QDialog>

class FootPedal;
class QComboBox;
class QLabel;

// The pedal window ("Педали"): what each of the three pedals does, the pedal in use or why
// there is none, and which pedals are down now, to try them out. A choice takes effect at
// once and is kept in setting.ini, section "Педали", keys "Левая", "Средняя" and "Правая".
class PedalWindow : public QDialog {
    Q_OBJECT
public:
    PedalWindow(FootPedals &pedals, FootPedal &pedal);

    // Takes the actions kept in setting.ini, and writes out the ones it lacks, so that the
    // user finds them there too.
    void LoadChoices();
    // What the window says of the pedal device.
    void SetDevice(const QString &text);

    QComboBox *Action[3];
    QLabel *Device, *Held;

private:
    void choose(int pedal, PedalAction action);
    void showHeld(int down);

    FootPedals &m_pedals;
};
