#include "document/EditorTools.h"
#include "document/FindReplaceDialog.h"
#include "document/TranscriptExport.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "TestWait.h"
#include "TestFiles.h"

namespace {

QTextCursor Select(QTextEdit &editor, int from, int to)
{
    QTextCursor cursor(editor.document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    return cursor;
}

void PlaceCursor(QTextEdit &editor, int position) { Select(editor, position, position); }

QTextCharFormat FormatAt(const QTextDocument &doc, int position)
{
    QTextCursor cursor(const_cast<QTextDocument *>(&doc));
    cursor.setPosition(position + 1); // the format of the character before the cursor
    return cursor.charFormat();
}

QString Selected(const QTextEdit &editor) { return editor.textCursor().selectedText(); }

// Group separators of any kind read as plain spaces.
QString Plain(const QString &s) { return QString(s).replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' '); }

// The find dialog driven through its own fields and buttons.
struct FindDialogDriver {
    FindReplaceDialog &dialog;
    void setFind(const QString &text) { dialog.findChild<QLineEdit *>("FindText")->setText(text); }
    void setReplace(const QString &text) { dialog.findChild<QLineEdit *>("ReplaceText")->setText(text); }
    void setOptions(bool matchCase, bool wholeWords)
    {
        dialog.findChild<QCheckBox *>("MatchCase")->setChecked(matchCase);
        dialog.findChild<QCheckBox *>("WholeWords")->setChecked(wholeWords);
    }
    void click(const char *button) { dialog.findChild<QPushButton *>(button)->click(); }
    QString status() const { return dialog.findChild<QLabel *>("FindStatus")->text(); }
};

} // namespace

TEST(EditorActions, BoldItalicUnderlineFormatTheSelectionAndTheirChecksFollowTheCursor)
{
    QTextEdit editor;
    EditorActions actions(&editor);
    const struct {
        const char *name;
        QAction *action;
        std::function<bool(const QTextCharFormat &)> isOn;
    } styles[] = {
        {"bold", actions.bold(), [](const QTextCharFormat &f) { return f.font().bold(); }},
        {"italic", actions.italic(), [](const QTextCharFormat &f) { return f.fontItalic(); }},
        {"underline", actions.underline(), [](const QTextCharFormat &f) { return f.fontUnderline(); }},
    };
    for (const auto &style : styles) {
        SCOPED_TRACE(style.name);
        editor.setPlainText(QStringLiteral("один два три"));
        EXPECT_FALSE(style.action->isChecked());
        Select(editor, 5, 8); // "два"
        style.action->trigger();
        const QTextDocument &doc = *editor.document();
        EXPECT_FALSE(style.isOn(FormatAt(doc, 4)));
        EXPECT_TRUE(style.isOn(FormatAt(doc, 5)));
        EXPECT_TRUE(style.isOn(FormatAt(doc, 7)));
        EXPECT_FALSE(style.isOn(FormatAt(doc, 8)));
        EXPECT_TRUE(style.action->isChecked());

        PlaceCursor(editor, 2); // inside "один"
        EXPECT_FALSE(style.action->isChecked());
        PlaceCursor(editor, 7); // inside "два"
        EXPECT_TRUE(style.action->isChecked());

        Select(editor, 0, 12); // all of it, starting in plain text: the action makes all of it styled
        EXPECT_FALSE(style.action->isChecked()) << "the format before the selection's end counts";
        Select(editor, 12, 0);
        EXPECT_FALSE(style.action->isChecked());
        style.action->trigger();
        for (int i = 0; i < 12; ++i) EXPECT_TRUE(style.isOn(FormatAt(doc, i))) << i;
        style.action->trigger(); // and off again
        for (int i = 0; i < 12; ++i) EXPECT_FALSE(style.isOn(FormatAt(doc, i))) << i;
        EXPECT_FALSE(style.action->isChecked());
    }
}

