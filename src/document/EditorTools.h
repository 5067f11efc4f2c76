#pragma once

#include <QFont>
#include <QLabel>
#include <QObject>
#include <QStringView>
#include <QTimer>

class QAction;
class QMenu;
class QTextEdit;

// The editor's font when the settings name none: Liberation Serif (metric twin of Times New
// Roman) or DejaVu Serif at 14 pt when installed, else the application's family at 14 pt.
QFont DefaultEditorFont();

// Makes the family and size of font the editor's default font (other attributes of font are
// left out). Text whose own format names a font keeps it.
void SetEditorFont(QTextEdit *editor, const QFont &font);

// The number of words in text. A word is a run of letters and digits (with their combining
// marks) in which a single hyphen between two such characters joins the parts ("кто-то",
// "5-й"), and ':', '.' or ',' between two digits does too, so that a time stamp "01:02:03" or
// a number "3,5" is one word. A marker in braces with no blank in it, such as "{z1}", is the
// program's mark and not speech: it is not counted. Every other character separates words.
int CountWords(QStringView text);

// The formatting and editing actions of an editor: bold, italic, underline (checkable, their
// check marks following the format at the cursor), undo and redo (enabled as the document
// allows) and the font. All are added to the editor, so their shortcuts work while it has the
// focus; none goes into a menu bar.
//
//     auto *tools = new EditorActions(editor);
//     connect(tools, &EditorActions::fontChosen, ...);  // keep the font in the settings
//     // in the editor's contextMenuEvent:
//     QMenu *menu = editor->createStandardContextMenu();
//     tools->appendTo(menu);
class EditorActions : public QObject {
    Q_OBJECT
public:
    explicit EditorActions(QTextEdit *editor);

    QAction *bold() const { return m_bold; }
    QAction *italic() const { return m_italic; }
    QAction *underline() const { return m_underline; }
    QAction *undo() const { return m_undo; }
    QAction *redo() const { return m_redo; }
    QAction *font() const { return m_font; }

    // Appends a separator and the actions. Undo and redo are left out when the menu already
    // holds the editor's own (the standard context menu does).
    void appendTo(QMenu *menu) const;

signals:
    // The user chose a font in the font dialog; it is already the editor's default font.
    void fontChosen(const QFont &font);

private:
    void chooseFont();
    QTextEdit *m_editor;
    QAction *m_bold, *m_italic, *m_underline, *m_undo, *m_redo, *m_font;
};

// The word count for the window's status line: "Слов: 1 234", or "Слов: 12 из 1 234" while
// text is selected. It counts again 300 ms after the last change to the text or the selection,
// not on every key.
//
//     statusBar->addPermanentWidget(new WordCountLabel(editor));
class WordCountLabel : public QLabel {
    Q_OBJECT
public:
    explicit WordCountLabel(QTextEdit *editor, QWidget *parent = nullptr);
    // Counts now instead of when the delay ends.
    void refresh();

private:
    QTextEdit *m_editor;
    QTimer m_delay;
    int m_total = -1; // the whole document's count; -1 after a change to the text
};
