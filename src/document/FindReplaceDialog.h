#pragma once

#include <QDialog>
#include <QTextDocument>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTextEdit;

// Find and replace in an editor: a dialog that stays open beside the text, and its actions
// Ctrl+F (find), Ctrl+H (replace), F3 (find next) and Shift+F3 (find previous), which the
// constructor adds to the editor and to the dialog, so they work while either has the focus.
// A search runs from the cursor and goes on from the other end of the document when it reaches
// one; case is ignored unless asked for, Cyrillic included. "Заменить все" is one undo step.
//
//     auto *find = new FindReplaceDialog(editor);
//     find->appendTo(menu); // in the editor's contextMenuEvent
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindReplaceDialog(QTextEdit *editor);

    QAction *findAction() const { return m_findAction; }
    QAction *replaceAction() const { return m_replaceAction; }
    QAction *findNextAction() const { return m_findNextAction; }
    QAction *findPreviousAction() const { return m_findPreviousAction; }
    // Appends a separator and the four actions.
    void appendTo(QMenu *menu) const;

    // Shows the dialog with or without the replace line, the editor's selection (within one
    // paragraph) taken as the text to find.
    void showFind();
    void showReplace();
    // Selects the next or previous occurrence; false when there is none in the whole document.
    bool findNext();
    bool findPrevious();
    // Replaces the selected occurrence, if the selection is one, and selects the next.
    void replace();
    // Replaces every occurrence as one undo step; returns how many.
    int replaceAll();

private:
    void open(bool withReplace);
    bool find(QTextDocument::FindFlags direction);
    QTextDocument::FindFlags flags() const;
    bool selectionMatches() const;

    QTextEdit *m_editor;
    QLineEdit *m_findText, *m_replaceText;
    QCheckBox *m_matchCase, *m_wholeWords;
    QLabel *m_status;
    QList<QWidget *> m_replaceWidgets; // shown only for replacing
    QAction *m_findAction, *m_replaceAction, *m_findNextAction, *m_findPreviousAction;
};