TEST(EditorActions, UndoAndRedoAreEnabledAsTheDocumentAllows)
{
    QTextEdit editor;
    EditorActions actions(&editor);
    editor.setPlainText(QStringLiteral("начало"));
    EXPECT_FALSE(actions.undo()->isEnabled()) << "a loaded text has nothing to undo";
    EXPECT_FALSE(actions.redo()->isEnabled());

    PlaceCursor(editor, 6);
    editor.textCursor().insertText(QStringLiteral(" и конец"));
    EXPECT_TRUE(actions.undo()->isEnabled());
    EXPECT_FALSE(actions.redo()->isEnabled());

    actions.undo()->trigger();
    EXPECT_EQ(editor.toPlainText(), "начало");
    EXPECT_FALSE(actions.undo()->isEnabled());
    EXPECT_TRUE(actions.redo()->isEnabled());

    actions.redo()->trigger();
    EXPECT_EQ(editor.toPlainText(), "начало и конец");
    EXPECT_TRUE(actions.undo()->isEnabled());
    EXPECT_FALSE(actions.redo()->isEnabled());

    // Another document in the same editor brings its own state.
    QTextDocument other;
    QTextCursor(&other).insertText(QStringLiteral("другой"));
    editor.setDocument(&other);
    EXPECT_TRUE(actions.undo()->isEnabled());
    EXPECT_FALSE(actions.redo()->isEnabled());
    editor.setDocument(nullptr);
}

// Real key presses in a shown window whose editor has the focus.
TEST(EditorActions, ShortcutsWorkWhileTheEditorHasTheFocus)
{
    QWidget window;
    auto *editor = new QTextEdit(&window);
    editor->resize(400, 300);
    EditorActions actions(editor);
    FindReplaceDialog find(editor);
    window.show();
    window.activateWindow();
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(WaitFor([&] { return editor->hasFocus(); }));

    editor->setPlainText(QStringLiteral("Кот и кот"));
    Select(*editor, 0, 3);
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_U, Qt::ControlModifier);
    const QTextCharFormat format = FormatAt(*editor->document(), 1);
    EXPECT_TRUE(format.font().bold());
    EXPECT_TRUE(format.fontItalic());
    EXPECT_TRUE(format.fontUnderline());

    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(FormatAt(*editor->document(), 1).fontUnderline()) << "one step undone";
    EXPECT_TRUE(FormatAt(*editor->document(), 1).fontItalic());
    QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(FormatAt(*editor->document(), 1).fontUnderline());
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(FormatAt(*editor->document(), 1).fontUnderline());

    PlaceCursor(*editor, 0);
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(find.isVisible());
    EXPECT_FALSE(find.findChild<QLineEdit *>("ReplaceText")->isVisible());
    find.findChild<QLineEdit *>("FindText")->setText(QStringLiteral("кот"));
    find.hide();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(editor->textCursor().selectionStart(), 0);
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(editor->textCursor().selectionStart(), 6);
    QTest::keyClick(editor, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(editor->textCursor().selectionStart(), 0);
    QTest::keyClick(editor, Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(find.isVisible());
    EXPECT_TRUE(find.findChild<QLineEdit *>("ReplaceText")->isVisible());
    EXPECT_EQ(find.findChild<QLineEdit *>("FindText")->text(), "Кот") << "the selection is what to find";
}

TEST(EditorActions, ContextMenuGetsEachToolOnceAfterTheStandardEntries)
{
    QTextEdit editor;
    EditorActions actions(&editor);
    FindReplaceDialog find(&editor);
    const auto count = [](const QMenu &menu, const QKeySequence &key) {
        int n = 0;
        for (const QAction *a : menu.actions()) n += a->shortcut() == key || a->text().endsWith(key.toString());
        return n;
    };
    std::unique_ptr<QMenu> standard(editor.createStandardContextMenu());
    const qsizetype standardCount = standard->actions().size();
    actions.appendTo(standard.get());
    find.appendTo(standard.get());
    EXPECT_EQ(count(*standard, QKeySequence(Qt::CTRL | Qt::Key_Z)), 1) << "undo only once";
    EXPECT_TRUE(standard->actions().contains(actions.bold()));
    EXPECT_TRUE(standard->actions().contains(actions.font()));
    EXPECT_TRUE(standard->actions().contains(find.replaceAction()));
    EXPECT_GT(standard->actions().indexOf(actions.bold()), standardCount - 1);

    QMenu own;
    actions.appendTo(&own);
    EXPECT_TRUE(own.actions().contains(actions.undo()));
    EXPECT_TRUE(own.actions().contains(actions.redo()));
}

TEST(EditorActions, FontDialogSetsTheDefaultFontAndReportsIt)
{
    const QFont initial = DefaultEditorFont();
    EXPECT_EQ(initial.pointSize(), 14);
    EXPECT_EQ(QFontInfo(initial).family(), initial.family()) << "an installed family";
    EXPECT_EQ(initial.family(), "Liberation Serif") << "fonts-liberation2 is installed";

    QTextEdit editor;
    SetEditorFont(&editor, initial);
    editor.setPlainText(QStringLiteral("Текст"));
    EditorActions actions(&editor);
    QList<QFont> reported;
    QObject::connect(&actions, &EditorActions::fontChosen, [&](const QFont &f) { reported.append(f); });

    // The dialog is modal: it is answered from the event loop it runs.
    const auto answer = [](bool accept) {
        QTimer::singleShot(0, [accept] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->currentFont().family(), "Liberation Serif") << "it opens on the editor's font";
            QFont chosen(QStringLiteral("DejaVu Serif"), 18);
            chosen.setBold(true);
            dialog->setCurrentFont(chosen);
            accept ? dialog->accept() : dialog->reject();
        });
    };
    answer(false);
    actions.font()->trigger();
    EXPECT_TRUE(reported.isEmpty());
    EXPECT_EQ(editor.document()->defaultFont().family(), "Liberation Serif");

    answer(true);
    actions.font()->trigger();
    ASSERT_EQ(reported.size(), 1);
    EXPECT_EQ(reported[0].family(), "DejaVu Serif");
    EXPECT_EQ(reported[0].pointSize(), 18);
    const QFont now = editor.document()->defaultFont();
    EXPECT_EQ(now.family(), "DejaVu Serif");
    EXPECT_EQ(now.pointSize(), 18);
    EXPECT_FALSE(now.bold()) << "only family and size are taken";
    EXPECT_EQ(FormatAt(*editor.document(), 0).font().family(), "DejaVu Serif") << "the text shows in it";
}

