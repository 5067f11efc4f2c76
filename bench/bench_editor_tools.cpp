// The editor's tools on a transcript of 100 000 words (about 200 pages): a typed character
// with the word count attached (which only restarts its delay), the recount when the delay
// ends, the count of a large selection, find next, replace all, and the two exports.
#include "BenchUtil.h"

#include "document/EditorTools.h"
#include "document/FindReplaceDialog.h"
#include "document/TranscriptExport.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <clocale>
#include <functional>

namespace {

std::vector<double> Time(int rounds, const std::function<void(int)> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        work(i);
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

// Paragraphs of 100 words each: a speaker, a time stamp, a marker and Russian speech.
QString Transcript(int words)
{
    const QStringList speech = QStringLiteral("ну вот значит мы в прошлый раз говорили о том что кто-то из "
                                              "коллег предложил перенести встречу на следующую неделю")
                                   .split(u' ');
    QString text;
    for (int w = 0; w < words;) {
        text += QStringLiteral("Спикер 2: 01:02:03 {z1} ");
        w += 3;
        for (int i = 0; i < 97 && w < words; ++i, ++w) text += speech[w % speech.size()] + u' ';
        text += u'\n';
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;

    QTextEdit editor;
    editor.setPlainText(Transcript(100000));
    WordCountLabel count(&editor);
    std::printf("document: %lld characters, %d paragraphs, %s\n", static_cast<long long>(editor.toPlainText().size()),
                editor.document()->blockCount(), qPrintable(count.text()));

    QTextCursor middle(editor.document());
    middle.setPosition(editor.document()->characterCount() / 2);
    const auto type = [&](int) { middle.insertText(QStringLiteral("а")); };
    PrintStats("type a character (word count attached)", Time(200, type), "ms");
    const auto recount = [&](int i) {
        type(i);
        count.refresh();
    };
    PrintStats("recount the whole document", Time(20, recount), "ms");
    QTextCursor all(editor.document());
    all.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    editor.setTextCursor(all);
    PrintStats("count a selection of the whole document", Time(20, [&](int) { count.refresh(); }), "ms");

    FindReplaceDialog find(&editor);
    find.findChild<QLineEdit *>(QStringLiteral("FindText"))->setText(QStringLiteral("встречу"));
    find.findChild<QCheckBox *>(QStringLiteral("WholeWords"))->setChecked(true);
    editor.moveCursor(QTextCursor::Start);
    PrintStats("find next (whole word, ignoring case)", Time(200, [&](int) { find.findNext(); }), "ms");
    find.findChild<QLineEdit *>(QStringLiteral("ReplaceText"))->setText(QStringLiteral("беседу"));
    int replaced = 0;
    const auto replaceAll = [&](int) {
        replaced = find.replaceAll();
        editor.undo();
    };
    PrintStats("replace all, then undo", Time(5, replaceAll), "ms");
    std::printf("occurrences replaced: %d\n", replaced);

    const auto exportAs = [&](ExportFormat format, const QString &name) {
        return [&, format, name](int) { ExportTranscript(*editor.document(), format, dir.filePath(name)); };
    };
    PrintStats("export as OpenDocument Text", Time(5, exportAs(ExportFormat::Odt, QStringLiteral("t.odt"))), "ms");
    PrintStats("export as plain text", Time(5, exportAs(ExportFormat::PlainText, QStringLiteral("t.txt"))), "ms");
    return 0;
}
