#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyleOption>
#include <QToolButton>
#include <QWidget>

// The visible text controls of a window whose text does not fit the room they have, each as
// "objectName: text (needs N, has M)".
inline QStringList CutTexts(QWidget *window)
{
    QStringList cut;
    const auto check = [&](QWidget *w, const QString &text, int needs, int has) {
        if (needs > has)
            cut << QStringLiteral("%1: %2 (needs %3, has %4)").arg(w->objectName(), text).arg(needs).arg(has);
    };
    const auto advance = [](const QWidget *w, QString text) {
        text.remove(u'&');
        return w->fontMetrics().horizontalAdvance(text);
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->width() == 0) continue;
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty()) continue;
            const QRect room = l->contentsRect();
            if (l->wordWrap()) check(l, l->text(), l->heightForWidth(l->width()), l->height());
            else if (l->textFormat() != Qt::RichText && !Qt::mightBeRichText(l->text()))
                check(l, l->text(), advance(l, l->text()) + 2 * l->margin(), room.width());
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            if (b->text().isEmpty()) continue;
            QRect room = b->contentsRect();
            if (qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b)) {
                QStyleOptionButton opt;
                opt.initFrom(b);
                opt.text = b->text();
                const auto element =
                    qobject_cast<QCheckBox *>(b) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
                room = b->style()->subElementRect(element, &opt, b);
                check(b, b->text(), advance(b, b->text()), room.width());
            } else if (auto *t = qobject_cast<QToolButton *>(b)) {
                if (t->toolButtonStyle() == Qt::ToolButtonIconOnly && !t->icon().isNull()) continue;
                check(b, b->text(), advance(b, b->text()), room.width());
            } else if (auto *p = qobject_cast<QPushButton *>(b)) {
                QStyleOptionButton opt;
                opt.initFrom(p);
                opt.text = p->text();
                room = p->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, p);
                check(p, p->text(), advance(p, p->text()), room.width());
            }
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            if (g->title().isEmpty()) continue;
            QStyleOptionGroupBox opt;
            opt.initFrom(g);
            opt.text = g->title();
            opt.subControls = QStyle::SC_GroupBoxLabel;
            const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
            check(g, g->title(), label.left() + advance(g, g->title()), g->width());
        }
    }
    return cut;
}
