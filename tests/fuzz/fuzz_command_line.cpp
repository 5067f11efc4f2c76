// libFuzzer target: the playback switches of the command line. The input's NUL bytes separate
// the arguments; the first argument is the media file.
// Build: clang++ -std=c++20 -fsanitize=fuzzer,address,undefined -fPIC -Isrc $(pkg-config --cflags Qt6Core)
//        tests/fuzz/fuzz_command_line.cpp src/app/CommandLine.cpp src/marks/IntervalSyntax.cpp src/base/MediaTime.cpp
//        $(pkg-config --libs Qt6Core)

#include "app/CommandLine.h"
#include "base/MediaTime.h"
#include "marks/IntervalSyntax.h"

#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

void Check(bool invariant)
{
    if (!invariant) std::abort();
}

// The argument after the last occurrence of a switch (from the second argument on); none when
// the switch is missing or the last argument.
std::optional<QString> LastValue(const QStringList &args, const QString &name)
{
    std::optional<QString> value;
    for (qsizetype i = 1; i < args.size(); ++i)
        if (args[i] == name) value = i + 1 < args.size() ? std::optional<QString>(args[i + 1]) : std::nullopt;
    return value;
}

bool Same(const CommandLineSwitches &a, const CommandLineSwitches &b)
{
    return a.loopFile == b.loopFile && a.pauseAtLoopStart == b.pauseAtLoopStart &&
           a.skipHashBookmarks == b.skipHashBookmarks && a.bookmarkCount == b.bookmarkCount && a.abCount == b.abCount &&
           a.startTimeText == b.startTimeText && a.intervalListText == b.intervalListText;
}

// Plain decimal digits with an optional sign, nothing else.
bool PlainInteger(const QString &s)
{
    qsizetype i = s.startsWith(u'+') || s.startsWith(u'-') ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i)
        if (s[i] < u'0' || s[i] > u'9') return false;
    return true;
}

// A count is the value of the switch's last occurrence read as a decimal integer, else -1.
void CheckCount(const QStringList &args, const char *name, int count)
{
    const std::optional<QString> value = LastValue(args, QLatin1String(name));
    if (!value) {
        Check(count == -1);
        return;
    }
    bool ok = false;
    const int read = value->trimmed().toInt(&ok);
    if (PlainInteger(*value) && ok) Check(count == read);
    else if (count != -1) Check(ok && count == read);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList args;
    for (const QByteArray &piece :
         QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).split('\0'))
        args << QString::fromUtf8(piece);
    const CommandLineSwitches sw = ParseSwitches(args);

    // The media file is never a switch, and the result depends on the arguments alone.
    QStringList renamed = args;
    renamed[0] = QStringLiteral("/l");
    Check(Same(ParseSwitches(renamed), sw));
    Check(Same(ParseSwitches(args), sw));

    const QStringList rest = args.mid(1);
    Check(sw.loopFile == rest.contains(QStringLiteral("/l")));
    Check(sw.pauseAtLoopStart == rest.contains(QStringLiteral("/p")));
    Check(sw.skipHashBookmarks == rest.contains(QStringLiteral("/b#")));
    CheckCount(args, "/b", sw.bookmarkCount);
    CheckCount(args, "/r", sw.abCount);

    // "/ab": the value of its last occurrence that has one.
    std::optional<QString> list;
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QStringLiteral("/ab")) list = args[i + 1];
    Check(sw.intervalListText == list);
    if (list) (void)CutIntervalList(*list);

    // "/t": a value with ":" becomes a time text; a whole number of seconds too.
    std::optional<QString> start;
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QStringLiteral("/t")) start = args[i + 1];
    Check(sw.startTimeText.has_value() == start.has_value());
    if (start) {
        bool whole = false;
        const int seconds = start->toInt(&whole);
        if (start->contains(u':')) {
            Check(sw.startTimeText->size() == 12);
            Check(TimeTextToMs(*sw.startTimeText) == TimeTextToMs(*start));
        } else if (PlainInteger(*start) && whole && seconds >= 0) {
            Check(*sw.startTimeText == MsToTimeText(static_cast<std::int64_t>(seconds) * 1000));
        } else {
            // Kept as given, unless it reads as whole seconds after all.
            const int trimmed = start->trimmed().toInt(&whole);
            Check(*sw.startTimeText == *start ||
                  (whole && *sw.startTimeText == MsToTimeText(static_cast<std::int64_t>(trimmed) * 1000)));
        }
    }
    return 0;
}
