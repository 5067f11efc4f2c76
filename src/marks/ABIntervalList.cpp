#include "marks/ABIntervalList.h"

#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "marks/IntervalSyntax.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/UserMessages.h"
#include "widgets/Controls.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

ABIntervalList::ABIntervalList(const Controls &controls, TimelineZoom &zoom, ClipboardText &clipboard,
                               UserMessages &messages)
    : m_c(controls), m_zoom(zoom), m_clipboard(clipboard), m_messages(messages)
{
    const Controls &f = m_c;
    const auto on = [this](QAction *action, void (ABIntervalList::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };
    on(f.AB1, &ABIntervalList::AB1Click);
    on(f.AB2, &ABIntervalList::AB2Click);
    on(f.N34, &ABIntervalList::N34Click);
    on(f.N36, &ABIntervalList::N36Click);
    on(f.N29, &ABIntervalList::N29Click);
    on(f.N30, &ABIntervalList::N30Click);
    on(f.N32, &ABIntervalList::N32Click);
    on(f.N33, &ABIntervalList::N33Click);
    connect(f.SpeedButton13, &QToolButton::clicked, this, &ABIntervalList::SpeedButton13Click);
    connect(f.SpeedButton12, &QToolButton::clicked, this, &ABIntervalList::SpeedButton12Click);
    connect(f.ListBoxAB, &ListBox::itemChosen, this, &ABIntervalList::ListBoxABClick);
    connect(f.ListBoxAB, &QListWidget::itemDoubleClicked, this, &ABIntervalList::ListBoxABDblClick);
}

QString ABIntervalList::currentInterval() const
{
    return IntervalItemText(m_c.MaskEdit1->text(), m_c.MaskEdit2->text());
}

void ABIntervalList::select(int row)
{
    ListBox *list = m_c.ListBoxAB;
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

void ABIntervalList::CheckBox16Click()
{
    const Controls &f = m_c;
    const bool listMode = f.CheckBox16->isChecked();
    if (listMode && f.CheckBox14->isChecked()) f.CheckBox14->setChecked(false);
    f.SpeedButton12->setEnabled(listMode);
    f.SpeedButton13->setEnabled(!listMode);
    if (!listMode) return;
    if (f.ListBoxAB->count() > 0 && f.ListBoxAB->currentRow() < 0) select(0);
    ListBoxABClick();
}

void ABIntervalList::ListBoxABClick()
{
    const Controls &f = m_c;
    const int row = f.ListBoxAB->currentRow();
    if (!f.CheckBox16->isChecked() || row < 0) return;
    // An item that is no interval leaves A and B as they are.
    if (const auto bounds = ReadIntervalItem(f.ListBoxAB->item(row)->text())) {
        f.MaskEdit1->setText(bounds->a);
        f.MaskEdit2->setText(bounds->b);
    }
    if (f.CheckBoxTrack->isChecked()) m_zoom.CheckBoxTrackClick();
    f.TimerInt->start();
    f.TimerZk->start();
}

void ABIntervalList::ListBoxABDblClick()
{
    if (m_c.ListBoxAB->currentRow() < 0) return;
    m_c.TrackBar1->tag = SeekUser;
    m_c.TrackBar1->setValue(TimeTextToMs(m_c.MaskEdit1->text()));
}

void ABIntervalList::AB1Click() { m_c.ListBoxAB->addItem(currentInterval()); }

void ABIntervalList::SpeedButton13Click() { AB1Click(); }

void ABIntervalList::AB2Click()
{
    const int row = std::max(0, m_c.ListBoxAB->currentRow());
    m_c.ListBoxAB->insertItem(row, currentInterval());
    select(row);
}

void ABIntervalList::N34Click() { m_c.ListBoxAB->addItems(CutIntervalList(m_clipboard.text())); }

void ABIntervalList::N36Click()
{
    if (const QListWidgetItem *item = m_c.ListBoxAB->currentItem()) m_clipboard.setText(item->text());
}

void ABIntervalList::N29Click()
{
    ListBox *list = m_c.ListBoxAB;
    const int row = list->currentRow();
    if (row < 1) return;
    list->insertItem(row - 1, list->takeItem(row));
    select(row - 1);
}

void ABIntervalList::N30Click()
{
    ListBox *list = m_c.ListBoxAB;
    const int row = list->currentRow();
    if (row < 0 || row >= list->count() - 1) return;
    list->insertItem(row + 1, list->takeItem(row));
    select(row + 1);
}

void ABIntervalList::N32Click()
{
    ListBox *list = m_c.ListBoxAB;
    const int row = list->currentRow();
    if (row < 0) return;
    delete list->takeItem(row);
    select(row); // the next item takes its place; after the last, nothing is selected
}

void ABIntervalList::SpeedButton12Click() { N32Click(); }

void ABIntervalList::N33Click()
{
    if (m_messages.question(QStringLiteral("Вопрос"), QStringLiteral("Удалить ВЕСЬ список?"))) m_c.ListBoxAB->clear();
}
