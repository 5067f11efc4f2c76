#pragma once

// Helpers that build the main window's controls: each control is created with its object
// name, the name by which settings, tests and assistive technology find it.

#include "base/MediaTime.h"
#include "marks/MarkSlots.h"
#include "widgets/Controls.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolButton>

namespace formbuild {

template <class T, class... Args> T *make(QWidget *parent, const char *name, Args &&...args)
{
    auto *w = new T(std::forward<Args>(args)..., parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

inline QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    return make<QLabel>(parent, name, text);
}

inline QCheckBox *check(QWidget *parent, const char *name, const QString &caption, const QString &hint = {})
{
    auto *c = make<QCheckBox>(parent, name, caption);
    c->setToolTip(hint);
    c->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); // captions are never cut
    return c;
}

// A numeric edit: digits only, named for assistive technology after what it counts.
inline QLineEdit *numberEdit(QWidget *parent, const char *name, const QString &text, const QString &accessibleName,
                             DigitKeyFilter *filter)
{
    auto *e = make<QLineEdit>(parent, name, text);
    e->setFixedWidth(44);
    e->setAccessibleName(accessibleName);
    if (filter) e->installEventFilter(filter);
    return e;
}

inline QToolButton *speed(QWidget *parent, const char *name, const QString &text, const QString &hint)
{
    auto *b = make<QToolButton>(parent, name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true); // flat
    b->setFocusPolicy(Qt::NoFocus);
    if (text.isEmpty() || text.size() <= 2) b->setAccessibleName(hint.isEmpty() ? text : hint);
    return b;
}

inline QLineEdit *timeEdit(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *e = make<QLineEdit>(parent, name);
    e->setInputMask(QLatin1String(TimeEditMask));
    e->setText(QLatin1String(ZeroTimeText));
    e->setMaxLength(12);
    e->setAccessibleName(accessibleName);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QLatin1String(ZeroTimeText)) + 16);
    return e;
}

inline QHBoxLayout *row(QWidget *parent = nullptr)
{
    auto *l = parent ? new QHBoxLayout(parent) : new QHBoxLayout;
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(4);
    return l;
}

inline void addAll(QBoxLayout *l, std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets) l->addWidget(w);
}

inline QAction *menuItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {},
                         bool checkable = false)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(shortcut);
    a->setCheckable(checkable);
    return a;
}

inline void separator(QMenu *menu, const char *name) { menu->addSeparator()->setObjectName(QLatin1String(name)); }

inline QMenu *topMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *m = bar->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    return m;
}

inline QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

inline void setTextColor(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    p.setColor(QPalette::ButtonText, color);
    w->setPalette(p);
}

inline QPixmap markPicture(const QColor &color)
{
    QPixmap pix(MarkStrip::MarkSize, MarkStrip::MarkSize);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(6, 0), QPoint(3, 6)}));
    return pix;
}

} // namespace formbuild
