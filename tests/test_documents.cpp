#include "ProgramFixture.h"

#include "app/TextDocuments.h"
#include "automation/TextInjection.h"
#include "document/DocumentContainer.h"
#include "document/EditorTools.h"
#include "document/TFormOle.h"
#include "persist/MediaKey.h"
#include "platform/Clock.h"
#include "TestFiles.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>
#include <QToolButton>
#include <QtEndian>

namespace {

// The text a document file holds.
QString TextOf(const QString &path)
{
    DocumentContainer reader;
    reader.LoadFromFile(path);
    return reader.toPlainText();
}

// A document file with the given text, as the program writes it.
void WriteDocument(const QString &path, const QString &text)
{
    DocumentContainer writer;
    writer.LoadEmpty();
    writer.setPlainText(text);
    writer.SaveToFile(path);
}

class DocumentsTest : public ProgramTest {
protected:
    void SetUp() override { start(); }
    DocumentContainer &doc() { return *program->FormOle()->OleContainer1; }
    TextDocuments &docs() { return program->documents(); }
    QString work(const QString &name) { return home.filePath(QStringLiteral("AvtoSave/") + name); }
    QString perMedia(const QString &mediaPath) { return work(MakeMediaKey(mediaPath) + QStringLiteral(".ole")); }
    void type(const QString &text)
    {
        doc().moveCursor(QTextCursor::End);
        doc().insertPlainText(text);
    }
    QStringList oleFiles() { return QDir(work({})).entryList({QStringLiteral("*.ole")}, QDir::Files, QDir::Name); }
};

} // namespace

TEST(DocumentFile, RussianTextAndFormattingSurviveASaveAndALoad)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.ole"));
    DocumentContainer original;
    original.LoadEmpty();
    original.setPlainText(QStringLiteral("Иванов: добрый день.\nПетрова: здравствуйте, ёлки {z1}"));
    QTextCursor bold(original.document());
    bold.setPosition(0);
    bold.setPosition(7, QTextCursor::KeepAnchor);
    QTextCharFormat strong;
    strong.setFontWeight(QFont::Bold);
    strong.setFontItalic(true);
    bold.mergeCharFormat(strong);
    original.SaveToFile(path);

    const QByteArray file = ReadFile(path);
    ASSERT_GT(file.size(), 12);
    EXPECT_EQ(file.left(4), QByteArray("BDOC"));
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 4), 1u);
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 8), static_cast<quint32>(file.size() - 12));

    DocumentContainer copy;
    copy.LoadFromFile(path);
    EXPECT_EQ(copy.toPlainText(), original.toPlainText());
    EXPECT_EQ(copy.state(), DocumentContainer::State::Loaded);
    QTextCursor at(copy.document());
    at.setPosition(3);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
    EXPECT_TRUE(at.charFormat().fontItalic());
    at.setPosition(12);
    EXPECT_NE(at.charFormat().fontWeight(), QFont::Bold);
}

TEST(DocumentFile, DamagedFilesAreRefusedAndTheDocumentStays)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.ole"));
    WriteDocument(good, QStringLiteral("Первый абзац"));
    const QByteArray whole = ReadFile(good);
    QByteArray beyond = whole;
    qToLittleEndian<quint32>(static_cast<quint32>(whole.size()), beyond.data() + 8); // 12 bytes too many
    const struct {
        const char *name;
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        {"not BDOC", "XDOC" + whole.mid(4), "метки BDOC"},
        {"empty", QByteArray(), "метки BDOC"},
        {"text file", "hello", "метки BDOC"},
        {"header cut", whole.left(7), "обрезан"},
        {"size beyond the end", beyond, "больше файла"},
        {"storage cut", whole.left(whole.size() - 5), "больше файла"},
    };
    DocumentContainer doc;
    doc.LoadEmpty();
    doc.setPlainText(QStringLiteral("Текст в окне"));
    for (const auto &c : cases) {
        const QString path = dir.filePath(QStringLiteral("bad.ole"));
        ASSERT_TRUE(WriteFile(path, c.bytes));
        try {
            doc.LoadFromFile(path);
            ADD_FAILURE() << c.name << " was loaded";
        } catch (const DocumentError &e) {
            EXPECT_TRUE(e.damaged) << c.name;
            EXPECT_TRUE(e.message.contains(path)) << c.name;
            EXPECT_TRUE(e.message.contains(QString::fromUtf8(c.reason))) << c.name << ": " << e.message.toStdString();
        }
        EXPECT_EQ(doc.toPlainText(), QStringLiteral("Текст в окне")) << c.name;
        EXPECT_EQ(ReadFile(path), c.bytes) << c.name; // a failed load writes nothing
    }
    // A file that is not there is an error of another kind.
    try {
        doc.LoadFromFile(dir.filePath(QStringLiteral("missing.ole")));
        ADD_FAILURE() << "a missing file was loaded";
    } catch (const DocumentError &e) {
        EXPECT_FALSE(e.damaged);
    }
}

