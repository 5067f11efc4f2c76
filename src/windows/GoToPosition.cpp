#include "windows/GoToPosition.h"

#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "playback/PlayerFacade.h"
#include "widgets/Controls.h"
#include "windows/TForm3.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <cstdint>

GoToPosition::GoToPosition(const Controls &controls, TForm3 &window, PlayerFacade &player)
    : m_c(controls), m_window(window), m_player(player)
{
    TForm3 &w = m_window;
    for (QRadioButton *mode : {w.RadioButton1, w.RadioButton2, w.RadioButton3})
        connect(mode, &QRadioButton::toggled, this, [this](bool on) {
            if (on) RadioButton1Click();
        });
    connect(w.Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(w.Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(w.ComboBoxG, &QComboBox::activated, this, [this](int index) { ComboBoxGClick(index); });
    connect(w.BitBtn1, &QPushButton::clicked, this, [this] {
        BitBtn1Click();
        m_window.accept();
    });
    connect(w.BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    connect(m_c.SpeedButton9, &QToolButton::clicked, this, [this] { ShowGoToDialog(); });
    connect(m_c.N16, &QAction::triggered, this, [this] { ShowGoToDialog(); });
    for (QLabel *l : {m_c.Label1, m_c.Label1t, m_c.Label11, m_c.Label5}) l->installEventFilter(this);
}

void GoToPosition::ShowGoToDialog()
{
    // The hot key still reaches the program while the dialog is open; a second modal run of
    // the same dialog would nest inside the first.
    if (m_open) {
        m_window.raise();
        m_window.activateWindow();
        return;
    }
    m_open = true;
    FormShow();
    m_window.ShowModal();
    m_open = false;
}

// The dialog comes to the front as it shows (TForm3::showEvent).
void GoToPosition::FormShow()
{
    RadioButton1Click();
    m_window.MaskEdit1->setFocus();
}

void GoToPosition::RadioButton1Click()
{
    QLabel *sign = m_window.Label1;
    if (m_window.RadioButton2->isChecked()) sign->setText(QStringLiteral("t-"));
    else if (m_window.RadioButton3->isChecked()) sign->setText(QStringLiteral("t+"));
    else sign->clear();
    sign->setVisible(!m_window.RadioButton1->isChecked());
}

void GoToPosition::Button1Click() { m_window.MaskEdit1->setText(m_c.Label1->text() + u'.' + m_c.Label11->text()); }

void GoToPosition::Button2Click() { m_window.MaskEdit1->setText(QLatin1String(ZeroTimeText)); }

void GoToPosition::ComboBoxGClick(int index) { m_window.MaskEdit1->setText(m_window.ComboBoxG->itemText(index)); }

void GoToPosition::BitBtn1Click()
{
    const TForm3 &w = m_window;
    const std::int64_t length = m_player.LengthMs();
    const QString typed = w.MaskEdit1->text();
    const std::int64_t v = TimeTextToMs(typed); // a text holds whole milliseconds
    const std::int64_t p = m_c.TrackBar1->value();
    std::int64_t target = v;
    if (w.RadioButton2->isChecked()) target = p - v;
    else if (w.RadioButton3->isChecked()) target = p + v;
    target = std::max<std::int64_t>(0, std::min(target, length));
    // Through the bar, as every seek: a zoomed bar takes the target to its nearer end.
    m_c.TrackBar1->tag = SeekUser;
    m_c.TrackBar1->setValue(static_cast<int>(target));
    PutFirstInHistory(*w.ComboBoxG, typed);
}

void GoToPosition::BitBtn2Click() { m_window.reject(); }

void GoToPosition::PutFirstInHistory(QComboBox &history, const QString &text)
{
    const int at = history.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at != 0) {
        if (at > 0) history.removeItem(at);
        history.insertItem(0, text);
    }
    while (history.count() > HistorySize) history.removeItem(HistorySize);
}

bool GoToPosition::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        ShowGoToDialog();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
