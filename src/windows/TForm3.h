#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The go-to-position dialog: a time counted from the start, or back or forward from the
// current position, and the history of the times entered.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3();

    // Runs the dialog modally and returns its result (QDialog::Accepted or Rejected).
    int ShowModal();
    // When set, ShowModal calls it in place of the modal run: it acts as the user does while the
    // dialog is open (the tests' way to answer a modal dialog).
    std::function<void()> runModal;

    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3; // from 0, back, forward
    QLabel *Label1;                                           // "t-" or "t+" in the relative modes
    QLineEdit *MaskEdit1;                                     // the time
    QComboBox *ComboBoxG; // the typed times, newest first; kept with each media file
    QPushButton *Button2; // "0"
    QPushButton *Button1; // the current position
    QPushButton *BitBtn1; // OK
    QPushButton *BitBtn2; // Cancel, out of view; Esc cancels

protected:
    // Opened by the hot key, it comes up over the program the user types in.
    void showEvent(QShowEvent *event) override;
};
