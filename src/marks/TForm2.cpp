#include "marks/TForm2.h"

#include "widgets/Controls.h"
#include "widgets/PinButton.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QWindow>
#include <QVBoxLayout>
#include <array>

namespace {

// The input mask of a number cell: the digits 0 and 9 of the row's number are digit places,
// every other character is fixed.
QString NumberMask(const QString &number)
{
    QString mask;
    for (QChar c : number) mask += c == u'0' ? QStringLiteral("9") : c == u'9' ? QStringLiteral("0") : u'\\' + c;
    return mask;
}

// White cells with black text, the comment column from the left and the others centred; a
// selected range shows only as a yellow text background in the current row.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(QTableWidget *view, BookmarkTable &table) : QStyledItemDelegate(view), m_view(view), m_table(table) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        painter->fillRect(option.rect, Qt::white);
        const QString text = index.data().toString();
        const bool comment = index.column() == BookmarkTable::Comment;
        QRect box = option.fontMetrics.boundingRect(text);
        const int left =
            comment ? option.rect.left() + 4 : option.rect.left() + (option.rect.width() - box.width()) / 2;
        const int top = option.rect.top() + (option.rect.height() - option.fontMetrics.height()) / 2;
        box = QRect(left, top, option.fontMetrics.horizontalAdvance(text), option.fontMetrics.height());
        const bool selected = option.state & QStyle::State_Selected;
        if (selected && index.row() == m_view->currentRow()) painter->fillRect(box, QColor(255, 255, 0));
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
        painter->restore();
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        const int row = index.row() + 1;
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (line && index.column() == BookmarkTable::Number && !m_table.cell(BookmarkTable::Time, row).isEmpty())
            line->setInputMask(NumberMask(QString::number(row)));
        return editor;
    }

private:
    QTableWidget *m_view;
    BookmarkTable &m_table;
};

QPushButton *Button(QWidget *parent, const char *name, const QString &text, const QString &hint = {})
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setAccessibleName(text.isEmpty() ? hint : text);
    if (!text.isEmpty()) {
        QFont bold = b->font();
        bold.setBold(true);
        b->setFont(bold);
    }
    return b;
}

} // namespace

TForm2::TForm2()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Закладки"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(14);
    setFont(f);

    StringGridView = new QTableWidget(this);
    StringGridView->setObjectName(QStringLiteral("StringGrid1"));
    StringGridView->setAccessibleName(windowTitle());
    StringGridView->setColumnCount(BookmarkTable::ColumnCount);
    StringGridView->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed);
    StringGridView->setTabKeyNavigation(false); // the arrows move between cells, Tab to the next control
    StringGridView->verticalHeader()->hide();
    StringGridView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGridView->verticalHeader()->setDefaultSectionSize(22);
    QFont grid(QStringLiteral("Arial Unicode MS"));
    grid.setPixelSize(17);
    StringGridView->setFont(grid);
    auto *cells = new CellDelegate(StringGridView, StringGrid1);
    m_cells = cells;
    StringGridView->setItemDelegate(cells);
    for (int c = 0; c < BookmarkTable::ColumnCount; ++c)
        StringGridView->setColumnWidth(c, std::array{50, 50, 100, 700}[c]);
    StringGridView->viewport()->installEventFilter(this);
    StringGridView->installEventFilter(this);

    CheckBoxOZ = new QCheckBox(QStringLiteral("Отслеживать проигрываемую закладку"), this);
    CheckBoxOZ->setObjectName(QStringLiteral("CheckBoxOZ"));
    CheckBoxTop = new QCheckBox(QStringLiteral("Не закрывать окно"), this);
    CheckBoxTop->setObjectName(QStringLiteral("CheckBoxTop"));
    CheckBoxTop->hide();
    Label3 = new QLabel(QStringLiteral("Размер шрифта:"), this);
    EditSr = new QLineEdit(this);
    EditSr->setObjectName(QStringLiteral("EditSr"));
    EditSr->setAccessibleName(Label3->text());
    EditSr->setFixedWidth(40);
    EditSr->installEventFilter(new DigitKeyFilter(EditSr));
    UpDownSr = new UpDown(EditSr, 6, 72, 10, this);
    UpDownSr->setObjectName(QStringLiteral("UpDownSr"));
    Label1 = new QLabel(QStringLiteral("Кликните на \"№ п/п\" для быстрого перехода к закладке"), this);
    BitBtn1 = Button(this, "BitBtn1", QStringLiteral("Удалить"));
    BitBtn3 = Button(this, "BitBtn3", QStringLiteral("Удалить ВСЕ"));
    EditNZ = new QLineEdit(QStringLiteral("1"), this);
    EditNZ->setObjectName(QStringLiteral("EditNZ"));
    EditNZ->setAccessibleName(QStringLiteral("Следующее имя закладки"));
    EditNZ->setFixedWidth(50);
    QFont number(QStringLiteral("Tahoma"));
    number.setBold(true);
    EditNZ->setFont(number);
    EditNZ->setStyleSheet(QStringLiteral("color: blue"));
    EditNZ->installEventFilter(new DigitKeyFilter(EditNZ));
    Label2 = new QLabel(QStringLiteral(" — следующее имя закладки z"), this);
    BitBtn5 = Button(this, "BitBtn5", {}, QStringLiteral("Обновить отображение закладок на линейке проигрывания"));
    BitBtn5->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    BitBtn4 = Button(this, "BitBtn4", {}, QStringLiteral("Добавить закладку [F9]"));
    BitBtn4->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    BitBtn2 = Button(this, "BitBtn2", QStringLiteral("Перейти к закладке"));

    auto *bottom = new QWidget(this);
    bottom->setFixedHeight(84);
    auto *rows = new QVBoxLayout(bottom);
    auto *first = new QHBoxLayout;
    first->addWidget(CheckBoxOZ);
    first->addStretch();
    first->addWidget(Label3);
    first->addWidget(EditSr);
    first->addWidget(UpDownSr);
    first->addStretch();
    first->addWidget(Label1);
    auto *second = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{BitBtn1, BitBtn3, EditNZ, Label2, BitBtn5, BitBtn4, BitBtn2})
        second->addWidget(w);
    second->insertStretch(2);
    second->insertStretch(5);
    rows->addLayout(first);
    rows->addLayout(second);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StringGridView, 1);
    layout->addWidget(bottom);

    connect(&StringGrid1, &BookmarkTable::aboutToChange, this, &TForm2::commitOpenEditor);
    connect(&StringGrid1, &BookmarkTable::changed, this, &TForm2::scheduleRefresh);
    connect(StringGridView, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_refreshing) StringGrid1.setCell(item->column(), item->row() + 1, item->text());
    });
    connect(StringGridView, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (!m_refreshing && row >= 0 && column >= 0) StringGrid1.select(column, row + 1);
    });
    // Enter that ends an edit places the row's mark as Enter on the grid does.
    connect(cells, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache) emit enterPressed();
            });
    connect(UpDownSr, &UpDown::positionChanged, this, &TForm2::EditSrChange);
    refresh();
    resize(1014, 502);
    JvCaptionButton1 = new PinButton(this);
}