TEST(DocumentFile, TheTemplateBesideTheProgramIsAnEmptyDocument)
{
    DocumentContainer doc;
    doc.LoadFromFile(QStringLiteral(STENOVA_SHIPPED_TEMPLATE));
    EXPECT_EQ(doc.state(), DocumentContainer::State::Loaded);
    EXPECT_TRUE(doc.toPlainText().isEmpty());
}

TEST(DocumentFile, StatesOfTheContainer)
{
    DocumentContainer doc;
    EXPECT_EQ(doc.state(), DocumentContainer::State::Empty);
    EXPECT_THROW(doc.SaveToFile(QStringLiteral("/nonexistent/x.ole")), DocumentError);
    doc.LoadEmpty();
    EXPECT_TRUE(doc.isReadOnly()); // loaded, not yet edited
    doc.DoVerb(DocumentContainer::PrimaryVerb);
    EXPECT_EQ(doc.state(), DocumentContainer::State::ActiveInPlace);
    EXPECT_FALSE(doc.isReadOnly());
    doc.Close();
    EXPECT_EQ(doc.state(), DocumentContainer::State::Loaded);
    EXPECT_TRUE(doc.isReadOnly());
    doc.setPlainText(QStringLiteral("остаётся"));
    doc.Close();
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("остаётся"));
    doc.DestroyObject();
    EXPECT_FALSE(doc.hasDocument());
    EXPECT_TRUE(doc.toPlainText().isEmpty());
    doc.DoVerb(DocumentContainer::PrimaryVerb); // nothing to activate
    EXPECT_EQ(doc.state(), DocumentContainer::State::Empty);
    EXPECT_THROW(doc.SaveToFile(QStringLiteral("/tmp/x.ole")), DocumentError);
}

// The autosave writes the document and a numbered copy every three minutes; a tick in the
// external-document mode writes nothing but still counts.
TEST_F(DocumentsTest, AutosaveWritesNumberedCopiesAndSkipsTheExternalMode)
{
    type(QStringLiteral("Первая минута"));
    clock.advance(179999);
    EXPECT_FALSE(QFile::exists(work("AvtoSaveFileTimer.ole")));
    clock.advance(1);
    EXPECT_EQ(TextOf(work("AvtoSaveFileTimer.ole")), QStringLiteral("Первая минута"));
    EXPECT_EQ(TextOf(work("AvtoSaveFileTimer0.ole")), QStringLiteral("Первая минута"));

    form().NWord->trigger();
    type(QStringLiteral(", вторая"));
    clock.advance(180000);
    EXPECT_FALSE(QFile::exists(work("AvtoSaveFileTimer1.ole")));
    EXPECT_EQ(TextOf(work("AvtoSaveFileTimer.ole")), QStringLiteral("Первая минута"));

    form().NWord->trigger();
    clock.advance(180000);
    EXPECT_EQ(TextOf(work("AvtoSaveFileTimer2.ole")), QStringLiteral("Первая минута, вторая"));
    EXPECT_EQ(docs().AutosaveCounter, 3);
    EXPECT_TRUE(messages.errors.isEmpty());

    // The next run numbers on: an earlier run's copies are never written over.
    program.reset();
    start();
    type(QStringLiteral("Второй запуск"));
    clock.advance(180000);
    EXPECT_TRUE(
        TextOf(work("AvtoSaveFileTimer4.ole")).endsWith(QStringLiteral("Второй запуск"))); // 3: the first run's end
    EXPECT_EQ(TextOf(work("AvtoSaveFileTimer2.ole")), QStringLiteral("Первая минута, вторая"));
}

