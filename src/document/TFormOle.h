#pragma once

#include <QWidget>
#include <memory>

class DocumentContainer;
class EditorActions;
class FindReplaceDialog;
class PinButton;
class QAction;
class QScrollArea;
class QStatusBar;
class QThread;
class SpellChecker;
class WordCountLabel;

// The text window holding the embedded document, with the editor's tools: formatting, find and
// replace, the word count in the status line and spell checking. Closing it only hides it.
class TFormOle : public QWidget {
    Q_OBJECT
public:
    TFormOle();
    ~TFormOle() override;

    // Loads the spelling dictionaries on a thread of their own; the underlines come when they
    // are loaded. userDictionary: the file of the words the user added.
    void startSpellChecking(const QString &userDictionary);
    SpellChecker *spellChecker() const { return m_spell.get(); } // null until loaded

    bool visibleAtClose = true;
    QScrollArea *ScrollBox1;
    DocumentContainer *OleContainer1; // holds an empty document from the start
    PinButton *JvCaptionButton1;
    QStatusBar *StatusBar;
    EditorActions *Tools;
    FindReplaceDialog *Find;
    WordCountLabel *WordCount;
    QAction *SpellingOn; // checking on or off, kept in the settings

signals:
    void spellCheckerReady();

private:
    void extendMenu(class QMenu *menu, const QPoint &at);

    std::unique_ptr<SpellChecker> m_spell, m_loadedSpell;
    QThread *m_spellLoader = nullptr;
};
