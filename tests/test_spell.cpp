#include "document/SpellChecker.h"
#include "document/SpellHighlighter.h"

#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <memory>

#include "QtPrinters.h"
#include "TestFiles.h"

namespace {

const QString AddWord = QStringLiteral("Добавить в словарь");

// The words that carry the spell-check underline, in the order of the document.
QStringList Underlined(const QTextDocument &doc)
{
    QStringList words;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange &r : block.layout()->formats()) {
            if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline) {
                EXPECT_EQ(r.format.underlineColor(), QColor(Qt::red));
                words << block.text().mid(r.start, r.length);
            }
        }
    }
    return words;
}

QStringList Texts(const QMenu &menu)
{
    QStringList texts;
    for (const QAction *a : menu.actions()) texts << (a->isSeparator() ? QStringLiteral("----") : a->text());
    return texts;
}

// The editor's context menu for a right click in the middle of the first occurrence of word,
// with the spelling actions when there are any.
std::unique_ptr<QMenu> MenuAt(SpellChecker &checker, QTextEdit &edit, const QString &word, bool &added)
{
    edit.resize(600, 300);
    edit.show(); // laid out
    QTextCursor cursor(edit.document());
    cursor.setPosition(int(edit.toPlainText().indexOf(word) + word.size() / 2));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    added = AddSpellingActions(checker, &edit, edit.cursorRect(cursor).center(), menu.get());
    return menu;
}

QAction *Action(const QMenu &menu, const QString &text)
{
    for (QAction *a : menu.actions())
        if (a->text() == text) return a;
    return nullptr;
}

class SpellCheck : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString userFile = dir.filePath(QStringLiteral("UserDictionary.txt"));
};

} // namespace

TEST(SpellWords, OnlyWordsOfCyrillicOrLatinLettersAreChecked)
{
    const QString text = QStringLiteral("Кто-то сказал: don’t {z1}{zX} в 01:02:03, по-моему, 5-й раз. "
                                        "МВД, США и Я; СПбГУ x2 Ελλάδα за́мок 'так'");
    QStringList words;
    for (const WordSpan &w : CheckedWords(text)) words << text.mid(w.start, w.length);
    EXPECT_EQ(words, (QStringList{"Кто-то", "сказал", "don’t", "в", "по-моему", "раз", "и", "СПбГУ", "за́мок", "так"}));
}

TEST_F(SpellCheck, UnderlinesMisspeltWordsWithoutTouchingTheTextOrItsUndo)
{
    SpellChecker checker(userFile);
    ASSERT_TRUE(checker.available());
    QTextEdit edit;
    QTextDocument &doc = *edit.document();
    QTextCursor(&doc).insertText(QStringLiteral("Превет, как дела? Встреча в 01:02:03 {z1} {zX}, МВД, 5-й раз.\n"
                                                "За́мок и малоко, кто-то сказал: ПРИВЕТ 2024г"));
    doc.setModified(false);
    const QString text = doc.toPlainText();
    const int undoSteps = doc.availableUndoSteps();

    SpellHighlighter highlighter(checker, &doc);
    QCoreApplication::processEvents(); // a document with text is highlighted once the event loop runs
    EXPECT_EQ(Underlined(doc), (QStringList{"Превет", "малоко"}));
    EXPECT_EQ(doc.toPlainText(), text);
    EXPECT_EQ(doc.availableUndoSteps(), undoSteps);
    EXPECT_FALSE(doc.isModified());

    // The underlines are redone by a pass from the event loop.
    checker.setEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(Underlined(doc), QStringList());
    checker.setEnabled(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(Underlined(doc), (QStringList{"Превет", "малоко"}));

    QTextCursor typing(doc.lastBlock());
    typing.movePosition(QTextCursor::EndOfBlock);
    typing.insertText(QStringLiteral(" карова"));
    EXPECT_EQ(Underlined(doc), (QStringList{"Превет", "малоко", "карова"})) << "the edited paragraph is checked";
}

TEST_F(SpellCheck, ChosenSuggestionReplacesTheWordAsOneUndoStep)
{
    SpellChecker checker(userFile);
    QTextEdit edit;
    SpellHighlighter highlighter(checker, edit.document());
    QTextCursor(edit.document()).insertText(QStringLiteral("Мы пили малоко")); // typed: on the undo stack
    const QStringList standard = Texts(*std::unique_ptr<QMenu>(edit.createStandardContextMenu()));

    bool added = true;
    EXPECT_EQ(Texts(*MenuAt(checker, edit, QStringLiteral("пили"), added)), standard);
    EXPECT_FALSE(added) << "nothing for a right word";

    const auto menu = MenuAt(checker, edit, QStringLiteral("малоко"), added);
    ASSERT_TRUE(added);
    const QStringList texts = Texts(*menu);
    const qsizetype add = texts.indexOf(AddWord);
    ASSERT_GE(add, 1);
    EXPECT_LE(add, 7);
    EXPECT_TRUE(texts.first(add).contains(QStringLiteral("молоко"))) << texts.join(u',').toStdString();
    EXPECT_EQ(texts.sliced(add + 1), QStringList{"----"} + standard);

    Action(*menu, QStringLiteral("молоко"))->trigger();
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("Мы пили молоко"));
    EXPECT_EQ(Underlined(*edit.document()), QStringList());
    edit.undo();
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("Мы пили малоко"));
    EXPECT_EQ(Underlined(*edit.document()), QStringList{"малоко"});
}

