// The recovery copy of the transcript: how long after a keystroke the text is on disk (median
// and worst), and what the copy costs the typing with a 100-page transcript: the time a
// keystroke takes with the copy's count running, and how long each copy holds the UI thread
// (the document made into its file's bytes; the file itself is written on a thread of its own).
#include "BenchUtil.h"
#include "doubles/FakeDesktop.h"
#include "doubles/FakeEngines.h"
#include "doubles/FakeScrollLock.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordingMpcTransport.h"
#include "doubles/VirtualClock.h"

#include "app/MediaOpener.h"
#include "app/Program.h"
#include "app/TextDocuments.h"
#include "document/DocumentContainer.h"
#include "document/TFormOle.h"
#include "forms/TForm1.h"
#include "platform/BackgroundWriter.h"
#include "platform/QtClock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QThread>
#include <clocale>

namespace {

double Ms(const QElapsedTimer &t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// 1 000 paragraphs of 50 words, a speaker in bold: about 100 pages.
void FillTranscript(QTextEdit &edit)
{
    const QStringList speech = QStringLiteral("ну вот значит мы в прошлый раз говорили о том что кто-то из коллег "
                                              "предложил перенести встречу на следующую неделю потому что отчёт")
                                   .split(u' ');
    QTextCursor cursor(edit.document());
    QTextCharFormat bold, plain;
    bold.setFontWeight(QFont::Bold);
    for (int p = 0, word = 0; p < 1000; ++p) {
        if (p) cursor.insertBlock();
        cursor.insertText(p % 2 ? QStringLiteral("Иванов:") : QStringLiteral("Петрова:"), bold);
        QString text(u' ');
        for (int i = 0; i < 49; ++i) text += speech[word++ % speech.size()] + u' ';
        cursor.insertText(text, plain);
    }
}

void Key(QWidget &edit, const QString &letter)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, letter);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, letter);
    QApplication::sendEvent(&edit, &press);
    QApplication::sendEvent(&edit, &release);
}

void Run(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents();
        QThread::usleep(500);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir home;
    qputenv("STENOVA_HOME", home.path().toUtf8());
    QtClock clock;
    VirtualClock playerClock;
    FakeScrollLock scrollLock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    FakeMci mci(playerClock);
    FakeWmp wmp(playerClock);
    const QString media = home.filePath(QStringLiteral("lecture.wav"));
    QFile(media).open(QIODevice::WriteOnly);
    mci.lengths[media] = 3600 * 1000;
    Program program({clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
                    {QStringLiteral("stenova"), media});
    program.Form1()->show();
    Run(300);
    DocumentContainer &doc = *program.FormOle()->OleContainer1;
    FillTranscript(doc);
    doc.moveCursor(QTextCursor::End);
    program.documents().FlushRecovery();
    const QString recovery = TextDocuments::RecoveryFile(media);
    std::printf("%d paragraphs, %lld characters, recovery file %.0f KB\n", doc.document()->blockCount(),
                static_cast<long long>(doc.document()->characterCount()), QFileInfo(recovery).size() / 1024.0);

    // Each keystroke after the last copy was written: until the file holds it.
    std::vector<double> toDisk;
    for (int i = 0; i < 30; ++i) {
        const QDateTime before = QFileInfo(recovery).lastModified();
        const qint64 size = QFileInfo(recovery).size();
        QElapsedTimer t;
        t.start();
        Key(doc, QStringLiteral("ж"));
        while (t.elapsed() < 5000) {
            QApplication::processEvents();
            const QFileInfo now(recovery);
            if (now.lastModified() != before || now.size() != size) break;
            QThread::usleep(200);
        }
        toDisk.push_back(Ms(t));
        Run(200);
    }
    PrintStats("keystroke to the recovery file on disk", toDisk, "ms");

    // Typing at 10 keys a second for 6 s: each keystroke's own time, with the copies made
    // meanwhile.
    std::vector<double> keystroke;
    for (int i = 0; i < 60; ++i) {
        QElapsedTimer t;
        t.start();
        Key(doc, QStringLiteral("ж"));
        keystroke.push_back(Ms(t));
        Run(100);
    }
    PrintStats("keystroke, 100 pages, recovery counting", keystroke, "ms");

    std::vector<double> bytes, write;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer t;
        t.start();
        const QByteArray file = doc.fileBytes();
        bytes.push_back(Ms(t));
        t.restart();
        WriteWhole(home.filePath(QStringLiteral("copy.ole")), file);
        write.push_back(Ms(t));
    }
    PrintStats("UI thread per copy (document to bytes)", bytes, "ms");
    PrintStats("writing the copy, on its own thread", write, "ms");
    return 0;
}
