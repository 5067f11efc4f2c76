#pragma once

#include <QPointer>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTimer>

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

    // Checks the whole document again a slice at a time from the event loop, so that a long
    // document is shown and typed in at once and its underlines follow within a moment. Called
    // before the document's text is replaced, blocks the pass has not reached are left alone.
    void checkInBackground();
    bool checking() const { return m_passing; } // a pass is under way

protected:
    void highlightBlock(const QString &text) override;

private:
    void checkSlice();

    QPointer<SpellChecker> m_checker;
    QTextCharFormat m_misspelt;
    QTimer m_pass;
    int m_nextBlock = 0;     // the first block the pass has not checked
    bool m_passing = false;  // a pass is under way
    bool m_checking = false; // the pass itself asks for a block
};

// When the word at pos (viewport coordinates, as a context menu event gives them) is misspelt,
// puts at the top of menu: up to 7 suggestions, each replacing the word as one undo step, then
// "Добавить в словарь", then a separator. Returns whether it added anything.
bool AddSpellingActions(SpellChecker &checker, QTextEdit *edit, const QPoint &pos, QMenu *menu);
