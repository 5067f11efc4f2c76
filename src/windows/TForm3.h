#pragma once

#include <QDialog>

// The go-to-position dialog.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3();
};
