#include "marks/TForm2.h"

#include "widgets/PinButton.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QLineEdit>
#include <QVBoxLayout>

TForm2::TForm2()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Закладки"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(14);
    setFont(f);
    CheckBoxOZ = new QCheckBox(QStringLiteral("Отслеживать проигрываемую закладку"), this);
    CheckBoxOZ->setObjectName(QStringLiteral("CheckBoxOZ"));
    EditNZ = new QLineEdit(QStringLiteral("1"), this);
    EditNZ->setObjectName(QStringLiteral("EditNZ"));
    EditNZ->setAccessibleName(QStringLiteral("Следующее имя закладки"));
    StringGridView = new QTableWidget(this);
    StringGridView->setObjectName(QStringLiteral("StringGrid1"));
    StringGridView->setAccessibleName(windowTitle());
    StringGridView->setColumnCount(BookmarkTable::ColumnCount);
    StringGridView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGridView->verticalHeader()->hide();
    StringGridView->horizontalHeader()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CheckBoxOZ);
    layout->addWidget(EditNZ);
    layout->addWidget(StringGridView, 1);
    connect(&StringGrid1, &BookmarkTable::changed, this, &TForm2::scheduleRefresh);
    refresh();
    resize(1014, 502);
    JvCaptionButton1 = new PinButton(this);
}

// Many cells change in one operation: the view is refreshed once, afterwards.
void TForm2::scheduleRefresh()
{
    if (m_refreshPending) return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(this, &TForm2::refresh, Qt::QueuedConnection);
}

void TForm2::refresh()
{
    m_refreshPending = false;
    const BookmarkTable &t = StringGrid1;
    QStringList header;
    for (int c = 0; c < BookmarkTable::ColumnCount; ++c) header << t.cell(c, 0);
    StringGridView->setHorizontalHeaderLabels(header);
    StringGridView->setRowCount(t.rowCount() - 1);
    for (int r = 1; r < t.rowCount(); ++r)
        for (int c = 0; c < BookmarkTable::ColumnCount; ++c) {
            QTableWidgetItem *item = StringGridView->item(r - 1, c);
            if (!item) StringGridView->setItem(r - 1, c, item = new QTableWidgetItem);
            item->setText(t.cell(c, r));
        }
    StringGridView->setCurrentCell(t.row() - 1, t.column());
}