TEST(FindReplace, FindsRussianTextRegardlessOfCaseAndGoesOnFromTheOtherEnd)
{
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("Привет, мир.\nА он: привет снова. ПРИВЕТ!"));
    FindReplaceDialog dialog(&editor);
    FindDialogDriver find{dialog};
    find.setFind(QStringLiteral("привет"));
    PlaceCursor(editor, 0);

    find.click("FindNext");
    EXPECT_EQ(Selected(editor), "Привет");
    EXPECT_EQ(find.status(), "");
    find.click("FindNext");
    EXPECT_EQ(Selected(editor), "привет");
    EXPECT_EQ(editor.textCursor().selectionStart(), 19) << "in the second paragraph";
    find.click("FindNext");
    EXPECT_EQ(Selected(editor), "ПРИВЕТ");
    find.click("FindNext");
    EXPECT_EQ(editor.textCursor().selectionStart(), 0) << "again from the beginning";
    EXPECT_EQ(find.status(), "Поиск продолжен с начала");
    find.click("FindPrevious");
    EXPECT_EQ(Selected(editor), "ПРИВЕТ") << "backwards from the end";
    EXPECT_EQ(find.status(), "Поиск продолжен с конца");
    find.click("FindPrevious");
    EXPECT_EQ(Selected(editor), "привет");
    EXPECT_EQ(find.status(), "");

    find.setOptions(true, false);
    EXPECT_TRUE(dialog.findNext());
    EXPECT_EQ(editor.textCursor().selectionStart(), 19);
    EXPECT_TRUE(dialog.findNext());
    EXPECT_EQ(editor.textCursor().selectionStart(), 19) << "the only one in lower case, found again";

    find.setFind(QStringLiteral("пока"));
    EXPECT_FALSE(dialog.findNext());
    EXPECT_EQ(find.status(), "Не найдено");
    EXPECT_EQ(editor.textCursor().selectionStart(), 19) << "the selection stays";
}

