// The transcript's document in the text window: saving and loading a 200-page transcript
// (100 000 words, speakers in bold) as a document file, with spell checking on and off, how
// long the underlines take to follow a load, and the typing latency (key event to the repaint
// of the editor) with spell checking on, at the end and in the middle of the document.
#include "BenchUtil.h"

#include "document/DocumentContainer.h"
#include "document/SpellChecker.h"
#include "document/SpellHighlighter.h"
#include "document/TFormOle.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <clocale>
#include <functional>

namespace {

double Ms(const QElapsedTimer &t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// 2 000 paragraphs of 50 words: a speaker in bold, a time stamp, a marker, speech with a typo
// now and then.
void FillTranscript(QTextEdit &edit)
{
    const QStringList speech =
        QStringLiteral("ну вот значит мы в прошлый раз говорили о том что кто-то из коллег предложил перенести "
                       "встречу на следующую неделю потому что отчёт ещё не готов и превет всем кто слушает "
                       "запись сегодняшнего совещания по бюджету малоко")
            .split(u' ');
    QTextCursor cursor(edit.document());
    QTextCharFormat bold, plain;
    bold.setFontWeight(QFont::Bold);
    int word = 0;
    for (int p = 0; p < 2000; ++p) {
        if (p) cursor.insertBlock();
        cursor.insertText(p % 2 ? QStringLiteral("Иванов:") : QStringLiteral("Петрова:"), bold);
        cursor.insertText(
            QStringLiteral(" 00:%1:%2 {z%3} ").arg(p / 60 % 60, 2, 10, u'0').arg(p % 60, 2, 10, u'0').arg(p % 9 + 1),
            plain);
        QString text;
        for (int i = 0; i < 46; ++i) text += speech[word++ % speech.size()] + u' ';
        cursor.insertText(text, plain);
    }
}

SpellHighlighter *Highlighter(TFormOle &window)
{
    return window.OleContainer1->document()->findChild<SpellHighlighter *>();
}

void WaitForUnderlines(TFormOle &window)
{
    while (SpellHighlighter *h = Highlighter(window)) {
        if (!h->checking()) return;
        QApplication::processEvents();
    }
}

// Key press and release of a letter, then until the editor's page has been painted.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) painted = true;
        return false;
    }
};

std::vector<double> Typing(TFormOle &window, int keys)
{
    DocumentContainer &edit = *window.OleContainer1;
    PaintWatch watch;
    edit.viewport()->installEventFilter(&watch);
    std::vector<double> ms;
    const QString letters = QStringLiteral("привет мир ");
    for (int i = 0; i < keys; ++i) {
        const QString letter = letters.mid(i % letters.size(), 1);
        watch.painted = false;
        QElapsedTimer t;
        t.start();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, letter);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, letter);
        QApplication::sendEvent(&edit, &press);
        QApplication::sendEvent(&edit, &release);
        while (!watch.painted && t.elapsed() < 1000) QApplication::processEvents();
        QApplication::processEvents(); // the paint that was seen, finished
        ms.push_back(Ms(t));
    }
    edit.viewport()->removeEventFilter(&watch);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("transcript.ole"));

    TFormOle window;
    window.resize(900, 700);
    window.show();
    QEventLoop ready;
    QObject::connect(&window, &TFormOle::spellCheckerReady, &ready, &QEventLoop::quit);
    window.startSpellChecking(dir.filePath(QStringLiteral("UserDictionary.txt")));
    ready.exec();
    DocumentContainer &doc = *window.OleContainer1;
    FillTranscript(doc);
    doc.DoVerb(DocumentContainer::PrimaryVerb);
    WaitForUnderlines(window);
    std::printf("platform %s, spell checking %s, %d paragraphs, %zu characters\n",
                qPrintable(QApplication::platformName()),
                window.spellChecker()->available() ? "available" : "not available", doc.document()->blockCount(),
                static_cast<size_t>(doc.document()->characterCount()));

    std::vector<double> save, load, underlines;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        doc.SaveToFile(path);
        save.push_back(Ms(t));
    }
    std::printf("document file %.1f KB\n", QFileInfo(path).size() / 1024.0);
    PrintStats("save, 200 pages", save, "ms");

    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        doc.LoadFromFile(path);
        load.push_back(Ms(t));
        WaitForUnderlines(window);
        underlines.push_back(Ms(t));
    }
    PrintStats("load, 200 pages, spell checking on", load, "ms");
    PrintStats("load until the underlines are done", underlines, "ms");

    window.SpellingOn->setChecked(false);
    WaitForUnderlines(window);
    load.clear();
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        doc.LoadFromFile(path);
        load.push_back(Ms(t));
    }
    PrintStats("load, 200 pages, spell checking off", load, "ms");
    window.SpellingOn->setChecked(true);
    WaitForUnderlines(window);

    doc.DoVerb(DocumentContainer::PrimaryVerb);
    doc.moveCursor(QTextCursor::End);
    PrintStats("typing at the end, spell checking on", Typing(window, 300), "ms");
    QTextCursor middle(doc.document()->findBlockByNumber(1000));
    middle.movePosition(QTextCursor::EndOfBlock);
    doc.setTextCursor(middle);
    doc.ensureCursorVisible();
    PrintStats("typing in the middle, spell checking on", Typing(window, 300), "ms");
    return 0;
}