TEST_F(DocumentsTest, AFailedAutosaveIsSaidOnceAndTheAutosaveGoesOn)
{
    type(QStringLiteral("текст"));
    QDir(work({})).removeRecursively();
    ASSERT_TRUE(WriteFile(home.filePath("AvtoSave"), "a file where the folder should be"));
    clock.advance(180000);
    clock.advance(180000);
    EXPECT_TRUE(docs().TimerAvtoSave->isActive());
    EXPECT_EQ(docs().AutosaveCounter, 0);
    ASSERT_EQ(messages.errors.size(), 1) << messages.errors.join(u'\n').toStdString();
    EXPECT_TRUE(messages.errors[0].contains(work("AvtoSaveFileTimer.ole"))) << messages.errors[0].toStdString();
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("текст"));

    QFile::remove(home.filePath("AvtoSave"));
    QDir().mkpath(work({}));
    clock.advance(180000);
    EXPECT_EQ(TextOf(work("AvtoSaveFileTimer0.ole")), QStringLiteral("текст"));
    EXPECT_EQ(form().StatusBar1->currentMessage(), "Файл снова сохранён: " + work("AvtoSaveFileTimer.ole"));
}

// Opening another media file keeps the document of the one left and brings back the new
// file's own; shutdown saves the last one, and the next start shows it again.
TEST_F(DocumentsTest, EachMediaFileKeepsItsOwnDocument)
{
    form().show();
    const QString a = openMedia("a.wav");
    EXPECT_TRUE(oleFiles().isEmpty()); // the first open after the start-up dialog switches nothing
    type(QStringLiteral("Текст к записи А"));
    const QString b = openMedia("b.wav");
    EXPECT_EQ(TextOf(perMedia(a)), QStringLiteral("Текст к записи А"));
    EXPECT_EQ(TextOf(work("AvtoSaveFile.ole")), QStringLiteral("Текст к записи А"));
    EXPECT_TRUE(doc().toPlainText().isEmpty()); // no template anywhere: an empty document
    EXPECT_FALSE(doc().isReadOnly());
    EXPECT_EQ(program->session().CurrentMediaPath, b);
    type(QStringLiteral("Текст к записи Б"));

    openMedia("a.wav");
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("Текст к записи А"));
    EXPECT_EQ(TextOf(perMedia(b)), QStringLiteral("Текст к записи Б"));
    type(QStringLiteral(", дописано"));

    // An end without the main window's close query also leaves the error copy.
    program.reset();
    EXPECT_EQ(TextOf(perMedia(a)), QStringLiteral("Текст к записи А, дописано"));
    EXPECT_EQ(TextOf(work("AvtoSaveFile.ole")), QStringLiteral("Текст к записи А, дописано"));
    EXPECT_EQ(ReadFile(work("AvtoSaveERROR.ole")), ReadFile(work("AvtoSaveFile.ole")));
    EXPECT_EQ(TextOf(work("AvtoSaveFileTimer.ole")), QStringLiteral("Текст к записи А, дописано"));

    start(); // reopens a.wav, the file open at the end
    EXPECT_EQ(program->session().CurrentMediaPath, a);
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("Текст к записи А, дописано"));
    QFile::remove(work("AvtoSaveERROR.ole"));
    form().show();
    form().close();
    program.reset();
    EXPECT_FALSE(QFile::exists(work("AvtoSaveERROR.ole")));
}

TEST_F(DocumentsTest, WithoutOneDocumentPerFileTheDocumentStaysAndNothingIsSaved)
{
    form().N15->setChecked(false);
    form().show();
    openMedia("a.wav");
    type(QStringLiteral("общий текст"));
    openMedia("b.wav");
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("общий текст"));
    EXPECT_TRUE(oleFiles().isEmpty());
}

