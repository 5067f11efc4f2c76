#pragma once

#include "marks/BookmarkTable.h"

#include <QWidget>

class QCheckBox;

// The bookmarks window.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();
    // The bookmark table (shown by the window's grid).
    BookmarkTable StringGrid1;
    QCheckBox *CheckBoxOZ;
};
