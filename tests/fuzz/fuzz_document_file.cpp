// libFuzzer target: the document files of the text window ("BDOC", the draw aspect and the
// storage's size as 32-bit little-endian numbers, then the document as UTF-8 HTML), read as a
// damaged or hand-made file would reach them. The input is the whole file; its storage (the
// bytes after the header, or all of them when there is no header) is then also loaded with a
// header that fits, so that every input reaches the HTML reader.
//
// Built from src/document/DocumentContainer.cpp, src/platform/BackgroundWriter.cpp,
// src/platform/Logging.cpp and QtWidgets, on Qt's offscreen platform.

#include "document/DocumentContainer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QtEndian>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr qsizetype HeaderSize = 12;

// Names the property that broke, so that findings can be told apart, and stops.
void Check(bool holds, const char *property)
{
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", property);
    std::abort();
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
          "the test file is written");
}

// Qt's and the program's warnings about a damaged input (an unknown colour, a value that is no
// number) are expected; printed for every input they would only fill the log.
void Quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

struct Fixture {
    Fixture()
    {
        qInstallMessageHandler(Quiet);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_document_file";
        static char *argv[] = {name, nullptr};
        // Never destroyed: the widgets would outlive it at the process's end.
        new QApplication(argc, argv);
        // Removed at the process's end.
        static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/fuzz_document_file-XXXXXX"));
        dir = &folder;
        Check(dir->isValid(), "a temporary folder");
        editor = new DocumentContainer;
    }
    QTemporaryDir *dir;
    DocumentContainer *editor;
};

// The storage of the bytes as a file, or nothing when they are damaged; checks what Unpack
// promises either way.
std::optional<QByteArray> CheckUnpack(const QByteArray &file)
{
    QByteArray storage;
    try {
        storage = DocumentFile::Unpack(file, QStringLiteral("fuzz.ole"));
    } catch (const DocumentError &e) {
        Check(e.damaged, "a rejected file is reported damaged");
        Check(!e.message.isEmpty(), "a rejected file is reported with a message");
        return std::nullopt;
    }
    Check(file.size() >= HeaderSize && file.startsWith("BDOC"), "only a file with the whole header is read");
    Check(storage.size() <= file.size() - HeaderSize, "the storage is no longer than the file after the header");
    // The storage is exactly what the header says it is.
    const quint32 size = qFromLittleEndian<quint32>(file.constData() + 8);
    Check(static_cast<quint64>(storage.size()) == size, "the storage has the size in the header");
    Check(storage == file.mid(HeaderSize, storage.size()), "the storage follows the header");
    // A file packed from it reads back the same storage.
    const quint32 aspect = qFromLittleEndian<quint32>(file.constData() + 4);
    Check(DocumentFile::Unpack(DocumentFile::Pack(storage, aspect), QStringLiteral("packed.ole")) == storage,
          "a packed storage unpacks to itself");
    return storage;
}

// One feature of a document's shape seen; out of line, so that each place it is called from
// stays a branch of its own.
__attribute__((noinline)) void Saw(int &count) { ++count; }

// Walks the loaded document's blocks, fragments and frames, so that a document of a new shape
// counts as a new input: Qt's HTML reader carries no coverage of its own.
int Walk(const QTextDocument &document)
{
    int features = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.textList()) Saw(features);
        if (block.blockFormat().alignment() & (Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify)) Saw(features);
        if (block.blockFormat().indent() > 0) Saw(features);
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.fontWeight() > QFont::Normal) Saw(features);
            if (format.fontItalic()) Saw(features);
            if (format.fontUnderline()) Saw(features);
            if (format.fontStrikeOut()) Saw(features);
            if (format.isAnchor()) Saw(features);
            if (format.isImageFormat()) Saw(features);
            if (format.verticalAlignment() != QTextCharFormat::AlignNormal) Saw(features);
            if (format.hasProperty(QTextFormat::ForegroundBrush)) Saw(features);
        }
    }
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (const auto *table = qobject_cast<QTextTable *>(frame))
            for (int row = 0; row < table->rows(); ++row) Saw(features);
        else Saw(features);
    }
    return features;
}

// Loads a file whose storage is known to be whole: the document is replaced, and what the
// program then writes of it reads back as the same text.
void CheckLoaded(DocumentContainer &editor, const QString &path)
{
    Check(editor.state() == DocumentContainer::State::Loaded, "a loaded document is in the loaded state");
    Check(!editor.document()->isModified(), "a loaded document is unmodified");
    (void)Walk(*editor.document());
    const QString text = editor.toPlainText();
    const QByteArray saved = editor.fileBytes();
    Check(CheckUnpack(saved).has_value(), "a saved document is a whole document file");
    Write(path, saved);
    try {
        editor.LoadFromFile(path);
    } catch (const DocumentError &) {
        Check(false, "a saved document loads again");
    }
    // Qt's reader may drop an empty paragraph of a malformed file (documents nested in one) at
    // its first save: every line of text stays, and from then on a save reads back exactly.
    const auto lines = [](const QString &t) { return t.split(u'\n', Qt::SkipEmptyParts); };
    const QString again = editor.toPlainText();
    if (again != text) {
        Write(path, editor.fileBytes());
        editor.LoadFromFile(path);
        if (lines(again) == lines(text) && editor.toPlainText() == again) return;
        std::fprintf(stderr, "loaded:\n%s\nsaved and loaded again:\n%s\n", text.toUtf8().toHex(' ').constData(),
                     again.toUtf8().toHex(' ').constData());
        Check(false, "a saved document reads back as the same text");
    }
}

} // namespace

// Fontconfig keeps some of its allocations for the whole process (as in tests/lsan.supp).
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Fixture &fixture = *new Fixture;
    DocumentContainer &editor = *fixture.editor;
    const QByteArray file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<QByteArray> storage = CheckUnpack(file);
    const QString input = fixture.dir->filePath(QStringLiteral("input.ole"));
    const QString saved = fixture.dir->filePath(QStringLiteral("saved.ole"));

    // The file as it is.
    Write(input, file);
    const QString before = editor.toHtml();
    try {
        editor.LoadFromFile(input);
        Check(storage.has_value(), "a damaged file is not loaded");
        CheckLoaded(editor, saved);
    } catch (const DocumentError &e) {
        // A file that cannot be read leaves the document as it was.
        Check(!storage && e.damaged, "a load fails exactly for a damaged file");
        Check(editor.toHtml() == before, "a failed load leaves the document as it was");
    }

    // Its storage with a header that fits.
    const QByteArray html = file.startsWith("BDOC") ? file.mid(HeaderSize) : file;
    Write(input, DocumentFile::Pack(html));
    try {
        editor.LoadFromFile(input);
    } catch (const DocumentError &) {
        Check(false, "a packed storage loads");
    }
    CheckLoaded(editor, saved);
    return 0;
}
