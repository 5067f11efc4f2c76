#pragma once

#include <QPointer>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QMenu;
class QPoint;
class QTextEdit;
class SpellChecker;

// The red wavy underline under misspelt words, and the spelling part of the editor's context menu.
//
// Use:
//   SpellChecker checker(WorkFolder() + "/UserDictionary.txt"); // outlives what follows
//   new SpellHighlighter(checker, edit->document());            // a child of the document
//   void Editor::contextMenuEvent(QContextMenuEvent *e)         // in a QTextEdit subclass, or
//   {                                                           // from customContextMenuRequested
//       std::unique_ptr<QMenu> menu(createStandardContextMenu());
//       AddSpellingActions(checker, this, e->pos(), menu.get());
//       menu->exec(e->globalPos());
//   }
//   checker.setEnabled(false); // removes the underlines
//
// The underlines are layout formats: they change neither the text nor the undo stack. Only the
// edited paragraph is checked again while typing.
class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    SpellHighlighter(SpellChecker &checker, QTextDocument *document);

protected:
    void highlightBlock(const QString &text) override;

private:
    QPointer<SpellChecker> m_checker;
    QTextCharFormat m_misspelt;
};

// When the word at pos (viewport coordinates, as a context menu event gives them) is misspelt,
// puts at the top of menu: up to 7 suggestions, each replacing the word as one undo step, then
// "Добавить в словарь", then a separator. Returns whether it added anything.
bool AddSpellingActions(SpellChecker &checker, QTextEdit *edit, const QPoint &pos, QMenu *menu);
