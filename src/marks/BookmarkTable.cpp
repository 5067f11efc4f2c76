#include "marks/BookmarkTable.h"

#include <algorithm>

BookmarkTable::BookmarkTable() : m_rows(2)
{
    m_rows[0].cells = {QStringLiteral("№ п/п"), QStringLiteral("Имя"), QStringLiteral("Время"),
                       QStringLiteral("Комментарий (начинающийся с # будет пропускаться для «Меж закл.»)")};
}

QString BookmarkTable::cell(int column, int row) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount) return {};
    return m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
}

void BookmarkTable::setCell(int column, int row, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount) return;
    auto &cell = m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
    if (cell == text) return;
    emit aboutToChange();
    cell = text;
    emit changed();
}

void BookmarkTable::insertRow(int at)
{
    at = std::clamp(at, 1, rowCount());
    emit aboutToChange();
    m_rows.insert(m_rows.begin() + at, Row{});
    emit changed();
}

void BookmarkTable::removeRow(int row)
{
    if (row < 1 || row >= rowCount()) return;
    emit aboutToChange();
    if (rowCount() == 2) m_rows[1] = {};
    else m_rows.erase(m_rows.begin() + row);
    m_row = std::min(m_row, rowCount() - 1);
    emit changed();
}

void BookmarkTable::setRowCount(int count)
{
    emit aboutToChange();
    m_rows.resize(static_cast<size_t>(std::max(count, 2)));
    m_row = std::min(m_row, rowCount() - 1);
    emit changed();
}

int BookmarkTable::slot(int row) const
{
    return row >= 1 && row < rowCount() ? m_rows[static_cast<size_t>(row)].slot : -1;
}

void BookmarkTable::setSlot(int row, int slot)
{
    if (row >= 1 && row < rowCount()) m_rows[static_cast<size_t>(row)].slot = slot;
}

void BookmarkTable::select(int column, int row)
{
    emit aboutToChange();
    m_column = std::clamp(column, 0, ColumnCount - 1);
    m_row = std::clamp(row, 1, rowCount() - 1);
    emit changed();
}