void TForm2::keepAbove(QWidget *owner) { m_owner = owner; }

void TForm2::EditSrChange()
{
    QFont grid = StringGridView->font();
    grid.setPointSize(UpDownSr->position());
    StringGridView->setFont(grid);
    const QFontMetrics m(grid);
    StringGridView->verticalHeader()->setDefaultSectionSize(m.boundingRect(QStringLiteral("Щу")).height() + 4);
    const std::array widths{QStringLiteral(" № п/п "), QStringLiteral(" WWWWW "), QStringLiteral("  00:00:00.000  ")};
    for (int c = 0; c < 3; ++c) StringGridView->setColumnWidth(c, m.horizontalAdvance(widths[c]) + 2);
}

// The font size in effect is applied once the window is visible, the first time it shows.
void TForm2::showEvent(QShowEvent *event)
{
    // A dialog's window with a transient parent: the window manager keeps it above that
    // window, and not above other programs'. Set as it shows: Qt drops one set earlier.
    if (m_owner) windowHandle()->setTransientParent(m_owner->windowHandle());
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        EditSrChange();
    }
    emit shown();
}

bool TForm2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGridView->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        const QModelIndex at = StringGridView->indexAt(press->position().toPoint());
        emit cellPressed(at.isValid() ? at.column() : -1, at.isValid() ? at.row() + 1 : -1, press->button());
        return press->button() != Qt::LeftButton; // other buttons neither select nor edit
    }
    // While a cell is edited its editor has the keys: this is Enter on the grid itself.
    if (watched == StringGridView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit enterPressed();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// A comment being typed into a cell is kept when the table changes under it (a bookmark added
// by a hot key, the selection following playback): the open editor is committed first.
void TForm2::commitOpenEditor()
{
    if (m_refreshing || m_committing) return;
    QWidget *editor = focusWidget();
    if (!editor || !StringGridView->viewport()->isAncestorOf(editor)) return;
    m_committing = true;
    emit m_cells->commitData(editor);
    emit m_cells->closeEditor(editor, QAbstractItemDelegate::NoHint);
    m_committing = false;
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
    m_refreshing = true;
    const BookmarkTable &t = StringGrid1;
    QStringList header;
    for (int c = 0; c < BookmarkTable::ColumnCount; ++c) header << t.cell(c, 0);
    StringGridView->setHorizontalHeaderLabels(header);
    StringGridView->setRowCount(t.rowCount() - 1);
    for (int r = 1; r < t.rowCount(); ++r)
        for (int c = 0; c < BookmarkTable::ColumnCount; ++c) {
            QTableWidgetItem *item = StringGridView->item(r - 1, c);
            if (!item) StringGridView->setItem(r - 1, c, item = new QTableWidgetItem);
            if (item->text() != t.cell(c, r)) item->setText(t.cell(c, r));
        }
    StringGridView->setCurrentCell(t.row() - 1, t.column());
    m_refreshing = false;
}
