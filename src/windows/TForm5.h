#pragma once

#include <QWidget>
#include <array>

class PinButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The speakers window: nine names, the texts typed before and after a name.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    TForm5();
    bool visibleAtClose = false;
    // A stored placement: the first showing keeps it instead of centring the window.
    void keepPlacement() { m_placed = true; }

    std::array<QLabel *, 9> Labels;       // Label1 … Label9
    std::array<QLineEdit *, 9> Edits;     // Edit1 … Edit9
    std::array<QPushButton *, 9> Buttons; // Button3 … Button11 ("->")
    QGroupBox *GroupBox1;
    QLabel *Label10, *Label11;
    QLineEdit *Edit10, *Edit11;
    QPushButton *Button1, *Button2;
    PinButton *JvCaptionButton1;

signals:
    void shown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_placed = false;
};