TEST_F(DocumentsTest, ANewMediaFileStartsFromTheTemplate)
{
    WriteDocument(work("TemplateNewFile.ole"), QStringLiteral("Шапка расшифровки"));
    form().show();
    openMedia("a.wav");
    type(QStringLiteral("текст А"));
    openMedia("b.wav");
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("Шапка расшифровки"));
    EXPECT_EQ(TextOf(work("TemplateNewFile.ole")), QStringLiteral("Шапка расшифровки")); // only read
    EXPECT_TRUE(messages.errors.isEmpty());
}

// A damaged document or template is reported and set aside under a name the restore command
// lists; the file opens with an empty document, and the text of the file left is kept.
TEST_F(DocumentsTest, ADamagedDocumentOrTemplateIsSetAsideAndTheFileOpensEmpty)
{
    form().show();
    const QString a = openMedia("a.wav");
    type(QStringLiteral("текст А"));
    const QString b = mediaFile("b.wav");
    ASSERT_TRUE(WriteFile(perMedia(b), QByteArray("BDOC\x01\x00\x00\x00\xff\xff\x00\x00<html>", 18)));
    const QByteArray damaged = ReadFile(perMedia(b));

    openMedia("b.wav");
    const QString aside = work(MakeMediaKey(b) + QStringLiteral(" (повреждён).ole"));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(
        messages.errors[0].startsWith(QStringLiteral("Ошибка документа|Файл документа повреждён: ") + perMedia(b)));
    EXPECT_TRUE(messages.errors[0].contains(aside));
    EXPECT_EQ(program->session().CurrentMediaPath, b);
    EXPECT_TRUE(doc().toPlainText().isEmpty());
    EXPECT_EQ(ReadFile(aside), damaged);
    EXPECT_EQ(TextOf(perMedia(a)), QStringLiteral("текст А"));

    ASSERT_TRUE(WriteFile(work("TemplateNewFile.ole"), "not a document"));
    openMedia("c.wav");
    ASSERT_EQ(messages.errors.size(), 2);
    EXPECT_TRUE(messages.errors[1].contains(work("TemplateNewFile (повреждён).ole")));
    EXPECT_TRUE(doc().toPlainText().isEmpty());
    EXPECT_FALSE(doc().isReadOnly());
}

TEST_F(DocumentsTest, LeavingTheExternalModeOffersTheSavedDocument)
{
    form().show();
    openMedia("a.wav");
    const QString b = openMedia("b.wav");
    WriteDocument(perMedia(b), QStringLiteral("сохранённый"));
    type(QStringLiteral("в окне"));

    form().NWord->trigger();
    EXPECT_FALSE(program->FormOle()->isVisible());
    EXPECT_FALSE(form().N2->menuAction()->isVisible());
    EXPECT_FALSE(form().N3->isVisible());

    messages.answers = {false};
    form().NWord->trigger();
    EXPECT_TRUE(program->FormOle()->isVisible());
    EXPECT_TRUE(form().N3->isVisible());
    EXPECT_EQ(messages.questions, QStringList({"Вопрос|Загрузить последний сохраненный документ?"}));
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("в окне"));

    form().NWord->trigger();
    messages.answers = {true};
    form().NWord->trigger();
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("сохранённый"));

    // A file without a document of its own asks nothing.
    openMedia("c.wav");
    form().NWord->trigger();
    form().NWord->trigger();
    EXPECT_EQ(messages.questions.size(), 2);
    EXPECT_TRUE(program->FormOle()->isVisible());
}

