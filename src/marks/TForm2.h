#pragma once

#include "marks/BookmarkTable.h"

#include <QWidget>

class PinButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class UpDown;

// The bookmarks window: the bookmark table as an editable grid, the delete, refresh and
// go-to buttons, the next bookmark name and the grid's font size. The grid shows the table's
// row 0 as its header and rows 1 … n as its rows; what is typed into a cell goes into the
// table. Closing the window only hides it.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();
    // Kept above the owner (the main window) by the window manager.
    void keepAbove(QWidget *owner);
    // The bookmark table (shown by the window's grid).
    BookmarkTable StringGrid1;
    QTableWidget *StringGridView; // shows StringGrid1
    QCheckBox *CheckBoxOZ, *CheckBoxTop;
    QLabel *Label1, *Label2, *Label3;
    QLineEdit *EditNZ; // the number the next bookmark's name receives
    QLineEdit *EditSr;
    UpDown *UpDownSr; // the grid's font size, 6 … 72
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5;
    PinButton *JvCaptionButton1;

    // The grid's font size in points; the number, name and time columns fit it.
    void EditSrChange();

signals:
    void shown();
    // A press on a cell of the grid: the table's column and row.
    void cellPressed(int column, int row, Qt::MouseButton button);
    void enterPressed(); // Enter in the grid, not editing

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleRefresh();
    void commitOpenEditor();
    void refresh();
    bool m_refreshPending = false;
    bool m_refreshing = false;
    bool m_committing = false;
    class QAbstractItemDelegate *m_cells = nullptr;
    bool m_shownOnce = false;
    QWidget *m_owner = nullptr;
};
