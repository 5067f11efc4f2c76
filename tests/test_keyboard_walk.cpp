// Every window driven with the keyboard alone: Tab, from the first control, comes round to every
// control that takes the focus, and back to where it started.
#include "ProgramFixture.h"

#include "document/TFormOle.h"
#include "forms/HotKeyWindow.h"
#include "forms/PedalWindow.h"
#include "marks/TForm2.h"
#include "windows/TForm3.h"
#include "windows/TForm5.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QSet>
#include <QTest>

namespace {

// The controls Tab should reach in a window: shown, enabled, taking the focus by Tab.
QSet<QWidget *> Reachable(QWidget *window)
{
    QSet<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>())
        if (w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
            w->window() == window)
            controls.insert(w);
    return controls;
}

// The controls Tab goes through from the window's first one, once round.
QList<QWidget *> TabRound(QWidget *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    window->activateWindow();
    QWidget *first = window->nextInFocusChain();
    while (first != window && !Reachable(window).contains(first)) first = first->nextInFocusChain();
    first->setFocus(Qt::TabFocusReason);
    QList<QWidget *> seen{QApplication::focusWidget()};
    for (int i = 0; i < 300; ++i) {
        // A text editor takes Tab as a character; Ctrl+Tab leaves it.
        QWidget *at = QApplication::focusWidget();
        const auto *text = qobject_cast<QTextEdit *>(at);
        const auto *plain = qobject_cast<QPlainTextEdit *>(at);
        const bool takesTab = (text && !text->tabChangesFocus()) || (plain && !plain->tabChangesFocus());
        QTest::keyClick(at, Qt::Key_Tab, takesTab ? Qt::ControlModifier : Qt::NoModifier);
        QWidget *now = QApplication::focusWidget();
        if (!now || now == seen.first()) break;
        seen << now;
    }
    return seen;
}

QString Names(const QSet<QWidget *> &widgets)
{
    QStringList names;
    for (QWidget *w : widgets)
        names << QStringLiteral("%1 %2").arg(QLatin1String(w->metaObject()->className()), w->objectName());
    names.sort();
    return names.join(u'\n');
}

} // namespace

TEST_F(ProgramTest, TabComesRoundToEveryControlOfEveryWindow)
{
    start();
    for (QWidget *window :
         std::initializer_list<QWidget *>{program->Form1(), program->FormOle(), program->Form2(), program->Form3(),
                                          program->Form5(), program->hotKeyWindow(), program->pedalWindow()}) {
        SCOPED_TRACE(window->objectName().toStdString());
        const QList<QWidget *> round = TabRound(window);
        QSet<QWidget *> missed = Reachable(window);
        for (QWidget *w : round) missed.remove(w);
        EXPECT_TRUE(missed.isEmpty()) << "not reached by Tab:\n" << Names(missed).toStdString();
        EXPECT_GT(round.size(), 1);
        window->hide();
    }
}
