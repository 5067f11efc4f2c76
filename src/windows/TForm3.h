#pragma once

#include <QComboBox>
#include <QDialog>

// The go-to-position dialog.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3();
    QComboBox *ComboBoxG; // the typed times, newest first; kept with each media file
};
