#pragma once

#include "marks/BookmarkTable.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;

// The bookmarks window.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();
    // The bookmark table (shown by the window's grid).
    BookmarkTable StringGrid1;
    QCheckBox *CheckBoxOZ;
    QLineEdit *EditNZ; // the number the next bookmark's name receives
};