TEST_F(SpellCheck, AddedWordIsKeptInThePersonalList)
{
    QTextEdit edit;
    {
        SpellChecker checker(userFile);
        SpellHighlighter highlighter(checker, edit.document());
        edit.setPlainText(QStringLiteral("Стенова пишет, Стенова читает"));
        ASSERT_EQ(Underlined(*edit.document()), (QStringList{"Стенова", "Стенова"}));
        bool added = false;
        const auto menu = MenuAt(checker, edit, QStringLiteral("Стенова"), added);
        ASSERT_TRUE(added);
        Action(*menu, AddWord)->trigger();
        QCoreApplication::processEvents(); // the underlines are redone from the event loop
        EXPECT_EQ(Underlined(*edit.document()), QStringList());
        EXPECT_EQ(edit.toPlainText(), QStringLiteral("Стенова пишет, Стенова читает"));
        EXPECT_EQ(ReadFile(userFile), "Стенова\n");
    }
    SpellChecker next(userFile);
    EXPECT_FALSE(next.isMisspelt(QStringLiteral("Стенова")));
    EXPECT_TRUE(next.isMisspelt(QStringLiteral("Суфлёрка")));
    EXPECT_TRUE(next.addToUserDictionary(QStringLiteral("Суфлёрка")));
    EXPECT_FALSE(next.isMisspelt(QStringLiteral("Суфлёрка")));
    EXPECT_EQ(ReadFile(userFile), "Стенова\nСуфлёрка\n");
}

TEST_F(SpellCheck, IsOffWithoutADictionary)
{
    SpellChecker checker(userFile, dir.path());
    EXPECT_FALSE(checker.available());
    EXPECT_FALSE(checker.enabled());
    QTextEdit edit;
    SpellHighlighter highlighter(checker, edit.document());
    edit.setPlainText(QStringLiteral("Превет малоко"));
    highlighter.rehighlight();
    EXPECT_EQ(Underlined(*edit.document()), QStringList());
    const QStringList standard = Texts(*std::unique_ptr<QMenu>(edit.createStandardContextMenu()));
    bool added = true;
    EXPECT_EQ(Texts(*MenuAt(checker, edit, QStringLiteral("Превет"), added)), standard);
    EXPECT_FALSE(added);
    EXPECT_EQ(checker.suggestions(QStringLiteral("Превет")), QStringList());
    EXPECT_FALSE(checker.addToUserDictionary(QStringLiteral("Превет")));
    EXPECT_FALSE(QFile::exists(userFile));
}

// Dictionaries in other encodings than UTF-8: a Russian one in KOI8-R, an English one in
// ISO 8859-1 (Hunspell's encoding when the affix file has no SET line).
TEST_F(SpellCheck, ReadsEachDictionaryInItsOwnEncoding)
{
    QStringEncoder koi8r("KOI8-R");
    ASSERT_TRUE(WriteFile(dir.filePath("ru_RU.aff"),
                          "SET KOI8-R\nTRY " + QByteArray(koi8r.encode(QStringLiteral("оаеик"))) + "\n"));
    ASSERT_TRUE(
        WriteFile(dir.filePath("ru_RU.dic"), "2\n" + QByteArray(koi8r.encode(QStringLiteral("молоко\nкорова\n")))));
    ASSERT_TRUE(WriteFile(dir.filePath("en_US.aff"), "TRY ea\xE9\n"));
    ASSERT_TRUE(WriteFile(dir.filePath("en_US.dic"), "1\ncaf\xE9\n"));
    SpellChecker checker(userFile, dir.path());
    ASSERT_TRUE(checker.available());

    EXPECT_FALSE(checker.isMisspelt(QStringLiteral("молоко")));
    EXPECT_FALSE(checker.isMisspelt(QStringLiteral("Корова")));
    EXPECT_FALSE(checker.isMisspelt(QStringLiteral("café")));
    EXPECT_TRUE(checker.isMisspelt(QStringLiteral("малоко")));
    EXPECT_TRUE(checker.isMisspelt(QStringLiteral("cafe")));
    EXPECT_EQ(checker.suggestions(QStringLiteral("малоко")), QStringList{"молоко"});
    EXPECT_EQ(checker.suggestions(QStringLiteral("cafa")), QStringList{"café"});

    EXPECT_TRUE(checker.addToUserDictionary(QStringLiteral("ёжик")));
    EXPECT_FALSE(checker.isMisspelt(QStringLiteral("ёжик")));
    EXPECT_EQ(ReadFile(userFile), "ёжик\n") << "the personal list is UTF-8 whatever the dictionaries are";
}
