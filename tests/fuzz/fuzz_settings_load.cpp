// libFuzzer target: the settings files as a damaged or hand-edited file reaches them. The input
// is written as the open recording's settings file (AvtoSave/<key>.ini) and loaded into the
// windows' controls; the bookmark table must keep its rules, the file written back by the load
// must keep every value, the save must keep every key of the file, and what the program wrote
// must load back to the same state, so that its next save writes the same file. The same
// bytes are then loaded as setting.ini, with the same checks on its save.
//
// The whole program runs on the test doubles (virtual clock, fake players, recorded message
// boxes that answer every dialog at once), on Qt's offscreen platform.

#include "app/MediaOpener.h"
#include "app/MediaSettingsFile.h"
#include "app/Program.h"
#include "base/MediaTime.h"
#include "doubles/FakeDesktop.h"
#include "doubles/FakeEngines.h"
#include "doubles/FakeScrollLock.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordingMpcTransport.h"
#include "doubles/VirtualClock.h"
#include "marks/TForm2.h"
#include "persist/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace {

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

QByteArray Read(const QString &path)
{
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly), "the saved file is there");
    return file.readAll();
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

// The program with its doubles, made once: its start takes far longer than a load.
struct Fixture {
    Fixture()
    {
        qInstallMessageHandler(Quiet);
        // Removed at the process's end.
        static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/fuzz_settings_load-XXXXXX"));
        home = &folder;
        Check(home->isValid(), "a temporary folder");
        qputenv("STENOVA_HOME", home->path().toUtf8());
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_settings_load";
        static char *argv[] = {name, nullptr};
        // Never destroyed, nor the program: its end would write the settings once more.
        new QApplication(argc, argv);
        QApplication::setApplicationName(QStringLiteral("stenova"));
        std::setlocale(LC_NUMERIC, "C");

        media = home->filePath(QStringLiteral("talk.wav"));
        Write(media, "RIFF");
        mci.lengths[media] = wmp.lengths[media] = 60000;
        // The command line names the recording: a setting.ini without a last file opens no
        // dialog.
        program = new Program(Platform{clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
                              {QStringLiteral("stenova"), media});
        program->session().PendingMediaPath = media;
        program->opener().OpenMediaFile();
        Check(program->session().CurrentMediaPath == media, "the recording opens");
    }

    // The settings files of recordings, so that each input starts from none.
    void forgetMediaSettings()
    {
        QDir work(WorkFolder());
        for (const QString &name : work.entryList({QStringLiteral("*.ini")}, QDir::Files)) work.remove(name);
    }
    // What the doubles record.
    void forgetRecords()
    {
        messages.errors.clear();
        messages.notices.clear();
        messages.questions.clear();
        messages.dialogs.clear();
        mpc.starts.clear();
        mpc.commands.clear();
    }

    QTemporaryDir *home;
    QString media;
    VirtualClock clock;
    FakeScrollLock scrollLock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    FakeMci mci{clock};
    FakeWmp wmp{clock};
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    Program *program;
};

// hh:nn:ss, hh:nn:ss. or hh:nn:ss.zzz: the stored times the load brings to hh:nn:ss.zzz.
bool IsStoredTime(const QString &s)
{
    static const QRegularExpression form(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d(\\.|\\.\\d\\d\\d)?$"));
    return form.match(s).hasMatch();
}

// The bookmark table after a load of ini: the table's own rules, and each bookmark as stored.
void CheckBookmarks(const BookmarkTable &grid, const IniFile &ini)
{
    Check(grid.rowCount() >= 2, "the table has its header and a row");
    const bool empty = grid.rowCount() == 2 && grid.cell(BookmarkTable::Time, 1).isEmpty();
    for (int row = 1; row < grid.rowCount(); ++row) {
        // A table without a time in its only row is empty (a bookmark stored without its time
        // keeps its name and comment there, and the next save writes no bookmark).
        if (empty) continue;
        Check(grid.cell(BookmarkTable::Number, row) == QString::number(row), "rows are numbered in order");
        const auto stored = [&](int code) {
            return ini.value(QStringLiteral("BOOKMARKS"), QStringLiteral("BM%1-%2").arg(row).arg(code));
        };
        Check(grid.cell(BookmarkTable::Comment, row) == stored(2), "a comment is kept as stored");
        Check(grid.cell(BookmarkTable::Name, row) == stored(3), "a name is kept as stored");
        // A stored time is completed with zero milliseconds, its digits kept.
        const QString time = stored(1).trimmed();
        if (!IsStoredTime(time)) continue;
        const QString cell = grid.cell(BookmarkTable::Time, row);
        Check(cell.size() == 12 && cell.left(9) == time.left(8) + u'.' &&
                  cell.mid(9) == (time.size() == 12 ? time.mid(9) : QStringLiteral("000")),
              "a stored time is completed to hh:nn:ss.zzz");
    }
}

// The sections and keys of a settings file, read as IniFile reads them: lines end in CR LF, LF
// or CR and are trimmed of blanks and control characters, ";" begins a comment, "[name]" a
// section, and the key is what comes before the first "=".
std::vector<std::pair<QString, QString>> Keys(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    std::vector<std::pair<QString, QString>> keys;
    std::optional<QString> section;
    for (const QString &raw : text.split(lineEnd)) {
        const QString line = TrimControlChars(raw);
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) section = TrimControlChars(line.mid(1, line.size() - 2));
        else if (section) keys.emplace_back(*section, TrimControlChars(line.section(u'=', 0, 0)));
    }
    return keys;
}

// Keys the program does not know stay, and so do those it knows.
void CheckKeysKept(const QByteArray &input, const QByteArray &saved)
{
    IniFile ini;
    ini.parse(saved);
    for (const auto &[section, key] : Keys(input)) {
        if (ini.contains(section, key)) continue;
        const QByteArray report = '[' + section.toUtf8() + "] " + key.toUtf8() + " is gone; saved:\n" + saved + '\n';
        std::fwrite(report.constData(), 1, static_cast<size_t>(report.size()), stderr);
        Check(false, "a save keeps every key of the file");
    }
}

// A load writes the file back in the program's own format: every key keeps its value.
void CheckRewritten(const QByteArray &before, const QByteArray &after)
{
    IniFile read, rewritten;
    read.parse(before);
    rewritten.parse(after);
    for (const auto &[section, key] : Keys(before)) {
        if (rewritten.value(section, key) == read.value(section, key)) continue;
        const QByteArray report = '[' + section.toUtf8() + "] " + key.toUtf8() + " changed; read:\n" + before +
                                  "\nwritten back:\n" + after + '\n';
        std::fwrite(report.constData(), 1, static_cast<size_t>(report.size()), stderr);
        Check(false, "a load writes the file back as it read it");
    }
}

// The media settings file as loaded into the controls, checked, and saved.
QByteArray LoadAndSave(Fixture &fixture)
{
    Program &program = *fixture.program;
    const QString path = MediaSettingsFile::PathFor(fixture.media);
    const bool exists = QFileInfo(path).isFile();
    const QByteArray before = exists ? Read(path) : QByteArray();
    IniFile stored;
    stored.parse(before);
    program.mediaSettings().LoadFromINIMedia(fixture.media);
    CheckBookmarks(program.Form2()->StringGrid1, stored);
    if (exists) CheckRewritten(before, Read(path));
    Check(program.mediaSettings().SaveToINIVideo(fixture.media), "the settings file is saved");
    return Read(MediaSettingsFile::PathFor(fixture.media));
}

} // namespace

