#include "widgets/Controls.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

ListBox::ListBox(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QAbstractItemView::clicked, this, &ListBox::itemChosen);
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before) emit itemChosen();
}

UpDown::UpDown(QLineEdit *associate, int min, int max, int position, QWidget *parent)
    : QWidget(parent), m_associate(associate), m_min(min), m_max(max), m_position(position)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto arrow = [&](Qt::ArrowType type, int step) {
        auto *b = new QToolButton(this);
        b->setArrowType(type);
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, step] { setPosition(this->position() + step); });
        layout->addWidget(b);
    };
    arrow(Qt::UpArrow, 1);
    arrow(Qt::DownArrow, -1);
    setAccessibleName(associate->accessibleName());
    setPosition(position);
}

int UpDown::position() const
{
    bool ok = false;
    const int v = m_associate->text().trimmed().toInt(&ok);
    if (ok) m_position = std::clamp(v, m_min, m_max);
    return m_position;
}

void UpDown::setPosition(int value)
{
    const int v = std::clamp(value, m_min, m_max);
    const bool changed = v != m_position;
    m_position = v;
    if (m_associate->text() != QString::number(v)) m_associate->setText(QString::number(v));
    if (changed) emit positionChanged(v);
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    // Keys without a character (arrows, Delete), Ctrl shortcuts such as copy, and Tab to the
    // next control keep working.
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
        key->text().isEmpty() || key->modifiers().testFlag(Qt::ControlModifier))
        return false;
    const QString &t = key->text();
    return !(t.size() == 1 && t[0] >= u'0' && t[0] <= u'9');
}

bool FocusDropper::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) TakeFocusAway(m_window);
    return QObject::eventFilter(watched, event);
}

bool FocusRefuser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) TakeFocusAway(m_window);
    return QObject::eventFilter(watched, event);
}

void TakeFocusAway(QWidget *window)
{
    if (QWidget *w = window->focusWidget()) w->clearFocus();
    window->setFocus(Qt::OtherFocusReason);
}
