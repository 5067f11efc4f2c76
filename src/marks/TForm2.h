#pragma once

#include "marks/BookmarkTable.h"

#include <QWidget>

class PinButton;
class QCheckBox;
class QLineEdit;
class QTableWidget;

// The bookmarks window.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();
    // The bookmark table (shown by the window's grid).
    BookmarkTable StringGrid1;
    QCheckBox *CheckBoxOZ;
    QLineEdit *EditNZ;            // the number the next bookmark's name receives
    QTableWidget *StringGridView; // shows StringGrid1
    PinButton *JvCaptionButton1;

private:
    void scheduleRefresh();
    void refresh();
    bool m_refreshPending = false;
};