// Fontconfig keeps some of its allocations for the whole process (as in tests/lsan.supp).
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Fixture &fixture = *new Fixture;
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    // What one input makes the doubles record is freed before it ends, or every input would
    // look like a leak to the fuzzer, which then runs it again to look for one.
    const auto forget = qScopeGuard([] { fixture.forgetRecords(); });

    // The recording's settings file: its save, loaded again, saves the same file.
    fixture.forgetMediaSettings();
    const QString written = MediaSettingsFile::PathFor(fixture.media);
    Write(written, input);
    // A file that names another recording that exists is that one's: the recording gets a
    // file of its own, and the other one's is left as it is.
    const bool own = MediaSettingsFile::PathFor(fixture.media) == written;
    const QByteArray first = LoadAndSave(fixture);
    if (own) CheckKeysKept(input, first);
    else Check(Read(written) == input, "another recording's settings file is left as it is");
    const QByteArray second = LoadAndSave(fixture);
    if (first != second) {
        const QByteArray both = "first save:\n" + first + "\nsecond save:\n" + second + '\n';
        std::fwrite(both.constData(), 1, static_cast<size_t>(both.size()), stderr);
        Check(false, "a saved settings file loads to the state it was saved from");
    }

    // setting.ini: its load reopens the file it names, which is to be the recording or none
    // (a missing one is reported); any other file would be opened as a recording. Inputs that
    // end in an odd byte name the recording, so that its reopen is exercised too.
    IniFile settings;
    settings.parse(input);
    const QString last = settings.value(QStringLiteral("MAIN"), QStringLiteral("Файл:"));
    const bool reopen = size > 0 && (data[size - 1] & 1);
    if (!reopen && !last.isEmpty() && QFileInfo(last).isFile() && QFileInfo(last).absoluteFilePath() != fixture.media)
        return 0;
    fixture.forgetMediaSettings();
    Write(SettingsPath(), input);
    if (reopen) IniFile::Update(SettingsPath(), QStringLiteral("MAIN"), {{QStringLiteral("Файл:"), fixture.media}});
    Program &program = *fixture.program;
    const QByteArray read = Read(SettingsPath());
    program.interfaces().settings->LoadFromSettingsINI();
    CheckRewritten(read, Read(SettingsPath()));
    program.interfaces().settings->SaveToSettingsINI();
    const QByteArray saved = Read(SettingsPath());
    CheckKeysKept(input, saved);
    program.interfaces().settings->LoadFromSettingsINI();
    program.interfaces().settings->SaveToSettingsINI();
    const QByteArray again = Read(SettingsPath());
    if (saved != again) {
        const QByteArray both = "first save:\n" + saved + "\nsecond save:\n" + again + '\n';
        std::fwrite(both.constData(), 1, static_cast<size_t>(both.size()), stderr);
        Check(false, "a saved setting.ini loads to the state it was saved from");
    }
    // The windows the load shows or changes paint and lay out, as the program's loop would.
    QCoreApplication::processEvents();
    return 0;
}
