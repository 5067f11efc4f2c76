#pragma once

#include <QWidget>

class PinButton;
class QScrollArea;
class QTextEdit;

// The text window holding the embedded document. Closing it only hides it.
class TFormOle : public QWidget {
    Q_OBJECT
public:
    TFormOle();
    bool visibleAtClose = true;
    QScrollArea *ScrollBox1;
    QTextEdit *OleContainer1;
    PinButton *JvCaptionButton1;
};
