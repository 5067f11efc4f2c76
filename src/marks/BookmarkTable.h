#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <vector>

// The bookmark table's cells. Row 0 is the header; rows 1 … n hold one bookmark each as
// number, name, time text and comment. The table never has fewer than two rows: an empty list
// is one placeholder row with empty cells. Cells are addressed (column, row).
class BookmarkTable : public QObject {
    Q_OBJECT
public:
    enum Column { Number = 0, Name = 1, Time = 2, Comment = 3, ColumnCount = 4 };

    BookmarkTable();
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // Empty for a cell outside the table.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    void insertRow(int at);
    void removeRow(int row); // the placeholder row stays
    // Exactly count rows (at least 2); rows added are empty.
    void setRowCount(int count);

    // The mark slot that shows a row (-1 none); it follows the row when rows move.
    int slot(int row) const;
    void setSlot(int row, int slot);

    // The selected cell.
    int row() const { return m_row; }
    int column() const { return m_column; }
    void select(int column, int row);

signals:
    void aboutToChange(); // before cells, rows or the selection change
    void changed();       // cells, rows or the selection

private:
    struct Row {
        std::array<QString, ColumnCount> cells;
        int slot = -1;
    };
    std::vector<Row> m_rows;
    int m_row = 1;
    int m_column = 0;
};
