#include "document/SpellHighlighter.h"

#include "document/SpellChecker.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

SpellHighlighter::SpellHighlighter(SpellChecker &checker, QTextDocument *document)
    : QSyntaxHighlighter(document), m_checker(&checker)
{
    m_misspelt.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    m_misspelt.setUnderlineColor(Qt::red);
    connect(&checker, &SpellChecker::changed, this, &SpellHighlighter::checkInBackground);
    m_pass.setInterval(0);
    connect(&m_pass, &QTimer::timeout, this, &SpellHighlighter::checkSlice);
    if (!document->isEmpty()) checkInBackground(); // the text the document holds already
}

void SpellHighlighter::checkInBackground()
{
    m_nextBlock = 0;
    m_passing = true;
    m_pass.start();
}

void SpellHighlighter::checkSlice()
{
    QElapsedTimer slice;
    slice.start();
    m_checking = true;
    QTextBlock block = document()->findBlockByNumber(m_nextBlock);
    for (; block.isValid() && slice.elapsed() < 8; block = block.next()) {
        rehighlightBlock(block);
        ++m_nextBlock;
    }
    m_checking = false;
    if (block.isValid()) return;
    m_passing = false;
    m_pass.stop();
}

void SpellHighlighter::highlightBlock(const QString &text)
{
    // A block the pass has yet to reach is checked when it gets there.
    if (m_passing && !m_checking && currentBlock().blockNumber() >= m_nextBlock) return;
    if (!m_checker || !m_checker->enabled()) return;
    for (const WordSpan &w : CheckedWords(text)) {
        if (m_checker->isMisspelt(QStringView(text).sliced(w.start, w.length)))
            setFormat(int(w.start), int(w.length), m_misspelt);
    }
}

bool AddSpellingActions(SpellChecker &checker, QTextEdit *edit, const QPoint &pos, QMenu *menu)
{
    if (!checker.enabled()) return false;
    const QTextCursor at = edit->cursorForPosition(pos);
    const QString text = at.block().text();
    const qsizetype offset = at.positionInBlock();
    for (const WordSpan &w : CheckedWords(text)) {
        if (offset < w.start || offset > w.start + w.length) continue;
        const QString word = text.sliced(w.start, w.length);
        if (!checker.isMisspelt(word)) return false;

        const int start = at.block().position() + int(w.start);
        QAction *top = menu->actions().value(0); // null for an empty menu: the actions are appended
        for (const QString &suggestion : checker.suggestions(word)) {
            auto *action = new QAction(QString(suggestion).replace(u'&', QStringLiteral("&&")), menu);
            QObject::connect(action, &QAction::triggered, edit, [edit, start, word, suggestion] {
                QTextCursor cursor(edit->document());
                cursor.setPosition(start);
                cursor.setPosition(start + int(word.size()), QTextCursor::KeepAnchor);
                if (cursor.selectedText() != word) return; // the text has changed since
                cursor.beginEditBlock();
                cursor.insertText(suggestion);
                cursor.endEditBlock();
            });
            menu->insertAction(top, action);
        }
        auto *add = new QAction(QStringLiteral("Добавить в словарь"), menu);
        QObject::connect(add, &QAction::triggered, &checker, [&checker, word] { checker.addToUserDictionary(word); });
        menu->insertAction(top, add);
        menu->insertSeparator(top);
        return true;
    }
    return false;
}