TEST(FindReplace, ReplaceAllChangesTheRightWordsInOneUndoStep)
{
    const QString text = QStringLiteral("Кот и кот. Котик кот-кот, КОТ! Скот");
    const struct {
        bool matchCase, wholeWords;
        const char *expected;
        int count;
    } cases[] = {
        {false, true, "пёс и пёс. Котик пёс-пёс, пёс! Скот", 5},
        {true, true, "Кот и пёс. Котик пёс-пёс, КОТ! Скот", 3},
        {false, false, "пёс и пёс. пёсик пёс-пёс, пёс! Спёс", 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        QTextEdit editor;
        editor.setPlainText(text);
        FindReplaceDialog dialog(&editor);
        FindDialogDriver find{dialog};
        find.setFind(QStringLiteral("кот"));
        find.setReplace(QStringLiteral("пёс"));
        find.setOptions(c.matchCase, c.wholeWords);
        find.click("ReplaceAll");
        EXPECT_EQ(editor.toPlainText(), QString::fromUtf8(c.expected));
        EXPECT_EQ(find.status(), QStringLiteral("Заменено: %1").arg(c.count));
        editor.undo();
        EXPECT_EQ(editor.toPlainText(), text) << "one undo takes back every replacement";
        EXPECT_FALSE(editor.document()->isUndoAvailable());
    }

    // One at a time: only a selection that is an occurrence is replaced, then the next is selected.
    QTextEdit editor;
    editor.setPlainText(text);
    FindReplaceDialog dialog(&editor);
    FindDialogDriver find{dialog};
    find.setFind(QStringLiteral("кот"));
    find.setReplace(QStringLiteral("кошка"));
    find.setOptions(false, true);
    Select(editor, 11, 14); // "Кот" of "Котик": not a whole word
    find.click("Replace");
    EXPECT_EQ(editor.toPlainText(), text);
    EXPECT_EQ(editor.textCursor().selectionStart(), 17) << "the next occurrence selected";
    find.click("Replace");
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Кот и кот. Котик кошка-кот, КОТ! Скот"));
    EXPECT_EQ(editor.textCursor().selectionStart(), 23);
    EXPECT_EQ(Selected(editor), "кот");
}

TEST(WordCount, CountsRunsOfLettersAndDigitsWithInnerHyphens)
{
    const struct {
        const char *text;
        int words;
    } cases[] = {
        {"", 0},
        {" \t — ... ", 0},
        {"Привет, мир!", 2},
        {"кто-то пришёл в 5-й раз", 5},
        {"слово - слово -слово слово-", 4},
        {"в 01:02:03 было 3,5 и 1.5 раза", 7},
        {"{z1}Начало {z12} конец{z3}", 2},
        {"{не маркер} и {}", 3},
        {"ёжик\u2029ёлка\u2028ель", 3},
        {"и\u0306од", 1}, // a letter with a combining mark
    };
    for (const auto &c : cases) EXPECT_EQ(CountWords(QString::fromUtf8(c.text)), c.words) << c.text;
}

TEST(WordCount, LabelShowsTheTotalAndTheSelectionAfterTheTypingStops)
{
    QTextEdit editor;
    WordCountLabel label(&editor);
    EXPECT_EQ(label.text(), "Слов: 0");

    editor.setPlainText(QStringLiteral("Привет, мир! Кто-то пришёл в 01:02:03 {z1} — и ушёл."));
    EXPECT_EQ(label.text(), "Слов: 0") << "not counted on every change";
    EXPECT_TRUE(WaitFor([&] { return label.text() == "Слов: 8"; })) << label.text().toStdString();

    Select(editor, 8, 19); // "мир! Кто-то"
    EXPECT_TRUE(WaitFor([&] { return label.text() == "Слов: 2 из 8"; })) << label.text().toStdString();
    PlaceCursor(editor, 3);
    EXPECT_TRUE(WaitFor([&] { return label.text() == "Слов: 8"; })) << label.text().toStdString();

    editor.setPlainText(QStringLiteral("слово ").repeated(1233) + QStringLiteral("\nи ещё"));
    label.refresh();
    EXPECT_EQ(Plain(label.text()), "Слов: 1 235");
    Select(editor, 0, static_cast<int>(editor.toPlainText().size()));
    label.refresh();
    EXPECT_EQ(Plain(label.text()), "Слов: 1 235 из 1 235");
}

TEST(TranscriptExport, OdtHoldsTheTextAndItsBoldAsOdt2txtReadsIt)
{
    QTemporaryDir dir;
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("Спикер 1: Добрый день, коллеги. "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Важное замечание"), bold);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Вторая строка — ёлка."), QTextCharFormat());
    const QString path = dir.filePath(QStringLiteral("стенограмма.odt"));
    ASSERT_EQ(ExportTranscript(doc, ExportFormat::Odt, path), "");

    const auto odt2txt = [&](const QStringList &options) {
        QProcess p;
        p.start(QStringLiteral("odt2txt"), options + QStringList{QStringLiteral("--encoding=UTF-8"), path});
        EXPECT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString text = odt2txt({QStringLiteral("--width=-1")});
    EXPECT_TRUE(text.contains(QStringLiteral("Спикер 1: Добрый день, коллеги. Важное замечание\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Вторая строка — ёлка."))) << text.toStdString();

    // The bold words sit in a span whose style is bold.
    const QString xml = odt2txt({QStringLiteral("--raw")});
    const QRegularExpression span(QStringLiteral("<text:span text:style-name=\"([^\"]+)\">Важное замечание<"));
    const QRegularExpressionMatch m = span.match(xml);
    ASSERT_TRUE(m.hasMatch()) << xml.toStdString();
    const QRegularExpression style(QStringLiteral("<style:style style:name=\"%1\"[^>]*>\\s*<style:text-properties[^>]*"
                                                  "fo:font-weight=\"(bold|700)\"")
                                       .arg(QRegularExpression::escape(m.captured(1))));
    EXPECT_TRUE(style.match(xml).hasMatch()) << xml.toStdString();
}

TEST(TranscriptExport, PlainTextIsUtf8WithLineFeeds)
{
    QTemporaryDir dir;
    QTextEdit editor;
    editor.setHtml(QStringLiteral("<p>Съешь же ещё этих <b>мягких</b> французских булок,</p>"
                                  "<p>да выпей чаю.<br>Новая строка</p>"));
    const QString path = dir.filePath(QStringLiteral("стенограмма.txt"));
    ASSERT_EQ(ExportTranscript(*editor.document(), ExportFormat::PlainText, path), "");
    EXPECT_EQ(ReadFile(path), QByteArray("Съешь же ещё этих мягких французских булок,\n"
                                         "да выпей чаю.\nНовая строка"));
}

TEST(TranscriptExport, AFailedExportSaysWhyAndLeavesNoFile)
{
    QTemporaryDir dir;
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("текст"));
    QFile blocker(dir.filePath(QStringLiteral("файл")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QStringList targets = {dir.filePath(QStringLiteral("нет такой папки/a")), dir.filePath(QStringLiteral("файл/a"))};
    // A folder without write permission holds back everyone but root.
    const QString readOnly = dir.filePath(QStringLiteral("только чтение"));
    ASSERT_TRUE(QDir().mkdir(readOnly));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(readOnly + QStringLiteral("/probe"));
    if (probe.open(QIODevice::WriteOnly)) probe.remove();
    else targets.append(readOnly + QStringLiteral("/a"));

    const std::pair<ExportFormat, const char *> formats[] = {{ExportFormat::Odt, ".odt"},
                                                             {ExportFormat::PlainText, ".txt"}};
    for (const QString &target : targets) {
        for (const auto &[format, extension] : formats) {
            const QString path = target + QString::fromLatin1(extension);
            SCOPED_TRACE(path.toStdString());
            const QString error = ExportTranscript(doc, format, path);
            EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
            EXPECT_FALSE(QFile::exists(path));
        }
    }
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2) << "no leftovers";
}

TEST(TranscriptExport, DefaultPathIsTheMediaNameInItsFolder)
{
    EXPECT_EQ(DefaultExportPath("/home/ann/Lectures/day1.mp3", ExportFormat::Odt), "/home/ann/Lectures/day1.odt");
    EXPECT_EQ(DefaultExportPath("/home/ann/Lectures/day1.mp3", ExportFormat::PlainText), "/home/ann/Lectures/day1.txt");
    EXPECT_EQ(DefaultExportPath("/д/Лекция 2.часть 1.wav", ExportFormat::Odt), "/д/Лекция 2.часть 1.odt");
    EXPECT_EQ(DefaultExportPath("/д/запись", ExportFormat::PlainText), "/д/запись.txt");
    EXPECT_EQ(DefaultExportPath("", ExportFormat::Odt), "");
}
