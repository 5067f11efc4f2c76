#include "document/FindReplaceDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QPushButton *AddButton(QVBoxLayout *column, const QString &text, const QString &name)
{
    auto *button = new QPushButton(text);
    button->setObjectName(name);
    button->setAutoDefault(false);
    column->addWidget(button);
    return button;
}

} // namespace

FindReplaceDialog::FindReplaceDialog(QTextEdit *editor) : QDialog(editor), m_editor(editor)
{
    setObjectName(QStringLiteral("FindReplace"));
    setModal(false);
    m_findText = new QLineEdit;
    m_findText->setObjectName(QStringLiteral("FindText"));
    m_replaceText = new QLineEdit;
    m_replaceText->setObjectName(QStringLiteral("ReplaceText"));
    m_matchCase = new QCheckBox(QStringLiteral("Учитывать регистр"));
    m_matchCase->setObjectName(QStringLiteral("MatchCase"));
    m_wholeWords = new QCheckBox(QStringLiteral("Слово целиком"));
    m_wholeWords->setObjectName(QStringLiteral("WholeWords"));
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("FindStatus"));
    auto *findLabel = new QLabel(QStringLiteral("Найти:"));
    findLabel->setBuddy(m_findText);
    auto *replaceLabel = new QLabel(QStringLiteral("Заменить на:"));
    replaceLabel->setBuddy(m_replaceText);

    auto *buttons = new QVBoxLayout;
    QPushButton *next = AddButton(buttons, QStringLiteral("Найти далее"), QStringLiteral("FindNext"));
    next->setDefault(true);
    QPushButton *previous = AddButton(buttons, QStringLiteral("Найти назад"), QStringLiteral("FindPrevious"));
    QPushButton *replaceOne = AddButton(buttons, QStringLiteral("Заменить"), QStringLiteral("Replace"));
    QPushButton *replaceEvery = AddButton(buttons, QStringLiteral("Заменить все"), QStringLiteral("ReplaceAll"));
    QPushButton *close = AddButton(buttons, QStringLiteral("Закрыть"), QStringLiteral("Close"));
    buttons->addStretch();
    m_replaceWidgets = {replaceLabel, m_replaceText, replaceOne, replaceEvery};

    auto *grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_findText, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(m_replaceText, 1, 1);
    grid->addWidget(m_matchCase, 2, 1);
    grid->addWidget(m_wholeWords, 3, 1);
    grid->addWidget(m_status, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnMinimumWidth(1, 240);
    grid->addLayout(buttons, 0, 2, 6, 1);

    connect(next, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(previous, &QPushButton::clicked, this, &FindReplaceDialog::findPrevious);
    connect(replaceOne, &QPushButton::clicked, this, &FindReplaceDialog::replace);
    connect(replaceEvery, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_findText, &QLineEdit::textChanged, m_status, &QLabel::clear);

    const auto makeAction = [this](const QString &text, const QKeySequence &key) {
        auto *action = new QAction(text, this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_editor->addAction(action);
        QWidget::addAction(action);
        return action;
    };
    m_findAction = makeAction(QStringLiteral("Найти..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    m_replaceAction = makeAction(QStringLiteral("Заменить..."), QKeySequence(Qt::CTRL | Qt::Key_H));
    m_findNextAction = makeAction(QStringLiteral("Найти далее"), QKeySequence(Qt::Key_F3));
    m_findPreviousAction = makeAction(QStringLiteral("Найти назад"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(m_findAction, &QAction::triggered, this, &FindReplaceDialog::showFind);
    connect(m_replaceAction, &QAction::triggered, this, &FindReplaceDialog::showReplace);
    connect(m_findNextAction, &QAction::triggered, this, &FindReplaceDialog::findNext);
    connect(m_findPreviousAction, &QAction::triggered, this, &FindReplaceDialog::findPrevious);
}

void FindReplaceDialog::appendTo(QMenu *menu) const
{
    menu->addSeparator();
    menu->addActions({m_findAction, m_replaceAction, m_findNextAction, m_findPreviousAction});
}

void FindReplaceDialog::showFind() { open(false); }

void FindReplaceDialog::showReplace() { open(true); }

void FindReplaceDialog::open(bool withReplace)
{
    setWindowTitle(withReplace ? QStringLiteral("Найти и заменить") : QStringLiteral("Найти"));
    for (QWidget *w : m_replaceWidgets) w->setVisible(withReplace);
    const QString selected = m_editor->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) m_findText->setText(selected);
    m_status->clear();
    layout()->activate(); // the hidden line gives back its room
    adjustSize();
    show();
    raise();
    activateWindow();
    m_findText->setFocus();
    m_findText->selectAll();
}

QTextDocument::FindFlags FindReplaceDialog::flags() const
{
    QTextDocument::FindFlags flags;
    if (m_matchCase->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    if (m_wholeWords->isChecked()) flags |= QTextDocument::FindWholeWords;
    return flags;
}

bool FindReplaceDialog::findNext() { return find({}); }

bool FindReplaceDialog::findPrevious() { return find(QTextDocument::FindBackward); }

bool FindReplaceDialog::find(QTextDocument::FindFlags direction)
{
    const QString text = m_findText->text();
    if (text.isEmpty()) {
        showFind();
        return false;
    }
    QTextDocument *doc = m_editor->document();
    const QTextDocument::FindFlags flags = this->flags() | direction;
    QTextCursor found = doc->find(text, m_editor->textCursor(), flags);
    QString status;
    if (found.isNull()) {
        const bool backward = direction.testFlag(QTextDocument::FindBackward);
        QTextCursor from(doc);
        if (backward) from.movePosition(QTextCursor::End);
        found = doc->find(text, from, flags);
        status = backward ? QStringLiteral("Поиск продолжен с конца") : QStringLiteral("Поиск продолжен с начала");
    }
    if (found.isNull()) {
        m_status->setText(QStringLiteral("Не найдено"));
        return false;
    }
    m_editor->setTextCursor(found);
    m_status->setText(status);
    return true;
}

bool FindReplaceDialog::selectionMatches() const
{
    const QTextCursor selection = m_editor->textCursor();
    if (!selection.hasSelection()) return false;
    QTextCursor from(m_editor->document());
    from.setPosition(selection.selectionStart());
    const QTextCursor found = m_editor->document()->find(m_findText->text(), from, flags());
    return !found.isNull() && found.selectionStart() == selection.selectionStart() &&
           found.selectionEnd() == selection.selectionEnd();
}

void FindReplaceDialog::replace()
{
    if (!m_findText->text().isEmpty() && !m_editor->isReadOnly() && selectionMatches()) {
        QTextCursor selection = m_editor->textCursor();
        selection.insertText(m_replaceText->text());
        m_editor->setTextCursor(selection);
    }
    findNext();
}

int FindReplaceDialog::replaceAll()
{
    const QString text = m_findText->text();
    if (text.isEmpty() || m_editor->isReadOnly()) return 0;
    QTextDocument *doc = m_editor->document();
    int count = 0;
    QTextCursor step(doc);
    step.beginEditBlock();
    for (QTextCursor found = doc->find(text, QTextCursor(doc), flags()); !found.isNull();
         found = doc->find(text, found, flags())) {
        found.insertText(m_replaceText->text());
        ++count;
    }
    step.endEditBlock();
    m_status->setText(QStringLiteral("Заменено: %1").arg(count));
    return count;
}
