#pragma once

#include <QWidget>

class DocumentContainer;
class PinButton;
class QLabel;
class QScrollArea;
class QStatusBar;

// The text window holding the embedded document. Closing it only hides it.
class TFormOle : public QWidget {
    Q_OBJECT
public:
    TFormOle();
    bool visibleAtClose = true;
    QScrollArea *ScrollBox1;
    DocumentContainer *OleContainer1; // holds an empty document from the start
    PinButton *JvCaptionButton1;
    QStatusBar *StatusBar;
};