TEST_F(DocumentsTest, ShowingTheTextBringsALostWindowBackOrNamesTheMissingExternalWindow)
{
    program->FormOle()->show();
    program->FormOle()->setGeometry(5000, 300, 700, 500);
    form().N21->trigger();
    EXPECT_EQ(program->FormOle()->geometry(), QRect(100, 400, 800, 600));
    program->FormOle()->setGeometry(300, 200, 700, 500);
    form().SpeedButton7->click();
    EXPECT_EQ(program->FormOle()->geometry(), QRect(300, 200, 700, 500));

    form().NWord->trigger();
    form().N21->trigger();
    EXPECT_EQ(messages.errors, QStringList({"Вы не указали еще окно к текстом!|Включите флаг управления по ESC и "
                                            "нажатием на эту \t\tклавишу в текстовом окне вы и укажите программе "
                                            "нужное окно."}));
    desktop.addWindow(77, 78);
    desktop.minimized.insert(77);
    program->injection().TextWindow = 77;
    form().N21->trigger();
    EXPECT_EQ(desktop.foreground(), 77u);
    EXPECT_FALSE(desktop.isMinimized(77));
    EXPECT_EQ(messages.errors.size(), 1);
}

TEST_F(DocumentsTest, RestoreAndReopenCommands)
{
    form().show();
    const QString a = openMedia("a.wav");
    type(QStringLiteral("до восстановления"));
    WriteDocument(work("AvtoSaveFileTimer3.ole"), QStringLiteral("копия"));

    messages.filesToOpen = {work("AvtoSaveFileTimer3.ole")};
    form().N3->trigger();
    EXPECT_EQ(messages.dialogs.last(), QStringLiteral("Открыть файл с текстом|") + work("AvtoSaveFile.ole"));
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("копия"));
    EXPECT_FALSE(doc().isReadOnly());

    // A damaged file the user picks is reported and left where it is.
    ASSERT_TRUE(WriteFile(work("broken.ole"), "not a document"));
    messages.filesToOpen = {work("broken.ole")};
    form().N3->trigger();
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].startsWith(QStringLiteral("Ошибка документа|Файл документа повреждён")));
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("копия"));
    EXPECT_TRUE(QFile::exists(work("broken.ole")));

    type(QStringLiteral(" и правка"));
    form().MSWORD1->trigger();
    for (const char *name : {"TMPWORD.OLE", "AvtoSaveFile.ole"})
        EXPECT_EQ(TextOf(work(name)), QStringLiteral("копия и правка")) << name;
    EXPECT_EQ(TextOf(perMedia(a)), QStringLiteral("копия и правка"));
    EXPECT_EQ(form().OleContainer2->toPlainText(), QStringLiteral("копия и правка"));
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("копия и правка"));
    EXPECT_EQ(doc().state(), DocumentContainer::State::ActiveInPlace);
}

// After an end without the shutdown saves the autosave is newer than the last document, and
// the restore offers it; after a normal end it offers the last document.
TEST_F(DocumentsTest, RestoreOffersTheAutosaveAfterAnEndWithoutShutdownSaves)
{
    form().show();
    openMedia("a.wav");
    type(QStringLiteral("сохранено"));
    form().close();
    program.reset();
    EXPECT_EQ(TextDocuments::RestoreOffer(), work("AvtoSaveFile.ole"));

    start();
    type(QStringLiteral(" и после"));
    clock.advance(180000);
    EXPECT_EQ(TextDocuments::RestoreOffer(), work("AvtoSaveFileTimer.ole"));
    messages.filesToOpen = {TextDocuments::RestoreOffer()};
    doc().setPlainText(QStringLiteral("другое"));
    form().N3->trigger();
    EXPECT_EQ(doc().toPlainText(), QStringLiteral("сохранено и после"));
}

TEST_F(DocumentsTest, TheEditorsFontAndSpellCheckingAreKeptBetweenRuns)
{
    const QFont initial = doc().document()->defaultFont();
    EXPECT_EQ(initial.pointSize(), 14); // readable from the first start
    SetEditorFont(&doc(), QFont(QStringLiteral("DejaVu Sans"), 17));
    program->FormOle()->SpellingOn->setChecked(false);
    form().show();
    form().close();
    program.reset();

    start();
    EXPECT_EQ(doc().document()->defaultFont().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(doc().document()->defaultFont().pointSize(), 17);
    EXPECT_FALSE(program->FormOle()->SpellingOn->isChecked());
}
